#include <gtest/gtest.h>

#include "platform/sim/SimPc.h"

namespace {

// Reads an ATA string field back the way a drive-reading program must: high byte first.
std::string Field(const sim::IdentifyBlock& b, std::size_t firstWord, std::size_t words)
{
    std::string s;
    for (std::size_t w = firstWord; w < firstWord + words; ++w) {
        s += static_cast<char>(b[w * 2 + 1]);
        s += static_cast<char>(b[w * 2]);
    }
    return s;
}

TEST(MakeIdentifyBlock, StoresEachCharacterPairSwapped)
{
    const sim::IdentifyBlock b = sim::MakeIdentifyBlock("VELMORA QR-2040A", "QR31A409", "VQ7");
    // Word 27 holds "VE": 'V' in its high byte, which is the second byte in memory.
    EXPECT_EQ('E', b[54]);
    EXPECT_EQ('V', b[55]);
    EXPECT_EQ('R', b[46]);  // firmware word 23
    EXPECT_EQ('Q', b[47]);
    EXPECT_EQ('Q', b[20]);  // serial word 10
    EXPECT_EQ('V', b[21]);
}

struct FieldCase {
    const char* model;
    const char* firmware;
    const char* serial;
    std::string wantModel, wantFirmware, wantSerial;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << '"' << c.model << '"'; }

class IdentifyFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(IdentifyFields, PadsWithSpacesAndCutsAtTheFieldSize)
{
    const FieldCase& c = GetParam();
    const sim::IdentifyBlock b = sim::MakeIdentifyBlock(c.model, c.firmware, c.serial);
    EXPECT_EQ(c.wantSerial, Field(b, 10, 10));
    EXPECT_EQ(c.wantFirmware, Field(b, 23, 4));
    EXPECT_EQ(c.wantModel, Field(b, 27, 20));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IdentifyFields,
    ::testing::Values(
        FieldCase{"VELMORA QR-2040A", "QR31A409", "VQ2040A0017345",
                  "VELMORA QR-2040A" + std::string(24, ' '), "QR31A409",
                  "VQ2040A0017345      "},
        // An odd length leaves the last pair half space.
        FieldCase{"ABC", "Q", "S", "ABC" + std::string(37, ' '), "Q       ",
                  "S" + std::string(19, ' ')},
        FieldCase{"", "", "", std::string(40, ' '), std::string(8, ' '), std::string(20, ' ')},
        FieldCase{"M123456789012345678901234567890123456789XYZ", "F1234567TOO", "S1234567890123456789TOO",
                  "M123456789012345678901234567890123456789", "F1234567", "S1234567890123456789"}));

TEST(MakeIdentifyBlock, LeavesEveryOtherByteZero)
{
    const sim::IdentifyBlock b = sim::MakeIdentifyBlock("MODEL", "FW", "SN");
    for (std::size_t i = 0; i < b.size(); ++i) {
        const bool inField = (i >= 20 && i < 40) || (i >= 46 && i < 94);
        if (!inField) {
            EXPECT_EQ(0, b[i]) << "byte " << i;
        }
    }
}

}  // namespace
