// The diskette writer: the requests the volume in A: receives for a complete diskette, how
// each refusal ends an operation, every pc:: call failing in turn, and the choice of media
// type.
#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

#include "DisketteRun.h"
#include "app/FlashDlg.h"
#include "app/Messages.h"
#include "diskette/DisketteWriter.h"
#include "platform/sim/MediaTypes.h"

namespace {

const DWORD kCylinders = 80;
const DWORD kCylinderBytes = 18432;

enum class Op { Prepare, Write };

int Perform(Op op, const char* drive = "A:")
{
    return op == Op::Prepare ? PrepareDiskette(drive) : WriteDisketteImage(drive);
}

// The calls the writer makes itself: on the PC, and the progress it reports.
bool IsWriterCall(const sim::Call& c)
{
    return test::IsPcCall(c) || (c.fn == "SendMessageA" && c.code == WM_UPDATE_PROGRESS);
}

std::vector<sim::Call> WriterCalls(const std::vector<sim::Call>& calls)
{
    std::vector<sim::Call> out;
    for (const sim::Call& c : calls)
        if (IsWriterCall(c)) out.push_back(c);
    return out;
}

std::string Hex(std::uint64_t v)
{
    std::ostringstream s;
    s << "0x" << std::hex << v;
    return s.str();
}

DWORD Dword(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    DWORD v = 0;
    if (at + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + at, sizeof v);
    return v;
}

// One line per call, with what matters about it; tests compare lists of these.
std::string Describe(const sim::Call& c)
{
    if (c.fn == "SendMessageA" && c.code == WM_UPDATE_PROGRESS)
        return "progress " + std::to_string(c.arg1) + " " + std::to_string(HIWORD(c.arg2)) + "/" +
               std::to_string(LOWORD(c.arg2));
    if (c.fn == "CreateFileA")
        return "open " + c.text + " access " + Hex(c.arg1) + " share " + Hex(c.arg2) + " disposition " +
               std::to_string(c.code) + " flags " + Hex(c.arg3);
    if (c.fn == "DeviceIoControl") {
        switch (c.code) {
        case FSCTL_LOCK_VOLUME: return "lock";
        case FSCTL_UNLOCK_VOLUME: return "unlock";
        case FSCTL_DISMOUNT_VOLUME: return "dismount";
        case IOCTL_DISK_GET_DRIVE_GEOMETRY: return "geometry out " + std::to_string(c.arg2);
        case IOCTL_DISK_GET_MEDIA_TYPES: return "media types out " + std::to_string(c.arg2);
        case IOCTL_DISK_FORMAT_TRACKS:
            return "format type " + std::to_string(Dword(c.in, 0)) + " cylinders " +
                   std::to_string(Dword(c.in, 4)) + "-" + std::to_string(Dword(c.in, 8)) +
                   " heads " + std::to_string(Dword(c.in, 12)) + "-" + std::to_string(Dword(c.in, 16)) +
                   " in " + std::to_string(c.arg1) + " out " + std::to_string(c.arg2);
        default: return "ioctl " + Hex(c.code);
        }
    }
    if (c.fn == "WriteFile") return "write " + std::to_string(c.arg1) + " at " + std::to_string(c.offset);
    if (c.fn == "LocalAlloc") return "alloc flags " + Hex(c.code) + " size " + std::to_string(c.arg1);
    if (c.fn == "LocalFree") return "free";
    if (c.fn == "CloseHandle") return "close";
    return c.fn;
}

std::vector<std::string> Describe(const std::vector<sim::Call>& calls)
{
    std::vector<std::string> out;
    for (const sim::Call& c : calls) out.push_back(Describe(c));
    return out;
}

std::string Progress(int phase, DWORD k) { return "progress " + std::to_string(phase) + " " + std::to_string(k) + "/80"; }

// What an opening of the volume sends before the operation proper.
std::vector<std::string> OpeningLines()
{
    return {"open \\\\.\\A: access 0xc0000000 share 0x3 disposition 3 flags 0x0", "lock",
            "geometry out 24", "media types out 480"};
}

// Every request of a complete write of the 1.44 MB format, in order.
std::vector<std::string> CompleteWriteLines()
{
    std::vector<std::string> want = OpeningLines();
    want.push_back("alloc flags 0x40 size 4");
    for (DWORD c = 0; c < kCylinders; ++c) {
        want.push_back(Progress(0, c + 1));
        want.push_back("format type 2 cylinders " + std::to_string(c) + "-" + std::to_string(c) +
                       " heads 0-1 in 20 out 4");
    }
    want.push_back("free");
    for (DWORD s = 1; s <= kCylinders; ++s) {
        want.push_back(Progress(1, s));
        want.push_back("write 18432 at " + std::to_string((s - 1) * kCylinderBytes));
    }
    want.insert(want.end(), {"dismount", "unlock", "close"});
    return want;
}

class WriterTest : public test::ProgramTest {};

// The whole program, as the user runs it: the worker prepares, formats and writes, and
// the diskette ends up holding the image byte for byte.
TEST_F(WriterTest, CompleteRunFormatsEveryCylinderThenWritesTheImage)
{
    test::Run run = test::RunProgram(test::UpdateScenario(), test::Wait(), test::AnswerOk());

    EXPECT_EQ(test::VolumeOps(run.calls), (std::vector<std::string>{"P+", "W+"}));
    // The write's calls, from its opening to its close, on the worker's thread.
    std::size_t opens = 0, begin = run.calls.size();
    for (std::size_t i = 0; i < run.calls.size() && begin == run.calls.size(); ++i)
        if (run.calls[i].fn == "CreateFileA" && run.calls[i].device == "A:" && ++opens == 2) begin = i;
    ASSERT_LT(begin, run.calls.size());
    const sim::Call& open = run.calls[begin];
    std::vector<sim::Call> write;
    for (std::size_t i = begin; i < run.calls.size(); ++i) {
        const sim::Call& c = run.calls[i];
        if (c.thread != open.thread || !IsWriterCall(c)) continue;
        write.push_back(c);
        if (c.fn == "CloseHandle" && c.handle == static_cast<std::uint64_t>(open.result)) break;
    }
    EXPECT_EQ(Describe(write), CompleteWriteLines());

    HWND dlg = nullptr;
    for (const sim::Call& c : write) {
        if (c.fn == "SendMessageA") {
            if (!dlg) dlg = reinterpret_cast<HWND>(c.handle);
            EXPECT_EQ(c.handle, reinterpret_cast<std::uint64_t>(dlg)) << "progress to one dialog";
        } else if (c.fn != "CreateFileA" && c.fn != "LocalAlloc" && c.fn != "LocalFree") {
            EXPECT_EQ(c.handle, static_cast<std::uint64_t>(open.result)) << Describe(c);
        }
        if (c.fn == "DeviceIoControl" || c.fn == "WriteFile" || c.fn == "CloseHandle") {
            EXPECT_EQ(c.result, 1) << Describe(c) << " failed";
        }
        if (c.fn == "LocalFree") {
            EXPECT_EQ(c.handle, static_cast<std::uint64_t>(write[4].result)) << "frees its block";
            EXPECT_EQ(c.result, 0);
        }
    }
    EXPECT_EQ(run.progress.back(), 100);

    const std::vector<std::uint8_t> image = test::ImageBytes();
    ASSERT_EQ(image.size(), sim::kDisketteBytes);
    EXPECT_TRUE(sim::Current().a.bytes == image) << "the diskette does not hold the image";
    EXPECT_EQ(test::OpenVolumeHandles(run.calls), 0);
    EXPECT_FALSE(sim::DisketteLocked());
    EXPECT_EQ(sim::LiveLocalAllocs(), 0u);
    EXPECT_EQ(sim::RestartRequests(), 1);  // the worker took the result for a written diskette
}

// ---- Each refusal ---------------------------------------------------------------------

struct FailureRow {
    const char* name;
    Op op;
    std::function<void(sim::Scenario&)> shape;
    long failCall;  // the pc:: call of the operation to fail (1: its first), or 0
    bool noImage;
    int want;
    bool tried;     // CreateFileA was called
    bool opened;    // ...and gave a handle
    int queries;    // lock, geometry, media types: how many were sent
    int formats;    // format requests sent (each after its progress message)
    int writes;     // writes sent (each after its progress message)
};

void PrintTo(const FailureRow& row, std::ostream* os) { *os << row.name; }

class WriterFailureTest : public WriterTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(WriterFailureTest, EndsWithTheVolumeClosedAndNothingPastTheFault)
{
    const FailureRow& row = GetParam();
    sim::Scenario s = test::BaseScenario();
    if (row.shape) row.shape(s);
    int result = -1;
    std::vector<sim::Call> calls;
    std::size_t allocs = 99;
    bool locked = true;
    int handles = -1;
    test::WithActiveDialog([&](CFlashDlg* dlg) {
        const BYTE* image = dlg->m_pImage;
        if (row.noImage) dlg->m_pImage = nullptr;
        sim::Reset(s);
        if (row.failCall) sim::FailCall(row.failCall);
        result = Perform(row.op);
        dlg->m_pImage = image;
        calls = WriterCalls(sim::Calls());
        allocs = sim::LiveLocalAllocs();
        locked = sim::DisketteLocked();
        handles = sim::OpenHandleCount();
    });

    EXPECT_EQ(result, row.want);
    std::vector<std::string> want;
    if (row.tried) {
        const std::vector<std::string> opening = OpeningLines();
        want.push_back(opening[0]);
        for (int q = 0; q < row.queries; ++q) want.push_back(opening[1 + q]);
        // A refused lock is told apart by its error: not ready (no diskette) or in use.
        if (row.queries == 1) want.push_back("GetLastError");
    }
    const bool allocated = row.formats > 0 || (row.op == Op::Write && row.queries == 3 &&
                                               row.failCall == 5);
    if (allocated) want.push_back("alloc flags 0x40 size 4");
    for (int c = 0; c < row.formats; ++c) {
        want.push_back(Progress(0, c + 1));
        want.push_back("format type 2 cylinders " + std::to_string(c) + "-" + std::to_string(c) +
                       " heads 0-1 in 20 out 4");
    }
    if (row.formats > 0) want.push_back("free");
    for (int w = 1; w <= row.writes; ++w) {
        want.push_back(Progress(1, w));
        want.push_back("write 18432 at " + std::to_string((w - 1) * kCylinderBytes));
    }
    if (row.opened) want.push_back("close");
    EXPECT_EQ(Describe(calls), want);

    EXPECT_EQ(handles, 0);
    EXPECT_FALSE(locked);
    EXPECT_EQ(allocs, 0u);
}

void NoDrive(sim::Scenario& s) { s.a.drivePresent = false; }
void EmptyDrive(sim::Scenario& s) { s.a.medium = false; }
void LockRefused(sim::Scenario& s) { s.a.lockRefused = true; }
void MediaRefused(sim::Scenario& s) { s.a.mediaTypesRefused = true; }
void NoMediaTypes(sim::Scenario& s) { s.a.mediaTypes.clear(); }
void Only720K(sim::Scenario& s) { s.a.mediaTypes = {sim::Geometry720K()}; }
std::function<void(sim::Scenario&)> FormatRefusedAt(int cylinder)
{
    return [cylinder](sim::Scenario& s) { s.a.formatRefusedAtCylinder = cylinder; };
}
std::function<void(sim::Scenario&)> WriteFailsAt(int step, bool shortWrite)
{
    return [step, shortWrite](sim::Scenario& s) {
        s.a.writeFailsAtStep = step;
        s.a.writeShort = shortWrite;
    };
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriterFailureTest,
    ::testing::Values(
        FailureRow{"prepare_no_drive", Op::Prepare, NoDrive, 0, false, 1, true, false, 0, 0, 0},
        // An empty drive refuses the lock as not ready: no diskette, not another program.
        FailureRow{"prepare_empty_drive", Op::Prepare, EmptyDrive, 0, false, 1, true, true, 1, 0, 0},
        FailureRow{"prepare_lock_refused", Op::Prepare, LockRefused, 0, false, 2, true, true, 1, 0, 0},
        FailureRow{"prepare_geometry_refused", Op::Prepare, nullptr, 3, false, 1, true, true, 2, 0, 0},
        FailureRow{"prepare_media_types_refused", Op::Prepare, MediaRefused, 0, false, 1, true, true, 3, 0, 0},
        FailureRow{"prepare_no_media_types", Op::Prepare, NoMediaTypes, 0, false, 1, true, true, 3, 0, 0},
        FailureRow{"write_no_image", Op::Write, nullptr, 0, true, 1, false, false, 0, 0, 0},
        FailureRow{"write_no_drive", Op::Write, NoDrive, 0, false, 1, true, false, 0, 0, 0},
        FailureRow{"write_lock_refused", Op::Write, LockRefused, 0, false, 2, true, true, 1, 0, 0},
        FailureRow{"write_geometry_refused", Op::Write, nullptr, 3, false, 1, true, true, 2, 0, 0},
        FailureRow{"write_media_types_refused", Op::Write, MediaRefused, 0, false, 1, true, true, 3, 0, 0},
        FailureRow{"write_no_media_types", Op::Write, NoMediaTypes, 0, false, 1, true, true, 3, 0, 0},
        FailureRow{"write_no_type_takes_the_image", Op::Write, Only720K, 0, false, 1, true, true, 3, 0, 0},
        FailureRow{"write_no_buffer", Op::Write, nullptr, 5, false, 1, true, true, 3, 0, 0},
        FailureRow{"write_format_refused_first", Op::Write, FormatRefusedAt(0), 0, false, 1, true, true, 3, 1, 0},
        FailureRow{"write_format_refused_middle", Op::Write, FormatRefusedAt(37), 0, false, 1, true, true, 3, 38, 0},
        FailureRow{"write_format_refused_last", Op::Write, FormatRefusedAt(79), 0, false, 1, true, true, 3, 80, 0},
        FailureRow{"write_fails_first", Op::Write, WriteFailsAt(1, false), 0, false, 1, true, true, 3, 80, 1},
        FailureRow{"write_fails_middle", Op::Write, WriteFailsAt(40, false), 0, false, 1, true, true, 3, 80, 40},
        FailureRow{"write_fails_last", Op::Write, WriteFailsAt(80, false), 0, false, 1, true, true, 3, 80, 80},
        FailureRow{"write_short_first", Op::Write, WriteFailsAt(1, true), 0, false, 1, true, true, 3, 80, 1},
        FailureRow{"write_short_last", Op::Write, WriteFailsAt(80, true), 0, false, 1, true, true, 3, 80, 80}),
    [](const ::testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.name); });

// ---- Every call failing in turn -------------------------------------------------------

struct Injected {
    long k;
    std::string failed;  // the call that was made to fail
    int result;
    std::vector<std::string> lines;
    int handles;
    bool locked;
    std::size_t allocs;
};

class WriterInjectionTest : public WriterTest, public ::testing::WithParamInterface<Op> {};

// The result each failed call must give, and whether the operation goes on past it.
int ResultWhenFailing(const std::string& line)
{
    if (line == "lock") return 2;
    if (line == "free" || line == "dismount" || line == "unlock" || line == "close") return 0;
    return 1;
}

TEST_P(WriterInjectionTest, EachFailedCallEndsCleanly)
{
    const Op op = GetParam();
    const sim::Scenario s = test::BaseScenario();
    std::vector<std::string> clean;
    std::vector<Injected> runs;
    test::WithActiveDialog([&](CFlashDlg*) {
        sim::Reset(s);
        Perform(op);
        for (const sim::Call& c : WriterCalls(sim::Calls()))
            if (test::IsPcCall(c)) clean.push_back(Describe(c));
        for (long k = 1; k <= static_cast<long>(clean.size()); ++k) {
            sim::Reset(s);
            sim::FailCall(k);
            Injected run;
            run.k = k;
            run.failed = clean[k - 1];
            run.result = Perform(op);
            run.lines = Describe(WriterCalls(sim::Calls()));
            run.handles = sim::OpenHandleCount();
            run.locked = sim::DisketteLocked();
            run.allocs = sim::LiveLocalAllocs();
            runs.push_back(run);
        }
    });
    ASSERT_EQ(clean.size(), op == Op::Prepare ? 5u : 4u + 1u + kCylinders + 1u + kCylinders + 3u);
    const std::vector<std::string> cleanAll =
        op == Op::Prepare ? std::vector<std::string>{OpeningLines()[0], "lock", "geometry out 24",
                                                     "media types out 480", "close"}
                          : CompleteWriteLines();

    for (const Injected& run : runs) {
        SCOPED_TRACE("failing call " + std::to_string(run.k) + ": " + run.failed);
        const int want = ResultWhenFailing(run.failed);
        EXPECT_EQ(run.result, want);
        EXPECT_EQ(run.handles, 0) << "a volume handle was left open";
        EXPECT_FALSE(run.locked);
        // A block that LocalFree refused to free is the one thing the program cannot undo.
        EXPECT_EQ(run.allocs, run.failed == "free" ? 1u : 0u);
        if (want == 0) {
            // Nothing after a successful write depends on these: the run is unchanged.
            EXPECT_EQ(run.lines, cleanAll);
            continue;
        }
        // The operation stops at the failed call, releasing what it holds in order.
        std::size_t at = 0;
        for (long pc = 0; at < run.lines.size(); ++at) {
            if (run.lines[at].rfind("progress", 0) != 0 && ++pc == run.k) break;
        }
        ASSERT_LT(at, run.lines.size());
        std::vector<std::string> before(run.lines.begin(), run.lines.begin() + at + 1);
        std::vector<std::string> expectBefore(cleanAll.begin(), cleanAll.begin() + at + 1);
        EXPECT_EQ(before, expectBefore);
        std::vector<std::string> after(run.lines.begin() + at + 1, run.lines.end());
        std::vector<std::string> wantAfter;
        const bool inFormat = run.failed.rfind("format", 0) == 0;
        if (inFormat) wantAfter.push_back("free");
        if (run.failed == "lock") wantAfter.push_back("GetLastError");  // not ready, or in use?
        if (run.failed.rfind("open", 0) != 0) wantAfter.push_back("close");
        EXPECT_EQ(after, wantAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, WriterInjectionTest, ::testing::Values(Op::Prepare, Op::Write),
                         [](const ::testing::TestParamInfo<Op>& info) {
                             return std::string(info.param == Op::Prepare ? "prepare" : "write");
                         });

// ---- The choice of media type ---------------------------------------------------------

const DISK_GEOMETRY k288 = sim::MakeGeometry(F3_2Pt88_512, 80, 2, 36, 512);
const DISK_GEOMETRY k144 = sim::Geometry1440K();
const DISK_GEOMETRY k720 = sim::Geometry720K();
// 1 x 131117 x 32768 = 2^32 + 1474560 bytes: the image's length once cut to 32 bits.
const DISK_GEOMETRY kTrackWraps = sim::MakeGeometry(F3_2Pt88_512, 1, 1, 131117, 32768);
// 2097232 cylinders of 18432 bytes = 9 x 2^32 + 1474560 bytes.
const DISK_GEOMETRY kCylindersWrap = sim::MakeGeometry(F3_2Pt88_512, 2097232, 2, 18, 512);

std::vector<DISK_GEOMETRY> Times(int n, const DISK_GEOMETRY& g) { return std::vector<DISK_GEOMETRY>(n, g); }
std::vector<DISK_GEOMETRY> Then(std::vector<DISK_GEOMETRY> list, const DISK_GEOMETRY& g)
{
    list.push_back(g);
    return list;
}

struct ChoiceRow {
    const char* name;
    std::vector<DISK_GEOMETRY> types;
    long long bytes;  // the byte count the media-type query answers, or -1: 24 per entry
    int want;
    DWORD wantCount;  // g_nMediaTypes after the query
};

void PrintTo(const ChoiceRow& row, std::ostream* os) { *os << row.name; }

class WriterChoiceTest : public WriterTest, public ::testing::WithParamInterface<ChoiceRow> {};

// The image goes onto the first listed type of exactly its size, or nowhere; a type the
// driver did not fully list is never taken.
TEST_P(WriterChoiceTest, FormatsTheFirstTypeOfTheImageSizeOnly)
{
    const ChoiceRow& row = GetParam();
    sim::Scenario s = test::BaseScenario();
    s.a.mediaTypes = row.types;
    s.a.mediaTypesBytesOverride = row.bytes;
    int result = -1;
    std::vector<sim::Call> calls;
    DWORD count = 99;
    test::WithActiveDialog([&](CFlashDlg*) {
        sim::Reset(s);
        result = WriteDisketteImage("A:");
        count = g_nMediaTypes;
        calls = WriterCalls(sim::Calls());
    });
    EXPECT_EQ(result, row.want);
    EXPECT_EQ(count, row.wantCount);
    int formats = 0, writes = 0;
    for (const sim::Call& c : calls) {
        if (c.fn == "DeviceIoControl" && c.code == IOCTL_DISK_FORMAT_TRACKS) {
            ++formats;
            EXPECT_EQ(Dword(c.in, 0), DWORD(F3_1Pt44_512));
        }
        if (c.fn == "WriteFile") {
            ++writes;
            EXPECT_EQ(c.arg1, kCylinderBytes);
        }
    }
    EXPECT_EQ(formats, row.want == 0 ? 80 : 0);
    EXPECT_EQ(writes, row.want == 0 ? 80 : 0);
    EXPECT_EQ(test::CallsNamed(calls, "SendMessageA").size(), row.want == 0 ? 160u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriterChoiceTest,
    ::testing::Values(
        ChoiceRow{"smaller_then_exact", {k720, k144}, -1, 0, 2},
        ChoiceRow{"larger_listed_first", {k288, k144}, -1, 0, 2},
        ChoiceRow{"only_larger", {k288}, -1, 1, 1},
        ChoiceRow{"track_product_wraps_to_the_image_size", {kTrackWraps, k144}, -1, 0, 2},
        ChoiceRow{"cylinder_product_wraps_to_the_image_size", {kCylindersWrap, k144}, -1, 0, 2},
        ChoiceRow{"count_cuts_the_second_entry", {k720, k144}, 47, 1, 1},
        ChoiceRow{"count_one_byte_past_two_entries", {k720, k144}, 49, 0, 2},
        ChoiceRow{"count_below_one_entry", {k144}, 23, 1, 0},
        ChoiceRow{"exact_type_last_of_twenty", Then(Times(19, k720), k144), -1, 0, 20},
        ChoiceRow{"exact_type_twenty_first", Then(Times(20, k720), k144), -1, 1, 20},
        ChoiceRow{"count_claims_forty_entries", Times(20, k720), 40 * 24, 1, 20},
        ChoiceRow{"count_claims_four_gigabytes", Times(20, k720), 0xFFFFFFFFLL, 1, 20}),
    [](const ::testing::TestParamInfo<ChoiceRow>& info) { return std::string(info.param.name); });

// A drive string that cannot form "\\.\<drive>" within MAX_PATH is refused whole: cutting it
// short could name another device.
TEST_F(WriterTest, DriveStringTooLongForAPathOpensNothing)
{
    struct Seen {
        int result;
        std::vector<sim::Call> opens;
    };
    std::vector<Seen> seen;
    const std::string fits(255, 'A');     // 4 + 255 characters and the terminator: MAX_PATH
    const std::string tooLong(256, 'A');
    const std::string huge(4096, 'A');
    test::WithActiveDialog([&](CFlashDlg*) {
        for (Op op : {Op::Prepare, Op::Write}) {
            for (const std::string* drive : {&fits, &tooLong, &huge}) {
                sim::Reset(test::BaseScenario());
                int r = Perform(op, drive->c_str());
                seen.push_back({r, test::CallsNamed(sim::Calls(), "CreateFileA")});
            }
        }
    });
    ASSERT_EQ(seen.size(), 6u);
    for (int op = 0; op < 2; ++op) {
        SCOPED_TRACE(op == 0 ? "prepare" : "write");
        const Seen& ok = seen[op * 3];
        EXPECT_EQ(ok.result, 1);  // no such device
        ASSERT_EQ(ok.opens.size(), 1u);
        EXPECT_EQ(ok.opens[0].text, "\\\\.\\" + fits);
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(seen[op * 3 + i].result, 1);
            EXPECT_TRUE(seen[op * 3 + i].opens.empty());
        }
    }
}

}  // namespace
