#include "platform/sim/MediaTypes.h"

#include <cctype>

#include "platform/sim/SimPc.h"

namespace sim {
namespace {

struct NamedType {
    const char* name;
    MEDIA_TYPE type;
};

const NamedType kMediaTypeNames[] = {
    {"Unknown", Unknown},           {"F5_1Pt2_512", F5_1Pt2_512},
    {"F3_1Pt44_512", F3_1Pt44_512}, {"F3_2Pt88_512", F3_2Pt88_512},
    {"F3_20Pt8_512", F3_20Pt8_512}, {"F3_720_512", F3_720_512},
    {"F5_360_512", F5_360_512},     {"F5_320_512", F5_320_512},
    {"F5_320_1024", F5_320_1024},   {"F5_180_512", F5_180_512},
    {"F5_160_512", F5_160_512},     {"RemovableMedia", RemovableMedia},
    {"FixedMedia", FixedMedia},
};

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

DISK_GEOMETRY MakeGeometry(MEDIA_TYPE type, LONGLONG cylinders, DWORD heads,
                           DWORD sectorsPerTrack, DWORD bytesPerSector)
{
    DISK_GEOMETRY g{};
    g.Cylinders.QuadPart = cylinders;
    g.MediaType = type;
    g.TracksPerCylinder = heads;
    g.SectorsPerTrack = sectorsPerTrack;
    g.BytesPerSector = bytesPerSector;
    return g;
}

DISK_GEOMETRY Geometry720K() { return MakeGeometry(F3_720_512, 80, 2, 9, 512); }
DISK_GEOMETRY Geometry1440K() { return MakeGeometry(F3_1Pt44_512, 80, 2, 18, 512); }

bool MediaTypeByName(const std::string& name, DISK_GEOMETRY* out)
{
    const std::string n = Upper(name);
    if (n == "360K") *out = MakeGeometry(F5_360_512, 40, 2, 9, 512);
    else if (n == "1.2M") *out = MakeGeometry(F5_1Pt2_512, 80, 2, 15, 512);
    else if (n == "720K") *out = Geometry720K();
    else if (n == "1.44M") *out = Geometry1440K();
    else if (n == "2.88M") *out = MakeGeometry(F3_2Pt88_512, 80, 2, 36, 512);
    else return false;
    return true;
}

bool MediaTypeCode(const std::string& word, MEDIA_TYPE* out)
{
    for (const NamedType& t : kMediaTypeNames) {
        if (word == t.name) {
            *out = t.type;
            return true;
        }
    }
    // Numbers only within the enumerators above: any other value is not a MEDIA_TYPE.
    if (word.empty() || word.size() > 2) return false;
    int value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value > FixedMedia) return false;
    *out = static_cast<MEDIA_TYPE>(value);
    return true;
}

std::uint64_t BytesPerCylinder(const DISK_GEOMETRY& g)
{
    return std::uint64_t(g.TracksPerCylinder) * g.SectorsPerTrack * g.BytesPerSector;
}

std::uint64_t Capacity(const DISK_GEOMETRY& g)
{
    return g.Cylinders.QuadPart < 0 ? 0 : std::uint64_t(g.Cylinders.QuadPart) * BytesPerCylinder(g);
}

}  // namespace sim
