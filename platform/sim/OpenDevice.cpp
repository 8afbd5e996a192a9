#include <cctype>

#include "platform/sim/Devices.h"

namespace sim {
namespace detail {
namespace {

// Windows compares device names without regard to case.
bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

const char kDevicePrefix[] = "\\\\.\\";

// The drive number in "\\.\PhysicalDriveN", or -1.
int DriveNumberOf(const std::string& path)
{
    const std::string stem = std::string(kDevicePrefix) + "PhysicalDrive";
    if (path.size() != stem.size() + 1 || !SameText(path.substr(0, stem.size()), stem))
        return -1;
    const char digit = path.back();
    return digit >= '0' && digit <= '3' ? digit - '0' : -1;
}

bool IsDisketteVolume(const std::string& path)
{
    return SameText(path, std::string(kDevicePrefix) + "A:");
}

}  // namespace

std::string DeviceNameOf(const std::string& path)
{
    const int n = DriveNumberOf(path);
    if (n >= 0) return "PhysicalDrive" + std::to_string(n);
    return IsDisketteVolume(path) ? "A:" : "";
}

namespace {

std::uint64_t Refuse(DWORD error)
{
    Fail(error);
    return 0;
}

}  // namespace

std::uint64_t OpenDevice(Machine* m, const std::string& path, DWORD access)
{
    Handle h;
    h.access = access;
    h.device = DeviceNameOf(path);
    const int n = DriveNumberOf(path);
    if (n >= 0) {
        const DriveState state = m->scenario.drives[n].state;
        if (state == DriveState::Absent) return Refuse(ERROR_FILE_NOT_FOUND);
        if (state == DriveState::OpenRefused) return Refuse(ERROR_ACCESS_DENIED);
        h.kind = Kind::Drive;
        h.drive = n;
    } else if (IsDisketteVolume(path)) {
        // Without a diskette in the drive the volume still opens; its requests then fail.
        if (!m->scenario.a.drivePresent) return Refuse(ERROR_FILE_NOT_FOUND);
        h.kind = Kind::Volume;
    } else {
        return Refuse(ERROR_FILE_NOT_FOUND);
    }
    const std::uint64_t key = NewHandle();
    m->handles[key] = h;
    return key;
}

}  // namespace detail
}  // namespace sim
