#include <gtest/gtest.h>

#include <cstddef>

#include "tests/sim/SimTestSupport.h"

namespace {

using sim::DriveState;
using simtest::GuardedBuffer;
using simtest::Ioctl;
using simtest::Open;

const DWORD kInvalidFunction = 1;

class PhysicalDrive : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(simtest::SmallScenario()); }

    // A SENDCMDINPARAMS asking drive 0 for its identify block.
    static std::vector<std::uint8_t> IdentifyRequest(BYTE command)
    {
        std::vector<std::uint8_t> in(offsetof(SENDCMDINPARAMS, bBuffer), 0);
        const DWORD size = IDENTIFY_BUFFER_SIZE;
        std::memcpy(in.data(), &size, sizeof size);
        in[offsetof(SENDCMDINPARAMS, irDriveRegs) + offsetof(IDEREGS, bSectorCountReg)] = 1;
        in[offsetof(SENDCMDINPARAMS, irDriveRegs) + offsetof(IDEREGS, bDriveHeadReg)] = 0xA0;
        in[offsetof(SENDCMDINPARAMS, irDriveRegs) + offsetof(IDEREGS, bCommandReg)] = command;
        return in;
    }
};

struct OpenCase {
    const char* path;
    DriveState state;  // of drive 0
    bool opens;
    DWORD error;
    const char* device;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.path << " state " << int(c.state); }

class OpenDevice : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenDevice, OpensOnlyWhatExists)
{
    const OpenCase& c = GetParam();
    sim::Scenario s;
    s.drives[0].state = c.state;
    sim::Reset(s);
    const HANDLE h = Open(c.path);
    EXPECT_EQ(c.opens, h != INVALID_HANDLE_VALUE);
    if (!c.opens) {
        EXPECT_EQ(c.error, pc::GetLastError());
    }
    EXPECT_EQ(c.opens ? 1 : 0, sim::OpenHandleCount());
    EXPECT_EQ(c.device, simtest::CallsTo("CreateFileA").at(0).device);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenDevice,
    ::testing::Values(
        OpenCase{"\\\\.\\PhysicalDrive0", DriveState::Identifies, true, 0, "PhysicalDrive0"},
        OpenCase{"\\\\.\\physicaldrive0", DriveState::SmartRefused, true, 0, "PhysicalDrive0"},
        OpenCase{"\\\\.\\PhysicalDrive0", DriveState::Absent, false, ERROR_FILE_NOT_FOUND, "PhysicalDrive0"},
        OpenCase{"\\\\.\\PhysicalDrive0", DriveState::OpenRefused, false, ERROR_ACCESS_DENIED, "PhysicalDrive0"},
        OpenCase{"\\\\.\\PhysicalDrive4", DriveState::Identifies, false, ERROR_FILE_NOT_FOUND, ""},
        OpenCase{"\\\\.\\PhysicalDrive", DriveState::Identifies, false, ERROR_FILE_NOT_FOUND, ""},
        OpenCase{"\\\\.\\PhysicalDrive00", DriveState::Identifies, false, ERROR_FILE_NOT_FOUND, ""},
        OpenCase{"PhysicalDrive0", DriveState::Identifies, false, ERROR_FILE_NOT_FOUND, ""},
        OpenCase{"\\\\.\\B:", DriveState::Identifies, false, ERROR_FILE_NOT_FOUND, ""},
        OpenCase{"\\\\.\\a:", DriveState::Absent, true, 0, "A:"}));

TEST_F(PhysicalDrive, HandlesAreDistinctAndNeverComeBack)
{
    const HANDLE a = Open("\\\\.\\PhysicalDrive0");
    const HANDLE b = Open("\\\\.\\PhysicalDrive0");
    ASSERT_NE(INVALID_HANDLE_VALUE, a);
    EXPECT_NE(nullptr, a);
    EXPECT_NE(a, b);
    EXPECT_TRUE(pc::CloseHandle(a));
    EXPECT_NE(a, Open("\\\\.\\PhysicalDrive0"));

    EXPECT_FALSE(pc::CloseHandle(a));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), pc::GetLastError());
    EXPECT_FALSE(Ioctl(a, SMART_GET_VERSION));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), pc::GetLastError());
    EXPECT_EQ("PhysicalDrive0", simtest::CallsTo("DeviceIoControl").back().device)
        << "a stale handle still names its device in the trace";

    sim::Reset(simtest::SmallScenario());
    EXPECT_FALSE(pc::CloseHandle(b)) << "handles do not survive a Reset";
    EXPECT_NE(b, Open("\\\\.\\PhysicalDrive0"));
}

TEST_F(PhysicalDrive, RecordsHowItWasOpened)
{
    const HANDLE h = pc::CreateFileA("\\\\.\\PhysicalDrive0", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0x80, nullptr);
    const sim::Call c = simtest::CallsTo("CreateFileA").at(0);
    EXPECT_EQ("\\\\.\\PhysicalDrive0", c.text);
    EXPECT_EQ(DWORD(GENERIC_READ), c.arg1);
    EXPECT_EQ(DWORD(FILE_SHARE_READ), c.arg2);
    EXPECT_EQ(DWORD(OPEN_EXISTING), c.code);
    EXPECT_EQ(0x80u, c.arg3);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(h), c.result);

    // Read access alone does not carry the identify request, whose code asks for both.
    GuardedBuffer out(528);
    DWORD returned = 99;
    const std::vector<std::uint8_t> in = IdentifyRequest(ID_CMD);
    EXPECT_FALSE(Ioctl(h, SMART_RCV_DRIVE_DATA, in.data(), DWORD(in.size()), out.data(), out.size(),
                       &returned));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    EXPECT_EQ(0u, returned);
}

struct MapCase {
    DriveState states[4];
    bool atapi[4];
    int override_;
    BYTE map;
};

void PrintTo(const MapCase& c, std::ostream* os) { *os << "map 0x" << std::hex << int(c.map); }

class IdeDeviceMap : public ::testing::TestWithParam<MapCase> {};

TEST_P(IdeDeviceMap, DescribesTheDrivesThatOpen)
{
    const MapCase& c = GetParam();
    sim::Scenario s;
    for (int n = 0; n < 4; ++n) {
        s.drives[n].state = c.states[n];
        s.drives[n].atapi = c.atapi[n];
    }
    s.drives[0].state = DriveState::Identifies;  // the drive asked
    s.ideDeviceMapOverride = c.override_;
    sim::Reset(s);
    GuardedBuffer out(sizeof(GETVERSIONINPARAMS));
    DWORD returned = 0;
    ASSERT_TRUE(Ioctl(Open("\\\\.\\PhysicalDrive0"), SMART_GET_VERSION, nullptr, 0, out.data(),
                      out.size(), &returned));
    EXPECT_EQ(24u, returned);
    EXPECT_EQ(1, out[0]);  // bVersion
    EXPECT_EQ(1, out[1]);  // bRevision
    EXPECT_EQ(c.map, out[3]);
    EXPECT_EQ(7, out[4]);  // fCapabilities
    EXPECT_TRUE(out.GuardIntact());
}

const DriveState I = DriveState::Identifies, A = DriveState::Absent,
                 O = DriveState::OpenRefused, S = DriveState::SmartRefused,
                 R = DriveState::IdentifyRefused;

INSTANTIATE_TEST_SUITE_P(
    Drives, IdeDeviceMap,
    ::testing::Values(MapCase{{I, A, A, A}, {false, false, false, false}, -1, 0x01},
                      MapCase{{I, I, I, I}, {false, true, false, true}, -1, 0xA5},
                      MapCase{{I, O, S, R}, {false, false, false, false}, -1, 0x0D},
                      MapCase{{I, A, I, A}, {true, false, true, false}, -1, 0x50},
                      MapCase{{I, I, A, A}, {false, false, false, false}, 0x80, 0x80}));

TEST_F(PhysicalDrive, IdentifyWritesTheBlockAfterTheStatus)
{
    const HANDLE h = Open("\\\\.\\PhysicalDrive0");
    const std::vector<std::uint8_t> in = IdentifyRequest(ID_CMD);
    GuardedBuffer out(528);
    DWORD returned = 0;
    ASSERT_TRUE(Ioctl(h, SMART_RCV_DRIVE_DATA, in.data(), DWORD(in.size()), out.data(), out.size(),
                      &returned));
    EXPECT_EQ(528u, returned);
    EXPECT_EQ(0, std::memcmp(out.data() + 16, sim::Current().drives[0].identify.data(), 512));
    DWORD cBufferSize = 0;
    std::memcpy(&cBufferSize, out.data(), 4);
    EXPECT_EQ(512u, cBufferSize);
    for (int i = 4; i < 16; ++i) EXPECT_EQ(0, out[i]) << "driver status byte " << i;
    EXPECT_TRUE(out.GuardIntact());
    EXPECT_EQ(in, simtest::CallsTo("DeviceIoControl").back().in);
    EXPECT_EQ(528u, simtest::CallsTo("DeviceIoControl").back().arg3);
}

struct RefusalCase {
    DriveState state;
    bool atapi;
    DWORD code;
    BYTE command;
    std::size_t inSize, outSize;
    DWORD error;
};

void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << "code 0x" << std::hex << c.code << " command 0x" << int(c.command) << std::dec << " in "
        << c.inSize << " out " << c.outSize << " error " << c.error;
}

class DriveRefusals : public PhysicalDrive, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(DriveRefusals, FailWithoutTouchingTheOutput)
{
    const RefusalCase& c = GetParam();
    sim::Scenario s = simtest::SmallScenario();
    s.drives[0].state = c.state;
    s.drives[0].atapi = c.atapi;
    sim::Reset(s);
    std::vector<std::uint8_t> in = IdentifyRequest(c.command);
    in.resize(c.inSize);
    GuardedBuffer out(c.outSize);
    DWORD returned = 99;
    EXPECT_FALSE(Ioctl(Open("\\\\.\\PhysicalDrive0"), c.code, in.data(), DWORD(in.size()),
                       out.data(), out.size(), &returned));
    EXPECT_EQ(c.error, pc::GetLastError());
    EXPECT_EQ(0u, returned);
    EXPECT_TRUE(out.Untouched());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, DriveRefusals,
    ::testing::Values(
        RefusalCase{I, false, SMART_GET_VERSION, 0, 0, 23, ERROR_INSUFFICIENT_BUFFER},
        RefusalCase{S, false, SMART_GET_VERSION, 0, 0, 24, kInvalidFunction},
        RefusalCase{S, false, SMART_RCV_DRIVE_DATA, ID_CMD, 32, 528, kInvalidFunction},
        RefusalCase{R, false, SMART_RCV_DRIVE_DATA, ID_CMD, 32, 528, ERROR_NOT_SUPPORTED},
        RefusalCase{I, false, SMART_RCV_DRIVE_DATA, ID_CMD, 32, 527, ERROR_INSUFFICIENT_BUFFER},
        RefusalCase{I, false, SMART_RCV_DRIVE_DATA, ID_CMD, 31, 528, ERROR_INVALID_PARAMETER},
        RefusalCase{I, false, SMART_RCV_DRIVE_DATA, ATAPI_ID_CMD, 32, 528, ERROR_NOT_SUPPORTED},
        RefusalCase{I, true, SMART_RCV_DRIVE_DATA, ID_CMD, 32, 528, ERROR_NOT_SUPPORTED},
        RefusalCase{I, false, IOCTL_DISK_GET_DRIVE_GEOMETRY, 0, 0, 24, kInvalidFunction},
        RefusalCase{I, false, IOCTL_DISK_FORMAT_TRACKS, 0, 20, 4, kInvalidFunction}));

TEST_F(PhysicalDrive, AtapiDrivesAnswerThePacketIdentify)
{
    sim::Scenario s = simtest::SmallScenario();
    s.drives[0].atapi = true;
    sim::Reset(s);
    const std::vector<std::uint8_t> in = IdentifyRequest(ATAPI_ID_CMD);
    GuardedBuffer out(528);
    DWORD returned = 0;
    EXPECT_TRUE(Ioctl(Open("\\\\.\\PhysicalDrive0"), SMART_RCV_DRIVE_DATA, in.data(),
                      DWORD(in.size()), out.data(), out.size(), &returned));
}

TEST_F(PhysicalDrive, RefusesEveryWriteAndRecordsIt)
{
    const HANDLE h = Open("\\\\.\\PhysicalDrive0");
    std::vector<std::uint8_t> sector(512, 0x55);
    DWORD written = 7;
    EXPECT_FALSE(pc::WriteFile(h, sector.data(), 512, &written, nullptr));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    EXPECT_EQ(0u, written);
    const sim::Call c = simtest::CallsTo("WriteFile").at(0);
    EXPECT_EQ("PhysicalDrive0", c.device);
    EXPECT_EQ(sector, c.in);
}

}  // namespace
