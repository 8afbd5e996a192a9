// The identity strings of an IDENTIFY block and the three nested rules.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "drives/DriveTable.h"

namespace {

const DWORD kRules = DRIVE_MAKER_MATCH | DRIVE_FAMILY_MATCH | DRIVE_NEEDS_UPDATE;

// Puts `text` (raw bytes, padded with `pad`) into a field in on-wire order: each pair of
// characters swapped, as a drive sends them.
void PutField(BYTE* block, int offset, int length, const std::string& text, char pad = ' ')
{
    std::string field = text;
    field.resize(static_cast<size_t>(length), pad);
    for (int i = 0; i < length; i += 2) {
        block[offset + i] = static_cast<BYTE>(field[static_cast<size_t>(i + 1)]);
        block[offset + i + 1] = static_cast<BYTE>(field[static_cast<size_t>(i)]);
    }
}

struct IdentityCase {
    const char* name;
    std::string model;     // as read, before padding
    std::string firmware;
    std::string serial;
    std::string wantModel;
    std::string wantFirmware;
    std::string wantSerial;
    DWORD wantBits;
};

class IdentityTest : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(IdentityTest, StoresStringsAndAppliesRules)
{
    const IdentityCase& c = GetParam();
    BYTE block[512] = {};
    PutField(block, IDENTIFY_MODEL_OFFSET, IDENTIFY_MODEL_LENGTH, c.model);
    PutField(block, IDENTIFY_FIRMWARE_OFFSET, IDENTIFY_FIRMWARE_LENGTH, c.firmware);
    PutField(block, IDENTIFY_SERIAL_OFFSET, IDENTIFY_SERIAL_LENGTH, c.serial);
    CDriveTable table;
    table.StoreIdentity(block, 2);
    EXPECT_EQ(std::string(table.m_strModel[2]), c.wantModel);
    EXPECT_EQ(std::string(table.m_strFirmware[2]), c.wantFirmware);
    EXPECT_EQ(std::string(table.m_strSerial[2]), c.wantSerial);
    EXPECT_EQ(table.m_dwFlags[2] & kRules, c.wantBits);
    // Only the slot it was given.
    EXPECT_EQ(table.m_dwFlags[1], 0u);
    EXPECT_TRUE(table.m_strModel[1].IsEmpty());
}

const DWORD M = DRIVE_MAKER_MATCH, F = DRIVE_FAMILY_MATCH, U = DRIVE_NEEDS_UPDATE;
const std::string k40(40, 'X');

INSTANTIATE_TEST_SUITE_P(
    Rules, IdentityTest,
    ::testing::Values(
        IdentityCase{"all_three", "VELMORA QR-2040A", "QR31A409", "VM1", "VELMORA QR-2040A", "QR31A409", "VM1", M | F | U},
        IdentityCase{"leading_spaces_kept", "  VELMORA QN 80", "QN0000AA", "", "  VELMORA QN 80", "QN0000AA", "", M | F},
        IdentityCase{"maker_lower_case", "velmora QN", "QN000009", "", "velmora QN", "QN000009", "", 0},
        IdentityCase{"maker_split", "VEL-MORA", "QN000009", "", "VEL-MORA", "QN000009", "", 0},
        IdentityCase{"no_maker_yet_update_revision", "OTHERCO 2000", "QN000009", "", "OTHERCO 2000", "QN000009", "", 0},
        IdentityCase{"maker_only", "VELMORA ZX", "ZX000009", "", "VELMORA ZX", "ZX000009", "", M},
        IdentityCase{"family_after_space", "VELMORA", " QN00009", "", "VELMORA", " QN00009", "", M},
        IdentityCase{"family_qp_level_08", "VELMORA", "QP000008", "", "VELMORA", "QP000008", "", M | F},
        IdentityCase{"inner_spaces_kept", "VELMORA", "QR12  09", "", "VELMORA", "QR12  09", "", M | F | U},
        IdentityCase{"six_chars_no_level", "VELMORA", "QN1234", "", "VELMORA", "QN1234", "", M | F},
        IdentityCase{"seven_chars_zero_then_space", "VELMORA", "QN12340", "", "VELMORA", "QN12340", "", M | F},
        IdentityCase{"full_40_chars", k40 , "QN000009", "", k40, "QN000009", "", 0},
        IdentityCase{"serial_right_aligned", "VELMORA", "QN", "      123456", "VELMORA", "QN", "      123456", M | F},
        IdentityCase{"tab_is_not_space", "VELMORA\t", "QR\t\t\t\t09", "", "VELMORA\t", "QR\t\t\t\t09", "", M | F | U}),
    [](const ::testing::TestParamInfo<IdentityCase>& info) { return std::string(info.param.name); });

TEST(Identity, ZeroBlockGivesEmptyStringsAndNoBits)
{
    BYTE block[512] = {};
    CDriveTable table;
    table.StoreIdentity(block, 0);
    EXPECT_TRUE(table.m_strModel[0].IsEmpty());
    EXPECT_TRUE(table.m_strFirmware[0].IsEmpty());
    EXPECT_TRUE(table.m_strSerial[0].IsEmpty());
    EXPECT_EQ(table.m_dwFlags[0], 0u);
}

TEST(Identity, ModelEndsAtItsFirstNul)
{
    // The maker's name after an embedded NUL does not count.
    BYTE block[512] = {};
    std::string model = "DISK 12   ";
    model += '\0';
    model += "VELMORA";
    PutField(block, IDENTIFY_MODEL_OFFSET, IDENTIFY_MODEL_LENGTH, model);
    PutField(block, IDENTIFY_FIRMWARE_OFFSET, IDENTIFY_FIRMWARE_LENGTH, "QN000009");
    CDriveTable table;
    table.StoreIdentity(block, 0);
    EXPECT_EQ(std::string(table.m_strModel[0]), "DISK 12");
    EXPECT_EQ(table.m_dwFlags[0], 0u);
}

TEST(Identity, StoreSwapsTheFieldsInPlaceAndNothingElse)
{
    BYTE block[512];
    for (int i = 0; i < 512; ++i) block[i] = static_cast<BYTE>(i * 7);
    BYTE before[512];
    std::memcpy(before, block, sizeof block);
    CDriveTable table;
    table.StoreIdentity(block, 3);
    for (int i = 0; i < 512; ++i) {
        bool inField = (i >= 20 && i < 40) || (i >= 46 && i < 54) || (i >= 54 && i < 94);
        EXPECT_EQ(block[i], before[inField ? (i ^ 1) : i]) << "byte " << i;
    }
}

TEST(SwapAtaString, SwapsEachPair)
{
    BYTE field[] = {'E', 'V', 'M', 'L', 'R', 'O', ' ', 'A', '#'};
    SwapAtaString(field, 8);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), 9), "VELMORA #");
}

TEST(SwapAtaString, ZeroAndOddLengthsStayInsideTheField)
{
    BYTE field[] = {'A', 'B', 'C', 'D'};
    SwapAtaString(field, 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), 4), "ABCD");
    SwapAtaString(field, 3);  // the third byte has no partner inside the field
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), 4), "BACD");
}

TEST(Identity, SlotOutsideTheTableIsIgnored)
{
    BYTE block[512] = {};
    PutField(block, IDENTIFY_MODEL_OFFSET, IDENTIFY_MODEL_LENGTH, "VELMORA");
    CDriveTable table;
    table.StoreIdentity(block, 4);
    for (int i = 0; i < DRIVE_SLOTS; ++i) EXPECT_EQ(table.m_dwFlags[i], 0u);
}

}  // namespace
