#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/sim/SimTestSupport.h"

namespace {

namespace fs = std::filesystem;
using simtest::GuardedBuffer;
using simtest::Ioctl;
using simtest::Open;

const DWORD kInvalidFunction = 1;
const DWORD kSectorNotFound = 27;
const DWORD kNotLocked = 158;
const std::size_t kCylinderBytes = 2 * 18 * 512;

FORMAT_PARAMETERS Cylinders(DWORD first, DWORD last, MEDIA_TYPE type = F3_1Pt44_512)
{
    FORMAT_PARAMETERS p{};
    p.MediaType = type;
    p.StartCylinderNumber = first;
    p.EndCylinderNumber = last;
    p.StartHeadNumber = 0;
    p.EndHeadNumber = 1;
    return p;
}

bool Format(HANDLE h, const FORMAT_PARAMETERS& p, DWORD outSize = 4)
{
    GuardedBuffer out(outSize);
    DWORD returned = 99;
    const bool ok = Ioctl(h, IOCTL_DISK_FORMAT_TRACKS, &p, sizeof p, out.data(), out.size(), &returned);
    EXPECT_TRUE(out.GuardIntact());
    return ok;
}

bool Write(HANDLE h, std::size_t size, std::uint8_t value, DWORD* written)
{
    std::vector<std::uint8_t> data(size, value);
    return pc::WriteFile(h, data.data(), DWORD(size), written, nullptr) != FALSE;
}

bool AllBytes(std::size_t from, std::size_t to, std::uint8_t value)
{
    const std::vector<std::uint8_t>& b = sim::Current().a.bytes;
    for (std::size_t i = from; i < to; ++i)
        if (b[i] != value) return false;
    return true;
}

class Diskette : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void Reset() { sim::Reset(scenario); }
    HANDLE OpenA() { return Open("\\\\.\\A:"); }
    sim::Scenario scenario = simtest::SmallScenario();
};

TEST_F(Diskette, OpensWhenThereIsADriveEvenWithoutAMedium)
{
    scenario.a.medium = false;
    Reset();
    const HANDLE h = OpenA();
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    GuardedBuffer out(24);
    DWORD returned = 0;
    EXPECT_FALSE(Ioctl(h, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, out.data(), 24, &returned));
    EXPECT_EQ(DWORD(ERROR_NOT_READY), pc::GetLastError());
    EXPECT_FALSE(Ioctl(h, FSCTL_LOCK_VOLUME));
    EXPECT_EQ(DWORD(ERROR_NOT_READY), pc::GetLastError());
    EXPECT_TRUE(Ioctl(h, IOCTL_DISK_GET_MEDIA_TYPES, nullptr, 0, out.data(), 24, &returned))
        << "the drive lists its media types with no diskette in it";

    scenario.a.drivePresent = false;
    Reset();
    EXPECT_EQ(INVALID_HANDLE_VALUE, OpenA());
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), pc::GetLastError());
}

TEST_F(Diskette, OnlyOneHandleHoldsTheLockAndClosingReleasesIt)
{
    const HANDLE a = OpenA(), b = OpenA();
    EXPECT_TRUE(Ioctl(a, FSCTL_LOCK_VOLUME));
    EXPECT_TRUE(sim::DisketteLocked());
    EXPECT_FALSE(Ioctl(b, FSCTL_LOCK_VOLUME));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    EXPECT_FALSE(Ioctl(a, FSCTL_LOCK_VOLUME)) << "the volume is locked already";
    EXPECT_FALSE(Ioctl(b, FSCTL_UNLOCK_VOLUME));
    EXPECT_EQ(kNotLocked, pc::GetLastError());
    EXPECT_TRUE(Ioctl(a, FSCTL_DISMOUNT_VOLUME));

    EXPECT_TRUE(pc::CloseHandle(a));
    EXPECT_FALSE(sim::DisketteLocked());
    EXPECT_TRUE(Ioctl(b, FSCTL_LOCK_VOLUME));
    EXPECT_TRUE(Ioctl(b, FSCTL_UNLOCK_VOLUME));
    EXPECT_FALSE(Ioctl(b, FSCTL_UNLOCK_VOLUME));
    EXPECT_FALSE(sim::DisketteLocked());
}

TEST_F(Diskette, ARefusedLockIsAccessDenied)
{
    scenario.a.lockRefused = true;
    Reset();
    EXPECT_FALSE(Ioctl(OpenA(), FSCTL_LOCK_VOLUME));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    EXPECT_FALSE(sim::DisketteLocked());
}

TEST_F(Diskette, GeometryIsTheMediumInTheDrive)
{
    struct Case {
        std::vector<DISK_GEOMETRY> list;
        MEDIA_TYPE want;
    };
    DISK_GEOMETRY g288{};
    g288.Cylinders.QuadPart = 80;
    g288.MediaType = F3_2Pt88_512;
    g288.TracksPerCylinder = 2;
    g288.SectorsPerTrack = 36;
    g288.BytesPerSector = 512;
    const Case cases[] = {{{sim::Geometry720K(), sim::Geometry1440K()}, F3_1Pt44_512},
                          {{sim::Geometry1440K(), g288}, F3_1Pt44_512},
                          {{sim::Geometry720K()}, F3_720_512},
                          {{}, F3_1Pt44_512}};
    for (const Case& c : cases) {
        scenario.a.mediaTypes = c.list;
        Reset();
        GuardedBuffer out(24);
        DWORD returned = 0;
        ASSERT_TRUE(Ioctl(OpenA(), IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, out.data(), 24, &returned));
        EXPECT_EQ(24u, returned);
        DISK_GEOMETRY g;
        std::memcpy(&g, out.data(), sizeof g);
        EXPECT_EQ(c.want, g.MediaType);
        EXPECT_TRUE(out.GuardIntact());
    }
    GuardedBuffer small(23);
    DWORD returned = 0;
    EXPECT_FALSE(Ioctl(OpenA(), IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, small.data(), 23, &returned));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), pc::GetLastError());
    EXPECT_TRUE(small.Untouched());
}

struct MediaCase {
    DWORD outSize;
    long long override_;
    bool ok;
    DWORD returned;
    std::size_t copied;  // entries
};

void PrintTo(const MediaCase& c, std::ostream* os)
{
    *os << "out " << c.outSize << " override " << c.override_;
}

class MediaTypesQuery : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaTypesQuery, CopiesNoMoreThanFits)
{
    const MediaCase& c = GetParam();
    sim::Scenario s;
    s.a.mediaTypesBytesOverride = c.override_;
    sim::Reset(s);
    GuardedBuffer out(c.outSize);
    DWORD returned = 99;
    EXPECT_EQ(c.ok, Ioctl(Open("\\\\.\\A:"), IOCTL_DISK_GET_MEDIA_TYPES, nullptr, 0, out.data(),
                          out.size(), &returned));
    EXPECT_EQ(c.returned, returned);
    EXPECT_TRUE(out.GuardIntact());
    for (std::size_t i = 0; i < c.copied; ++i)
        EXPECT_EQ(0, std::memcmp(out.data() + i * 24, &sim::Current().a.mediaTypes[i], 24));
    for (std::size_t i = c.copied * 24; i < c.outSize; ++i) ASSERT_EQ(0xEE, out[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, MediaTypesQuery,
    ::testing::Values(MediaCase{0, -1, false, 0, 0}, MediaCase{23, -1, false, 0, 0},
                      MediaCase{24, -1, true, 24, 1}, MediaCase{47, -1, true, 24, 1},
                      MediaCase{48, -1, true, 48, 2}, MediaCase{240, -1, true, 48, 2},
                      // A driver reporting more than it could have copied.
                      MediaCase{48, 480, true, 480, 2}, MediaCase{24, 47, true, 47, 1},
                      MediaCase{240, 0, true, 0, 2}));

TEST_F(Diskette, ARefusedMediaQueryFails)
{
    scenario.a.mediaTypesRefused = true;
    Reset();
    GuardedBuffer out(48);
    DWORD returned = 0;
    EXPECT_FALSE(Ioctl(OpenA(), IOCTL_DISK_GET_MEDIA_TYPES, nullptr, 0, out.data(), 48, &returned));
    EXPECT_EQ(kInvalidFunction, pc::GetLastError());
    EXPECT_TRUE(out.Untouched());
}

TEST_F(Diskette, FormattingNeedsTheLockOnThisHandle)
{
    const HANDLE a = OpenA(), b = OpenA();
    EXPECT_FALSE(Format(a, Cylinders(0, 0)));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    ASSERT_TRUE(Ioctl(b, FSCTL_LOCK_VOLUME));
    EXPECT_FALSE(Format(a, Cylinders(0, 0)));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    EXPECT_TRUE(AllBytes(0, sim::kDisketteBytes, 0));
    EXPECT_TRUE(Format(b, Cylinders(0, 0)));
}

TEST_F(Diskette, FormatFillsExactlyTheTracksAsked)
{
    const HANDLE h = OpenA();
    ASSERT_TRUE(Ioctl(h, FSCTL_LOCK_VOLUME));
    EXPECT_TRUE(Format(h, Cylinders(3, 3)));
    EXPECT_TRUE(AllBytes(0, 3 * kCylinderBytes, 0));
    EXPECT_TRUE(AllBytes(3 * kCylinderBytes, 4 * kCylinderBytes, 0xF6));
    EXPECT_TRUE(AllBytes(4 * kCylinderBytes, sim::kDisketteBytes, 0));

    FORMAT_PARAMETERS head1 = Cylinders(79, 79);
    head1.StartHeadNumber = 1;
    EXPECT_TRUE(Format(h, head1, 2));
    EXPECT_TRUE(AllBytes(79 * kCylinderBytes, 79 * kCylinderBytes + kCylinderBytes / 2, 0));
    EXPECT_TRUE(AllBytes(79 * kCylinderBytes + kCylinderBytes / 2, sim::kDisketteBytes, 0xF6));

    // A 720 KB format lays out half as many bytes per cylinder.
    EXPECT_TRUE(Format(h, Cylinders(10, 10, F3_720_512)));
    EXPECT_TRUE(AllBytes(10 * kCylinderBytes / 2, 11 * kCylinderBytes / 2, 0xF6));
    EXPECT_TRUE(AllBytes(11 * kCylinderBytes / 2, 3 * kCylinderBytes, 0));
}

struct FormatCase {
    const char* what;
    FORMAT_PARAMETERS params;
    DWORD inSize, outSize;
    DWORD error;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.what; }

class FormatRefusals : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatRefusals, LeaveTheMediumAlone)
{
    const FormatCase& c = GetParam();
    sim::Scenario s;
    s.a.formatRefusedAtCylinder = 40;
    DISK_GEOMETRY g288{};
    g288.Cylinders.QuadPart = 80;
    g288.MediaType = F3_2Pt88_512;
    g288.TracksPerCylinder = 2;
    g288.SectorsPerTrack = 36;
    g288.BytesPerSector = 512;
    s.a.mediaTypes.push_back(g288);
    sim::Reset(s);
    const HANDLE h = Open("\\\\.\\A:");
    ASSERT_TRUE(Ioctl(h, FSCTL_LOCK_VOLUME));
    GuardedBuffer out(c.outSize);
    DWORD returned = 99;
    EXPECT_FALSE(Ioctl(h, IOCTL_DISK_FORMAT_TRACKS, &c.params, c.inSize, out.data(), out.size(),
                       &returned))
        << c.what;
    EXPECT_EQ(c.error, pc::GetLastError()) << c.what;
    EXPECT_TRUE(out.Untouched()) << c.what;
    EXPECT_TRUE(AllBytes(0, sim::kDisketteBytes, 0)) << c.what;
}

FORMAT_PARAMETERS Heads(DWORD first, DWORD last)
{
    FORMAT_PARAMETERS p = Cylinders(5, 5);
    p.StartHeadNumber = first;
    p.EndHeadNumber = last;
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, FormatRefusals,
    ::testing::Values(
        FormatCase{"short input", Cylinders(0, 0), 19, 4, ERROR_INVALID_PARAMETER},
        FormatCase{"type not listed", Cylinders(0, 0, F5_1Pt2_512), 20, 4, ERROR_INVALID_PARAMETER},
        FormatCase{"cylinder 80", Cylinders(80, 80), 20, 4, ERROR_INVALID_PARAMETER},
        FormatCase{"backwards", Cylinders(6, 5), 20, 4, ERROR_INVALID_PARAMETER},
        FormatCase{"head 2", Heads(0, 2), 20, 6, ERROR_INVALID_PARAMETER},
        FormatCase{"heads backwards", Heads(1, 0), 20, 4, ERROR_INVALID_PARAMETER},
        FormatCase{"no room for bad tracks", Cylinders(0, 1), 20, 7, ERROR_INSUFFICIENT_BUFFER},
        FormatCase{"refused cylinder", Cylinders(40, 40), 20, 4, ERROR_WRITE_FAULT},
        FormatCase{"range over the refused cylinder", Cylinders(39, 41), 20, 12, ERROR_WRITE_FAULT},
        FormatCase{"2.88 MB on a 1.44 MB medium", Cylinders(0, 0, F3_2Pt88_512), 20, 4, 1785}));

TEST_F(Diskette, FormatsStopAtTheEndOfTheBackingBytes)
{
    // A 2.88 MB drive holds a 2.88 MB medium, but the simulated medium has 1.44 MB only.
    DISK_GEOMETRY g288 = sim::Geometry1440K();
    g288.MediaType = F3_2Pt88_512;
    g288.SectorsPerTrack = 36;
    scenario.a.mediaTypes = {g288};
    Reset();
    const HANDLE h = OpenA();
    ASSERT_TRUE(Ioctl(h, FSCTL_LOCK_VOLUME));
    EXPECT_TRUE(Format(h, Cylinders(39, 39, F3_2Pt88_512)));
    EXPECT_FALSE(Format(h, Cylinders(40, 40, F3_2Pt88_512)));
    EXPECT_EQ(kSectorNotFound, pc::GetLastError());
}

TEST_F(Diskette, WritesFollowEachOtherFromTheStart)
{
    const HANDLE h = OpenA();
    DWORD written = 0;
    ASSERT_TRUE(Write(h, kCylinderBytes, 0x11, &written));
    EXPECT_EQ(kCylinderBytes, written);
    ASSERT_TRUE(Write(h, kCylinderBytes, 0x22, &written));
    EXPECT_TRUE(AllBytes(0, kCylinderBytes, 0x11));
    EXPECT_TRUE(AllBytes(kCylinderBytes, 2 * kCylinderBytes, 0x22));
    const std::vector<sim::Call> writes = simtest::CallsTo("WriteFile");
    EXPECT_EQ(0u, writes[0].offset);
    EXPECT_EQ(kCylinderBytes, writes[1].offset);
    EXPECT_EQ(kCylinderBytes, writes[1].arg3);

    // Each handle starts at the beginning again.
    ASSERT_TRUE(Write(OpenA(), 512, 0x33, &written));
    EXPECT_TRUE(AllBytes(0, 512, 0x33));
}

TEST_F(Diskette, WritesStopAtTheEndOfTheMedium)
{
    const HANDLE h = OpenA();
    DWORD written = 0;
    for (int c = 0; c < 79; ++c) ASSERT_TRUE(Write(h, kCylinderBytes, 0x44, &written));
    EXPECT_FALSE(Write(h, kCylinderBytes + 512, 0x55, &written));
    EXPECT_EQ(kSectorNotFound, pc::GetLastError());
    EXPECT_EQ(0u, written);
    EXPECT_TRUE(AllBytes(79 * kCylinderBytes, sim::kDisketteBytes, 0));
    EXPECT_TRUE(Write(h, kCylinderBytes, 0x55, &written));
    EXPECT_FALSE(Write(h, 512, 0x66, &written));
    EXPECT_TRUE(AllBytes(79 * kCylinderBytes, sim::kDisketteBytes, 0x55));
}

TEST_F(Diskette, WritesRefusedForTheWholeRequest)
{
    DWORD written = 9;
    EXPECT_FALSE(Write(OpenA(), 100, 0x77, &written));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), pc::GetLastError()) << "not whole sectors";

    const HANDLE locker = OpenA();
    ASSERT_TRUE(Ioctl(locker, FSCTL_LOCK_VOLUME));
    EXPECT_FALSE(Write(OpenA(), 512, 0x77, &written));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError()) << "locked by another handle";
    EXPECT_TRUE(Write(locker, 512, 0x77, &written));

    const HANDLE readOnly = pc::CreateFileA("\\\\.\\A:", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(pc::CloseHandle(locker));
    EXPECT_FALSE(Write(readOnly, 512, 0x77, &written));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError()) << "opened for reading only";
    EXPECT_TRUE(AllBytes(512, sim::kDisketteBytes, 0));
}

TEST_F(Diskette, TheChosenWriteFailsOrFallsShort)
{
    scenario.a.writeFailsAtStep = 2;
    Reset();
    HANDLE h = OpenA();
    DWORD written = 0;
    EXPECT_TRUE(Write(h, kCylinderBytes, 0x11, &written));
    EXPECT_FALSE(Write(h, kCylinderBytes, 0x22, &written));
    EXPECT_EQ(DWORD(ERROR_WRITE_FAULT), pc::GetLastError());
    EXPECT_TRUE(AllBytes(kCylinderBytes, sim::kDisketteBytes, 0));
    EXPECT_TRUE(Write(h, kCylinderBytes, 0x33, &written)) << "only that one write fails";
    EXPECT_TRUE(AllBytes(kCylinderBytes, 2 * kCylinderBytes, 0x33)) << "a failed write does not move";

    scenario.a.writeShort = true;
    Reset();
    h = OpenA();
    EXPECT_TRUE(Write(h, kCylinderBytes, 0x11, &written));
    EXPECT_TRUE(Write(h, kCylinderBytes, 0x22, &written));
    EXPECT_EQ(kCylinderBytes / 2, written);
    EXPECT_TRUE(Write(h, 512, 0x33, &written));
    EXPECT_TRUE(AllBytes(kCylinderBytes, kCylinderBytes * 3 / 2, 0x22));
    EXPECT_TRUE(AllBytes(kCylinderBytes * 3 / 2, kCylinderBytes * 3 / 2 + 512, 0x33));
}

class DisketteFile : public Diskette {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("vflash-sim-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        scenario.a.file = (dir / "a.img").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::uint8_t> FileBytes() const
    {
        std::ifstream in(scenario.a.file, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void WriteFileBytes(std::size_t size, std::uint8_t value)
    {
        std::ofstream(scenario.a.file, std::ios::binary)
            << std::string(size, static_cast<char>(value));
    }

    fs::path dir;
};

TEST_F(DisketteFile, IsLoadedOnlyWhenItHasTheRightSize)
{
    WriteFileBytes(sim::kDisketteBytes, 0x5A);
    Reset();
    EXPECT_TRUE(AllBytes(0, sim::kDisketteBytes, 0x5A));

    WriteFileBytes(sim::kDisketteBytes - 1, 0x5A);
    Reset();
    ASSERT_EQ(sim::kDisketteBytes, sim::Current().a.bytes.size());
    EXPECT_TRUE(AllBytes(0, sim::kDisketteBytes, 0));
}

TEST_F(DisketteFile, HoldsWhatWasFormattedAndWritten)
{
    Reset();  // no file yet
    const HANDLE h = OpenA();
    ASSERT_TRUE(Ioctl(h, FSCTL_LOCK_VOLUME));
    ASSERT_TRUE(Format(h, Cylinders(1, 1)));
    DWORD written = 0;
    ASSERT_TRUE(Write(h, 512, 0xAB, &written));
    std::vector<std::uint8_t> bytes = FileBytes();
    ASSERT_EQ(sim::kDisketteBytes, bytes.size());
    EXPECT_EQ(sim::Current().a.bytes, bytes);
    EXPECT_EQ(0xAB, bytes[0]);
    EXPECT_EQ(0xF6, bytes[kCylinderBytes]);

    // A file replaced behind the sim's back is written whole again by a flush.
    WriteFileBytes(10, 0);
    sim::FlushDiskette();
    EXPECT_EQ(sim::Current().a.bytes, FileBytes());
}

}  // namespace
