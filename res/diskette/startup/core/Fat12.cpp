#include "Fat12.h"

namespace fat12 {
namespace {

const uint16_t kSector = hw::Diskette::kSectorSize;
const unsigned kEntrySize = 32;
const uint8_t kAttrVolumeOrDirectory = 0x18;
const uint16_t kEndOfChain = 0xFF8;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

Result Volume::Mount()
{
    uint8_t* b = run_;
    if (!disk_.Read(0, 1, b)) return Result::kReadError;
    const uint16_t bytesPerSector = Get16(b + 11);
    sectorsPerCluster_ = b[13];
    const uint16_t reserved = Get16(b + 14);
    const uint8_t fats = b[16];
    rootEntries_ = Get16(b + 17);
    const uint16_t total = Get16(b + 19);
    const uint16_t sectorsPerFat = Get16(b + 22);
    if (bytesPerSector != kSector || sectorsPerCluster_ == 0 || sectorsPerCluster_ > kRunSectors || reserved == 0 ||
        fats == 0 || sectorsPerFat == 0 || sectorsPerFat > kMaxFatSectors || rootEntries_ == 0 ||
        rootEntries_ % (kSector / kEntrySize))
        return Result::kDamaged;
    rootSector_ = static_cast<uint16_t>(reserved + fats * sectorsPerFat);
    rootSectors_ = static_cast<uint16_t>(rootEntries_ / (kSector / kEntrySize));
    dataSector_ = static_cast<uint16_t>(rootSector_ + rootSectors_);
    if (total <= dataSector_) return Result::kDamaged;
    const uint32_t clusters = (total - dataSector_) / sectorsPerCluster_;
    // A FAT12 table addresses at most 4084 clusters, and ours must hold all of them.
    if (clusters > 4084 || (clusters + 2) * 3 / 2 > static_cast<uint32_t>(sectorsPerFat) * kSector)
        return Result::kDamaged;
    clusterLimit_ = static_cast<uint16_t>(clusters + 2);
    return disk_.Read(reserved, sectorsPerFat, fat_) ? Result::kOk : Result::kReadError;
}

Result Volume::Find(const char* name, File* file)
{
    for (uint16_t s = 0; s < rootSectors_; ++s) {
        if (!disk_.Read(rootSector_ + s, 1, run_)) return Result::kReadError;
        for (unsigned e = 0; e < kSector; e += kEntrySize) {
            const uint8_t* entry = run_ + e;
            if (entry[0] == 0) return Result::kNotFound;  // never-used entry: the rest is empty
            if (entry[11] & kAttrVolumeOrDirectory) continue;
            bool same = true;
            for (unsigned i = 0; i < 11 && same; ++i) same = entry[i] == static_cast<uint8_t>(name[i]);
            if (!same) continue;
            file->firstCluster = Get16(entry + 26);
            file->size = Get16(entry + 28) | (static_cast<uint32_t>(Get16(entry + 30)) << 16);
            return Result::kOk;
        }
    }
    return Result::kNotFound;
}

Result Volume::List(Visitor& visit)
{
    for (uint16_t s = 0; s < rootSectors_; ++s) {
        if (!disk_.Read(rootSector_ + s, 1, run_)) return Result::kReadError;
        for (unsigned e = 0; e < kSector; e += kEntrySize) {
            const uint8_t* entry = run_ + e;
            if (entry[0] == 0) return Result::kOk;
            if (entry[0] == 0xE5 || (entry[11] & kAttrVolumeOrDirectory)) continue;  // deleted, label
            char name[11];
            for (unsigned i = 0; i < 11; ++i) name[i] = static_cast<char>(entry[i]);
            visit.Entry(name);
        }
    }
    return Result::kOk;
}

uint16_t Volume::Next(uint16_t cluster) const
{
    const uint16_t v = Get16(fat_ + cluster * 3 / 2);
    return (cluster & 1) ? static_cast<uint16_t>(v >> 4) : static_cast<uint16_t>(v & 0x0FFF);
}

Result Volume::Load(const File& file, hw::Memory& memory)
{
    if (!sectorsPerCluster_) return Result::kDamaged;  // not mounted
    if (file.size > memory.Size()) return Result::kTooLarge;
    const uint32_t clusterBytes = static_cast<uint32_t>(sectorsPerCluster_) * kSector;
    uint32_t clustersLeft = (file.size + clusterBytes - 1) / clusterBytes;
    uint16_t cluster = file.firstCluster;
    uint32_t loaded = 0;
    while (clustersLeft) {
        // A run of neighbouring clusters, as long as the buffer takes. The chain is walked
        // exactly as far as the size says, so a loop in a damaged FAT cannot keep us here.
        if (!IsData(cluster)) return Result::kDamaged;
        const uint16_t first = cluster;
        uint16_t runClusters = 1;
        --clustersLeft;
        uint16_t next = Next(cluster);
        while (clustersLeft && next == cluster + 1 && IsData(next) &&
               (runClusters + 1) * sectorsPerCluster_ <= kRunSectors) {
            cluster = next;
            ++runClusters;
            --clustersLeft;
            next = Next(cluster);
        }
        if (!clustersLeft && next < kEndOfChain) return Result::kDamaged;  // chain longer than the file

        const uint16_t sectors = static_cast<uint16_t>(runClusters * sectorsPerCluster_);
        if (!disk_.Read(dataSector_ + (first - 2) * sectorsPerCluster_, sectors, run_)) return Result::kReadError;
        uint32_t bytes = static_cast<uint32_t>(sectors) * kSector;
        if (bytes > file.size - loaded) bytes = file.size - loaded;
        memory.Write(loaded, run_, static_cast<uint16_t>(bytes));
        loaded += bytes;
        cluster = next;
    }
    return Result::kOk;
}

}  // namespace fat12
