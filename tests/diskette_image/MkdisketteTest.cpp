// The image builder's refusals: anything it let through would turn up as a diskette that
// DOS reads one way and our loader another, or not at all.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "Fat12Image.h"
#include "ShortName.h"
#include "sim/TestFiles.h"

namespace {

using mkdiskette::Fat12Image;
using sim::Bytes;

struct NameCase {
    const char* name;
    const char* stored;  // nullptr: refused
};

TEST(ShortName, AcceptsPlainUpperCase83NamesOnly)
{
    const NameCase cases[] = {
        {"STARTUP.BIN", "STARTUP BIN"},
        {"QN.FW", "QN      FW "},
        {"README", "README     "},
        {"A-B_C.1", "A-B_C   1  "},
        {"startup.bin", nullptr},
        {"TOOLONGNAME.BIN", nullptr},
        {"NAME.LONG", nullptr},
        {".BIN", nullptr},
        {"NAME.", nullptr},
        {"TWO.DOTS.X", nullptr},
        {"SP ACE.BIN", nullptr},
        {"", nullptr},
    };
    for (const NameCase& c : cases) {
        if (c.stored) {
            const mkdiskette::ShortName n = mkdiskette::ToShortName(c.name);
            EXPECT_EQ(std::string(n.begin(), n.end()), c.stored) << c.name;
        } else {
            EXPECT_THROW(mkdiskette::ToShortName(c.name), std::invalid_argument) << c.name;
        }
    }
}

Bytes BootSector()
{
    // The real one, so that the BPB check is exercised against what the loader reads.
    Bytes image = sim::DisketteWith({});
    return Bytes(image.begin(), image.begin() + 512);
}

TEST(Fat12Image, RefusesABootSectorWhoseBpbDisagreesWithTheLayout)
{
    struct { const char* name; unsigned offset; std::uint8_t value; } cases[] = {
        {"sectors per FAT", 22, 12}, {"root entries", 17, 0x10}, {"media", 21, 0xF9}, {"signature", 510, 0},
    };
    for (const auto& c : cases) {
        Bytes boot = BootSector();
        boot[c.offset] = c.value;
        EXPECT_THROW(Fat12Image(boot, "VFLASH").Build(), std::runtime_error) << c.name;
    }
    EXPECT_THROW(Fat12Image(Bytes(511, 0), "VFLASH").Build(), std::runtime_error) << "short boot sector";
}

TEST(Fat12Image, RefusesRepeatedNamesAndBadLabels)
{
    Fat12Image image(BootSector(), "VFLASH");
    image.AddFile("QN.FW", Bytes(1, 0));
    EXPECT_THROW(image.AddFile("QN.FW", Bytes(1, 0)), std::invalid_argument);
    EXPECT_THROW(Fat12Image(BootSector(), "TWELVE CHARS"), std::invalid_argument);
    EXPECT_THROW(Fat12Image(BootSector(), "lower"), std::invalid_argument);
}

TEST(Fat12Image, FillsTheDisketteExactlyAndNotOneByteMore)
{
    const unsigned dataBytes = 2847 * 512;
    Fat12Image full(BootSector(), "VFLASH");
    full.AddFile("BIG.BIN", Bytes(dataBytes, 1));
    EXPECT_EQ(full.Build().size(), 1474560u);

    Fat12Image over(BootSector(), "VFLASH");
    over.AddFile("BIG.BIN", Bytes(dataBytes - 512, 1));
    over.AddFile("ONE.BIN", Bytes(513, 1));
    EXPECT_THROW(over.Build(), std::runtime_error);
}

TEST(Fat12Image, RootDirectoryHoldsTheLabelAnd223Files)
{
    auto withFiles = [](unsigned n) {
        Fat12Image image(BootSector(), "VFLASH");
        for (unsigned i = 0; i < n; ++i) image.AddFile("F" + std::to_string(i), Bytes());
        return image;
    };
    EXPECT_NO_THROW(withFiles(223).Build());
    EXPECT_THROW(withFiles(224).Build(), std::runtime_error);
}

TEST(Fat12Image, EmptyFileOwnsNoCluster)
{
    Fat12Image image(BootSector(), "VFLASH");
    image.AddFile("EMPTY", Bytes());
    image.AddFile("NEXT", Bytes(1, 7));
    const Bytes b = image.Build();
    const unsigned root = 19 * 512;
    EXPECT_EQ(b[root + 32 + 26] | (b[root + 32 + 27] << 8), 0) << "EMPTY";
    EXPECT_EQ(b[root + 64 + 26] | (b[root + 64 + 27] << 8), 2) << "NEXT gets the first cluster";
    EXPECT_EQ(b[33 * 512], 7);
}

}  // namespace
