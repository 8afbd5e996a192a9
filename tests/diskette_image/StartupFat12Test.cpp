// The start-up program's FAT12 reader over images from our own image builder, plus the
// damage a diskette can come with.
#include <gtest/gtest.h>

#include "Fat12Image.h"
#include "core/Fat12.h"
#include "sim/SimAta.h"
#include "sim/TestFiles.h"

namespace {

using sim::Bytes;

const char kQnFw[] = "QN      FW ";

class Fat12Test : public ::testing::Test {
protected:
    // Three files, so the one read is neither first nor at cluster 2; 40 blocks of it
    // make runs longer than one read buffer.
    Fat12Test()
        : payload(sim::TestPayload(40)),
          disk(sim::DisketteWith({{"STARTUP.BIN", Bytes(3000, 0x90)}, {"QP.FW", Bytes(700, 1)}, {"QN.FW", payload}})),
          volume(disk),
          memory(64 * 1024)
    {
    }
    fat12::File FindQn()
    {
        EXPECT_EQ(volume.Mount(), fat12::Result::kOk);
        fat12::File f = {};
        EXPECT_EQ(volume.Find(kQnFw, &f), fat12::Result::kOk);
        return f;
    }
    // Points cluster `c`'s FAT entry (first FAT) at `value`.
    void SetFat(unsigned c, unsigned value)
    {
        mkdiskette::SetFatEntry(disk.image.data() + 512, c, value);
    }
    unsigned DataSectorOf(unsigned cluster) const { return 33 + cluster - 2; }

    Bytes payload;
    sim::Diskette disk;
    fat12::Volume volume;
    sim::Memory memory;
};

TEST_F(Fat12Test, LoadsAFileWholeAndNothingPastItsEnd)
{
    const fat12::File f = FindQn();
    EXPECT_EQ(f.size, payload.size());
    ASSERT_EQ(volume.Load(f, memory), fat12::Result::kOk);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), memory.bytes.begin()));
    EXPECT_EQ(memory.bytes[payload.size()], 0xCC);
}

TEST_F(Fat12Test, FileOfPartialLastClusterLoadsOnlyItsBytes)
{
    ASSERT_EQ(volume.Mount(), fat12::Result::kOk);
    fat12::File f = {};
    ASSERT_EQ(volume.Find("QP      FW ", &f), fat12::Result::kOk);
    ASSERT_EQ(volume.Load(f, memory), fat12::Result::kOk);
    EXPECT_EQ(memory.bytes[699], 1);
    EXPECT_EQ(memory.bytes[700], 0xCC);
}

TEST_F(Fat12Test, FollowsAFragmentedChain)
{
    // Move the file's third cluster to a free cluster far away and relink the chain.
    const fat12::File f = FindQn();
    const unsigned third = f.firstCluster + 2, moved = 2000;
    std::copy_n(disk.image.begin() + DataSectorOf(third) * 512, 512, disk.image.begin() + DataSectorOf(moved) * 512);
    std::fill_n(disk.image.begin() + DataSectorOf(third) * 512, 512, 0xEE);
    SetFat(f.firstCluster + 1, moved);
    SetFat(moved, third + 1);
    SetFat(third, 0);
    fat12::Volume fresh(disk);
    ASSERT_EQ(fresh.Mount(), fat12::Result::kOk);
    ASSERT_EQ(fresh.Load(f, memory), fat12::Result::kOk);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), memory.bytes.begin()));
}

TEST_F(Fat12Test, MissingFileIsNotFound)
{
    ASSERT_EQ(volume.Mount(), fat12::Result::kOk);
    fat12::File f;
    EXPECT_EQ(volume.Find("QR      FW ", &f), fat12::Result::kNotFound);
    EXPECT_EQ(volume.Find("VFLASH     ", &f), fat12::Result::kNotFound) << "the volume label is no file";
}

struct ChainDamage {
    const char* name;
    int entry;  // which cluster of the file gets a bad FAT entry (from 0)
    unsigned value;
};

TEST_F(Fat12Test, DamagedChainsAreRefusedNotFollowed)
{
    const fat12::File f = FindQn();
    const unsigned last = f.firstCluster + 39;
    const ChainDamage cases[] = {
        {"chain ends early", 5, 0xFFF},
        {"chain runs into a free cluster", 5, 0},
        {"chain points at a reserved cluster", 5, 1},
        {"chain loops back on itself", 5, f.firstCluster},
        {"chain goes past the last cluster", 5, 2900},
        {"chain longer than the file", 39, last + 1},
    };
    const Bytes pristine = disk.image;
    for (const ChainDamage& c : cases) {
        disk.image = pristine;
        SetFat(f.firstCluster + c.entry, c.value);
        fat12::Volume v(disk);
        ASSERT_EQ(v.Mount(), fat12::Result::kOk);
        EXPECT_EQ(v.Load(f, memory), fat12::Result::kDamaged) << c.name;
    }
}

TEST_F(Fat12Test, ReadErrorsAreReportedWhereverTheyHappen)
{
    const fat12::File f = FindQn();
    disk.failFrom = DataSectorOf(f.firstCluster) + 20;  // in the middle of the file
    EXPECT_EQ(volume.Load(f, memory), fat12::Result::kReadError);
    disk.failFrom = 19;  // the root directory
    fat12::File unused;
    EXPECT_EQ(volume.Find(kQnFw, &unused), fat12::Result::kReadError);
    disk.failFrom = 0;
    fat12::Volume v(disk);
    EXPECT_EQ(v.Mount(), fat12::Result::kReadError);
}

TEST_F(Fat12Test, FileLargerThanTheMemoryIsNotLoaded)
{
    const fat12::File f = FindQn();
    sim::Memory small(static_cast<std::uint32_t>(payload.size() - 1));
    EXPECT_EQ(volume.Load(f, small), fat12::Result::kTooLarge);
}

TEST_F(Fat12Test, ImpossibleBpbIsRefused)
{
    struct { const char* name; unsigned offset; std::uint8_t value; } cases[] = {
        {"sector size", 12, 0x04},            // 1024 bytes a sector
        {"no sectors per cluster", 13, 0},
        {"no FATs", 16, 0},
        {"FAT larger than a diskette's", 22, 40},
        {"root entries not whole sectors", 17, 225 & 0xFF},
    };
    const Bytes pristine = disk.image;
    for (const auto& c : cases) {
        disk.image = pristine;
        disk.image[c.offset] = c.value;
        fat12::Volume v(disk);
        EXPECT_EQ(v.Mount(), fat12::Result::kDamaged) << c.name;
    }
}

TEST_F(Fat12Test, ReadsTheDataAreaInRunsNotSectorBySector)
{
    // A real drive loses a revolution between single-sector reads: 40 contiguous blocks
    // must take a handful of reads, not 40.
    const fat12::File f = FindQn();
    disk.reads = 0;
    ASSERT_EQ(volume.Load(f, memory), fat12::Result::kOk);
    EXPECT_LE(disk.reads, 3u);
}

}  // namespace
