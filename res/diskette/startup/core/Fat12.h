// Reading files from the root directory of the FAT12 boot diskette.
#ifndef VFLASH_STARTUP_CORE_FAT12_H
#define VFLASH_STARTUP_CORE_FAT12_H

#include <stdint.h>

#include "Hardware.h"

namespace fat12 {

struct File {
    uint16_t firstCluster;
    uint32_t size;
};

enum class Result {
    kOk,
    kNotFound,
    kReadError,    // the diskette drive reported an error
    kDamaged,      // a BPB or a cluster chain that cannot be right
    kTooLarge,     // the file does not fit the memory given
};

class Visitor {
public:
    virtual void Entry(const char* name) = 0;  // 11-character directory form

protected:
    ~Visitor() = default;
};

class Volume {
public:
    // FAT buffer size: 12 sectors covers the 9 of a 1.44 MB diskette and the 2.88 MB
    // format's as well; anything larger is not one of our diskettes.
    static const uint16_t kMaxFatSectors = 12;
    // Contiguous clusters are read in runs of up to this many sectors (one track of a
    // 1.44 MB diskette): a real drive then reads a track per revolution instead of a
    // sector per revolution.
    static const uint16_t kRunSectors = 18;

    explicit Volume(hw::Diskette& disk) : disk_(disk) {}

    // Reads the BPB and the first FAT.
    Result Mount();

    // `name` is the 11-character directory form, e.g. "QN      FW ".
    Result Find(const char* name, File* file);

    // Calls `visit` for every file in the root directory, in directory order.
    Result List(Visitor& visit);

    // Loads the whole file to `memory` at offset 0.
    Result Load(const File& file, hw::Memory& memory);

private:
    uint16_t Next(uint16_t cluster) const;
    bool IsData(uint16_t cluster) const { return cluster >= 2 && cluster < clusterLimit_; }

    hw::Diskette& disk_;
    uint16_t sectorsPerCluster_ = 0;
    uint16_t rootSector_ = 0;
    uint16_t rootSectors_ = 0;
    uint16_t rootEntries_ = 0;
    uint16_t dataSector_ = 0;
    uint16_t clusterLimit_ = 0;  // one past the last data cluster
    uint8_t fat_[kMaxFatSectors * hw::Diskette::kSectorSize];
    uint8_t run_[kRunSectors * hw::Diskette::kSectorSize];
};

}  // namespace fat12

#endif
