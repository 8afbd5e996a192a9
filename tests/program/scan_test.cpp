// The drive scan against the simulated PC: what each slot holds after each kind of
// failure, and the exact requests the disk driver receives.
#include <cstring>

#include <gtest/gtest.h>

#include "Harness.h"
#include "drives/DriveTable.h"

namespace {

using sim::DriveState;

class ScanTest : public test::ProgramTest {};

struct SlotCase {
    const char* name;
    DriveState state;
    bool handleOpen;
    DWORD wantFlags;
    int wantIdentified;
};

class ScanSlotTest : public ScanTest, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(ScanSlotTest, LeavesTheSlotAsTheFailureDictates)
{
    const SlotCase& c = GetParam();
    sim::Scenario s = test::BaseScenario();
    s.drives[1] = test::Drive("VELMORA QR-2040A", "QR31A409");
    s.drives[1].state = c.state;
    s.drives[3] = test::Drive("OTHERCO", "1.0");  // the scan goes on past the failure
    sim::Reset(s);

    CDriveTable table;
    table.ScanDrives();
    EXPECT_EQ(table.m_hDrive[1] != INVALID_HANDLE_VALUE, c.handleOpen);
    EXPECT_EQ(table.m_dwFlags[1], c.wantFlags);
    EXPECT_EQ(table.m_nIdentified, c.wantIdentified + 1);
    if (!(c.wantFlags & DRIVE_IDENTIFIED)) {
        EXPECT_TRUE(table.m_strModel[1].IsEmpty());
    }
    EXPECT_EQ(table.m_dwFlags[3], DWORD(DRIVE_OPENED | DRIVE_SMART_OK | DRIVE_IDENTIFIED));
    EXPECT_EQ(table.m_hDrive[2], INVALID_HANDLE_VALUE);
    EXPECT_EQ(table.m_dwFlags[2], 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScanSlotTest,
    ::testing::Values(
        SlotCase{"absent", DriveState::Absent, false, 0, 0},
        SlotCase{"open_refused", DriveState::OpenRefused, false, 0, 0},
        SlotCase{"version_refused", DriveState::SmartRefused, true, DRIVE_OPENED, 0},
        SlotCase{"identify_refused", DriveState::IdentifyRefused, true, DRIVE_OPENED | DRIVE_SMART_OK, 0},
        SlotCase{"identified", DriveState::Identifies, true, 0x3F, 1}),
    [](const ::testing::TestParamInfo<SlotCase>& info) { return std::string(info.param.name); });

TEST_F(ScanTest, NoHandleIsEverClosed)
{
    sim::Scenario s = test::BaseScenario();
    s.drives[0] = test::Drive("A", "B");
    s.drives[1].state = DriveState::SmartRefused;
    s.drives[2].state = DriveState::IdentifyRefused;
    sim::Reset(s);
    CDriveTable table;
    table.ScanDrives();
    EXPECT_EQ(sim::OpenHandleCount(), 3);
    EXPECT_TRUE(test::CallsNamed(sim::Calls(), "CloseHandle").empty());
}

TEST_F(ScanTest, OpensEachDriveByItsPathWithReadWriteSharing)
{
    CDriveTable table;
    table.ScanDrives();
    auto opens = test::CallsNamed(sim::Calls(), "CreateFileA");
    ASSERT_EQ(opens.size(), 4u);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(opens[n].text, "\\\\.\\PhysicalDrive" + std::to_string(n));
        EXPECT_EQ(opens[n].arg1, GENERIC_READ | GENERIC_WRITE);
        EXPECT_EQ(opens[n].arg2, DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE));
    }
}

// The IDENTIFY request each drive number receives, for a given bIDEDeviceMap.
struct RequestCase {
    int drive;
    int deviceMap;
    BYTE wantCommand;
    BYTE wantDriveHead;
};

class ScanRequestTest : public ScanTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(ScanRequestTest, SendsTheIdentifyTheDeviceMapCallsFor)
{
    const RequestCase& c = GetParam();
    sim::Scenario s = test::BaseScenario();
    s.drives[c.drive] = test::Drive("M", "F");
    s.ideDeviceMapOverride = c.deviceMap;
    sim::Reset(s);
    CDriveTable table;
    table.ScanDrives();

    std::vector<sim::Call> requests;
    for (const sim::Call& call : test::CallsNamed(sim::Calls(), "DeviceIoControl"))
        if (call.code == SMART_RCV_DRIVE_DATA) requests.push_back(call);
    ASSERT_EQ(requests.size(), 1u);
    const sim::Call& r = requests[0];
    EXPECT_EQ(r.arg1, 35u) << "request length";
    EXPECT_EQ(r.arg2, 531u) << "reply length";
    // cBufferSize 512, then the task file, the drive number, and zeros to the end.
    std::vector<std::uint8_t> want(35, 0);
    want[1] = 0x02;  // 512, little-endian
    want[5] = 1;     // sector count
    want[6] = 1;     // sector number
    want[9] = c.wantDriveHead;
    want[10] = c.wantCommand;
    want[12] = static_cast<std::uint8_t>(c.drive);
    EXPECT_EQ(r.in, want);
}

INSTANTIATE_TEST_SUITE_P(
    DeviceMap, ScanRequestTest,
    ::testing::Values(RequestCase{0, 0x01, 0xEC, 0xA0},   // ATA master
                      RequestCase{0, 0x10, 0xA1, 0xA0},   // ATAPI at drive 0
                      RequestCase{1, 0x10, 0xEC, 0xB0},   // bit 5 clear: ATA
                      RequestCase{1, 0x20, 0xA1, 0xB0},
                      RequestCase{2, 0x00, 0xEC, 0xA0},
                      RequestCase{3, 0x80, 0xA1, 0xB0},   // only drive 3 sees bit 7
                      RequestCase{2, 0x80, 0xEC, 0xA0}));

TEST_F(ScanTest, AnEmptyReplyStillCountsAsIdentified)
{
    sim::Scenario s = test::BaseScenario();
    s.drives[0].state = DriveState::Identifies;  // block all zero
    sim::Reset(s);
    CDriveTable table;
    table.ScanDrives();
    EXPECT_EQ(table.m_dwFlags[0], DWORD(DRIVE_OPENED | DRIVE_SMART_OK | DRIVE_IDENTIFIED));
    EXPECT_EQ(table.m_nIdentified, 1);
    EXPECT_TRUE(table.m_strModel[0].IsEmpty());
}

TEST_F(ScanTest, CountsOnlyIdentifiedDrives)
{
    sim::Scenario s = test::BaseScenario();
    for (auto& d : s.drives) d = test::Drive("VELMORA", "QN000009");
    sim::Reset(s);
    CDriveTable all;
    all.ScanDrives();
    EXPECT_EQ(all.m_nIdentified, 4);

    s.drives[1].state = DriveState::IdentifyRefused;
    s.drives[2].state = DriveState::SmartRefused;
    sim::Reset(s);
    CDriveTable some;
    some.ScanDrives();
    EXPECT_EQ(some.m_nIdentified, 2);
    // The bits of every slot form a run from DRIVE_OPENED upward.
    for (DWORD f : some.m_dwFlags) EXPECT_EQ(f & (f + 1), 0u) << std::hex << f;
}

}  // namespace
