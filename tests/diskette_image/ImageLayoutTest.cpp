// The built DISKETTE.IMG, read as bytes: the layout that DOS, Windows and our own boot
// sector expect of a 1.44 MB diskette. Expected values are written out here rather than
// taken from the builder, so a slip in either shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> LoadImage()
{
    std::ifstream in(VFLASH_TEST_IMAGE, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ImageLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() { image_ = new std::vector<std::uint8_t>(LoadImage()); }
    static void TearDownTestSuite() { delete image_; }

    const std::vector<std::uint8_t>& img() const { return *image_; }
    std::uint32_t Le(unsigned at, unsigned width) const
    {
        std::uint32_t v = 0;
        for (unsigned i = width; i-- > 0;) v = (v << 8) | img().at(at + i);
        return v;
    }
    std::string Text(unsigned at, unsigned width) const
    {
        return std::string(img().begin() + at, img().begin() + at + width);
    }

    static std::vector<std::uint8_t>* image_;
};
std::vector<std::uint8_t>* ImageLayout::image_ = nullptr;

constexpr unsigned kSector = 512;
constexpr unsigned kRootOffset = 19 * kSector;  // after the boot sector and two 9-sector FATs

TEST_F(ImageLayout, IsExactlyOneHighDensityDiskette)
{
    EXPECT_EQ(img().size(), 1474560u);
}

struct NumberField {
    unsigned offset, width;
    std::uint32_t value;
    const char* name;
};

TEST_F(ImageLayout, BootSectorNumbersAreThoseOfA144MbDiskette)
{
    const NumberField fields[] = {
        {11, 2, 512, "bytes per sector"},
        {13, 1, 1, "sectors per cluster"},
        {14, 2, 1, "reserved sectors"},
        {16, 1, 2, "FATs"},
        {17, 2, 224, "root entries"},
        {19, 2, 2880, "total sectors"},
        {21, 1, 0xF0, "media"},
        {22, 2, 9, "sectors per FAT"},
        {24, 2, 18, "sectors per track"},
        {26, 2, 2, "heads"},
        {28, 4, 0, "hidden sectors"},
        {32, 4, 0, "32-bit total sectors"},
        {36, 1, 0, "drive number"},
        {37, 1, 0, "reserved"},
        {38, 1, 0x29, "extended boot signature"},
        {39, 4, 0x20020101, "volume serial"},
        {510, 2, 0xAA55, "boot signature"},
    };
    for (const NumberField& f : fields) EXPECT_EQ(Le(f.offset, f.width), f.value) << f.name;
}

TEST_F(ImageLayout, BootSectorTextsArePadded)
{
    EXPECT_EQ(Text(3, 8), "VFLASH  ");
    EXPECT_EQ(Text(43, 11), "VFLASH     ");
    EXPECT_EQ(Text(54, 8), "FAT12   ");
}

TEST_F(ImageLayout, BootSectorStartsWithAShortJumpPastTheBpbIntoTheBootCode)
{
    ASSERT_EQ(img()[0], 0xEB);
    EXPECT_EQ(img()[2], 0x90);
    const unsigned target = 2 + img()[1];
    EXPECT_GE(target, 62u);
    EXPECT_LT(target, 510u);
}

TEST_F(ImageLayout, BothFatsAreEqualAndStartWithTheMediaByte)
{
    const auto fat1 = img().begin() + kSector;
    const auto fat2 = fat1 + 9 * kSector;
    EXPECT_TRUE(std::equal(fat1, fat2, fat2));
    EXPECT_EQ(fat1[0], 0xF0);
    EXPECT_EQ(fat1[1], 0xFF);
    EXPECT_EQ(fat1[2], 0xFF);
}

TEST_F(ImageLayout, RootDirectoryOpensWithTheVolumeLabel)
{
    EXPECT_EQ(Text(kRootOffset, 11), "VFLASH     ");
    EXPECT_EQ(img()[kRootOffset + 11], 0x08);
    EXPECT_EQ(Le(kRootOffset + 26, 2), 0u) << "a label owns no cluster";
}

TEST_F(ImageLayout, StartupProgramFollowsTheRootDirectoryInOneRun)
{
    const unsigned e = kRootOffset + 32;
    ASSERT_EQ(Text(e, 11), "STARTUP BIN");
    EXPECT_EQ(Le(e + 26, 2), 2u) << "first data cluster";
    const std::uint32_t size = Le(e + 28, 4);
    ASSERT_GT(size, 0u);
    ASSERT_LT(size, 65536u) << "the boot sector loads at most one segment";
    // FAT12 chain 2 -> 3 -> ... -> end, one cluster per sector.
    const unsigned clusters = (size + kSector - 1) / kSector;
    for (unsigned c = 2; c < 2 + clusters; ++c) {
        const unsigned at = kSector + c * 3 / 2;
        const unsigned entry = (c & 1) ? Le(at, 2) >> 4 : Le(at, 2) & 0xFFF;
        EXPECT_EQ(entry, c + 1 == 2 + clusters ? 0xFFFu : c + 1) << "cluster " << c;
    }
}

TEST_F(ImageLayout, EveryDirectoryEntryCarriesTheFixedTimeStamp)
{
    const std::uint16_t date = ((2002 - 1980) << 9) | (1 << 5) | 1;
    const std::uint16_t time = 12 << 11;
    for (unsigned e = kRootOffset; img()[e] != 0; e += 32) {
        SCOPED_TRACE(Text(e, 11));
        EXPECT_EQ(Le(e + 22, 2), time);
        EXPECT_EQ(Le(e + 24, 2), date);
        EXPECT_EQ(Le(e + 16, 2), date) << "creation date";
        EXPECT_EQ(Le(e + 18, 2), date) << "access date";
    }
}

}  // namespace
