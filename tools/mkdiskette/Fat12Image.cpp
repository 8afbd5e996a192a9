#include "Fat12Image.h"

#include <cstring>
#include <stdexcept>

namespace mkdiskette {
namespace {

constexpr unsigned kEntrySize = 32;
constexpr std::uint8_t kAttrReadOnly = 0x01;
constexpr std::uint8_t kAttrVolumeLabel = 0x08;
constexpr std::uint8_t kAttrArchive = 0x20;
constexpr unsigned kEndOfChain = 0xFFF;

unsigned Get16(const std::vector<std::uint8_t>& b, unsigned at) { return b[at] | (b[at + 1] << 8); }

void Put16(std::uint8_t* p, unsigned v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v)
{
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

void WriteEntry(std::uint8_t* e, const ShortName& name, std::uint8_t attr, unsigned cluster,
                std::uint32_t size)
{
    std::memcpy(e, name.data(), name.size());
    e[11] = attr;
    // Creation and last-access stamps get the same fixed value as the write stamp, so no
    // field of the directory depends on when or where the image was built.
    Put16(e + 14, kDosTime);
    Put16(e + 16, kDosDate);
    Put16(e + 18, kDosDate);
    Put16(e + 22, kDosTime);
    Put16(e + 24, kDosDate);
    Put16(e + 26, cluster);
    Put32(e + 28, size);
}

// The BPB fields that decide where the loader looks; a mismatch would make it read the
// wrong sectors, so it is caught here at build time rather than at boot.
void CheckBootSector(const std::vector<std::uint8_t>& b)
{
    using G = Geometry;
    if (b.size() != G::kBytesPerSector) throw std::runtime_error("boot sector is not 512 bytes");
    if (b[510] != 0x55 || b[511] != 0xAA) throw std::runtime_error("boot sector lacks the 55 AA signature");
    struct Field { unsigned offset, width, expected; const char* name; };
    const Field fields[] = {
        {11, 2, G::kBytesPerSector, "bytes per sector"},
        {13, 1, 1, "sectors per cluster"},
        {14, 2, G::kReservedSectors, "reserved sectors"},
        {16, 1, G::kFatCount, "FAT count"},
        {17, 2, G::kRootEntries, "root entries"},
        {19, 2, G::kTotalSectors, "total sectors"},
        {21, 1, G::kMedia, "media descriptor"},
        {22, 2, G::kSectorsPerFat, "sectors per FAT"},
    };
    for (const Field& f : fields) {
        const unsigned got = f.width == 1 ? b[f.offset] : Get16(b, f.offset);
        if (got != f.expected)
            throw std::runtime_error(std::string("boot sector BPB disagrees with the layout: ") + f.name);
    }
}

}  // namespace

// Each FAT12 entry is 12 bits; two entries share three bytes, the odd one in the high
// nibbles.
void SetFatEntry(std::uint8_t* fat, unsigned cluster, unsigned value)
{
    std::uint8_t* p = fat + cluster * 3 / 2;
    if (cluster & 1) {
        p[0] = static_cast<std::uint8_t>((p[0] & 0x0F) | ((value << 4) & 0xF0));
        p[1] = static_cast<std::uint8_t>(value >> 4);
    } else {
        p[0] = static_cast<std::uint8_t>(value);
        p[1] = static_cast<std::uint8_t>((p[1] & 0xF0) | ((value >> 8) & 0x0F));
    }
}

Fat12Image::Fat12Image(std::vector<std::uint8_t> bootSector, const std::string& volumeLabel)
    : boot_(std::move(bootSector)), label_(ToVolumeLabel(volumeLabel))
{
}

void Fat12Image::AddFile(const std::string& name, std::vector<std::uint8_t> contents)
{
    const ShortName shortName = ToShortName(name);
    for (const File& f : files_)
        if (f.name == shortName) throw std::invalid_argument("file added twice: \"" + name + "\"");
    files_.push_back(File{shortName, std::move(contents)});
}

std::vector<std::uint8_t> Fat12Image::Build() const
{
    using G = Geometry;
    CheckBootSector(boot_);
    if (files_.size() + 1 > G::kRootEntries) throw std::runtime_error("too many files for the root directory");

    std::vector<std::uint8_t> image(G::kImageBytes, 0);
    std::memcpy(image.data(), boot_.data(), boot_.size());

    std::vector<std::uint8_t> fat(G::kSectorsPerFat * G::kBytesPerSector, 0);
    SetFatEntry(fat.data(), 0, 0xF00 | G::kMedia);
    SetFatEntry(fat.data(), 1, kEndOfChain);

    std::uint8_t* root = image.data() + G::kFirstRootSector * G::kBytesPerSector;
    WriteEntry(root, label_, kAttrVolumeLabel, 0, 0);

    unsigned nextCluster = 2;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const File& f = files_[i];
        const unsigned clusters = (f.contents.size() + G::kBytesPerSector - 1) / G::kBytesPerSector;
        if (nextCluster - 2 + clusters > G::kDataClusters)
            throw std::runtime_error("files do not fit on the diskette");
        // An empty file owns no cluster: FAT says so with a first cluster of 0.
        const unsigned first = clusters ? nextCluster : 0;
        for (unsigned c = 0; c < clusters; ++c) {
            const unsigned cluster = nextCluster + c;
            SetFatEntry(fat.data(), cluster, c + 1 == clusters ? kEndOfChain : cluster + 1);
        }
        if (!f.contents.empty())
            std::memcpy(image.data() + (G::kFirstDataSector + nextCluster - 2) * G::kBytesPerSector,
                        f.contents.data(), f.contents.size());
        WriteEntry(root + (i + 1) * kEntrySize, f.name, kAttrReadOnly | kAttrArchive, first,
                   static_cast<std::uint32_t>(f.contents.size()));
        nextCluster += clusters;
    }

    for (unsigned copy = 0; copy < G::kFatCount; ++copy)
        std::memcpy(image.data() + (G::kReservedSectors + copy * G::kSectorsPerFat) * G::kBytesPerSector,
                    fat.data(), fat.size());
    return image;
}

}  // namespace mkdiskette
