// Lays out a 1.44 MB FAT12 diskette: boot sector, two FATs, a 224-entry root directory
// with a volume label, and the files in the order they were added, each in one run of
// clusters (the boot sector's loader copes with fragments, but contiguous files make a
// real drive read them in one sweep).
//
// Nothing here reads a clock or the environment: the same inputs always give the same
// bytes, which is what lets the image be carried as a resource and compared across builds.
#ifndef VFLASH_TOOLS_MKDISKETTE_FAT12IMAGE_H
#define VFLASH_TOOLS_MKDISKETTE_FAT12IMAGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "ShortName.h"

namespace mkdiskette {

// The one geometry this tool writes. The boot sector's BPB must say the same; Build()
// refuses a boot sector that disagrees, because the loader trusts its BPB.
struct Geometry {
    static constexpr unsigned kBytesPerSector = 512;
    static constexpr unsigned kTotalSectors = 2880;
    static constexpr unsigned kReservedSectors = 1;
    static constexpr unsigned kFatCount = 2;
    static constexpr unsigned kSectorsPerFat = 9;
    static constexpr unsigned kRootEntries = 224;
    static constexpr unsigned kRootSectors = kRootEntries * 32 / kBytesPerSector;
    static constexpr unsigned kFirstRootSector = kReservedSectors + kFatCount * kSectorsPerFat;
    static constexpr unsigned kFirstDataSector = kFirstRootSector + kRootSectors;
    static constexpr unsigned kDataClusters = kTotalSectors - kFirstDataSector;  // 1 sector each
    static constexpr std::uint8_t kMedia = 0xF0;
    static constexpr unsigned kImageBytes = kTotalSectors * kBytesPerSector;
};

// The time stamp every directory entry carries: 2002-01-01 12:00:00, when the utility's
// version 0.1 was current. Fixed so that builds are byte-identical.
constexpr std::uint16_t kDosDate = ((2002 - 1980) << 9) | (1 << 5) | 1;
constexpr std::uint16_t kDosTime = (12 << 11) | (0 << 5) | 0;

// Sets entry `cluster` of the FAT that starts at `fat` to `value` (12 bits).
void SetFatEntry(std::uint8_t* fat, unsigned cluster, unsigned value);

class Fat12Image {
public:
    // `bootSector` is exactly one sector ending in 55 AA, BPB included.
    Fat12Image(std::vector<std::uint8_t> bootSector, const std::string& volumeLabel);

    // Files appear in the root directory in the order they are added. Throws
    // std::invalid_argument for a bad or repeated name.
    void AddFile(const std::string& name, std::vector<std::uint8_t> contents);

    // Throws std::runtime_error when the boot sector disagrees with Geometry or the
    // files do not fit.
    std::vector<std::uint8_t> Build() const;

private:
    struct File {
        ShortName name;
        std::vector<std::uint8_t> contents;
    };
    std::vector<std::uint8_t> boot_;
    ShortName label_;
    std::vector<File> files_;
};

}  // namespace mkdiskette

#endif
