// The user closes the main dialog while the worker is busy: at each prompt, while the
// diskette is prepared, at a cylinder of the format pass or a step of the write pass,
// during the restart notice, and after the worker closed the dialog itself. Every run must
// end, leave the volume closed and unlocked, and ask for the restart exactly when the
// diskette was written in full.
//
// Each close at a pc:: call comes twice: once waiting in the call until the dialog has
// ended (so where the worker stops is exact), and once racing with the worker as a real
// close would (only what holds for every interleaving is checked). The threaded runs are
// the point of the TSan build.
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "DisketteRun.h"
#include "app/FlashDlg.h"

namespace {

using test::Volume;

enum class Phase { Startup, Prompt, Prepare, Format, Write, Notice, AfterClose };
// Esc (only while no prompt disables the dialog), the close box, WM_CLOSE from outside.
enum class How { Esc, CloseBox, WmClose };

struct CloseCase {
    const char* name;
    Phase phase;
    int at;                        // the prompt's index, the cylinder, or the write step (from 1)
    How how;
    std::vector<Volume> volumes;   // what it takes to reach the phase
    std::vector<std::string> wantOps;  // test::VolumeOps, when exact
    int wantFormats, wantWrites;   // format requests and writes made, when exact
    bool wantRestart;
    bool racing = false;
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name << (c.racing ? " racing" : ""); }

void CloseDialog(HWND dlg, How how)
{
    switch (how) {
    case How::Esc: host::PressKey(dlg, VK_ESCAPE); break;
    case How::CloseBox: host::Post(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case How::WmClose: host::Post(dlg, WM_CLOSE, 0, 0); break;
    }
}

DWORD Dword(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    DWORD v = 0;
    if (at + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + at, sizeof v);
    return v;
}

class EarlyCloseTest : public test::ProgramTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(EarlyCloseTest, WorkerStopsAndOwesTheRestartOnlyForAWrittenDiskette)
{
    const CloseCase& cc = GetParam();
    std::atomic<bool> fired{false};
    std::atomic<bool> neverEnded{false};
    std::atomic<int> writes{0};

    // On the worker's thread, at the call the case names: close, then (unless racing) hold
    // the call until the dialog has ended, so the worker's next look at it sees that.
    auto atCall = [&](const sim::Call& c) {
        bool match = false;
        switch (cc.phase) {
        case Phase::Prepare:
            match = c.fn == "DeviceIoControl" && c.device == "A:" && c.code == FSCTL_LOCK_VOLUME;
            break;
        case Phase::Format:
            match = c.fn == "DeviceIoControl" && c.code == IOCTL_DISK_FORMAT_TRACKS &&
                    Dword(c.in, 4) == DWORD(cc.at);
            break;
        case Phase::Write:
            match = c.fn == "WriteFile" && c.device == "A:" && ++writes == cc.at;
            break;
        case Phase::AfterClose:
            match = c.fn == "OpenProcessToken";
            break;
        default:
            break;
        }
        if (!match || fired.exchange(true)) return;
        CFlashDlg* dlg = g_pActiveDlg;  // set by this thread before its first diskette call
        CloseDialog(dlg->m_hWnd, cc.how);
        if (cc.racing) return;
        for (int i = 0; i < 30000 && !dlg->m_bEnded.load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        neverEnded = !dlg->m_bEnded.load();
    };
    std::atomic<int> asked{0};
    auto respond = [&](const host::MessageBoxInfo& box) {
        if ((box.type & MB_TYPEMASK) == MB_OKCANCEL && ++asked > test::kPromptLimit) return IDCANCEL;
        const bool target = (cc.phase == Phase::Prompt && box.text == test::kPrompts[cc.at]) ||
                            (cc.phase == Phase::Notice && box.text == test::kRebootNotice);
        if (!target || fired.exchange(true)) return IDOK;
        CloseDialog(box.owner, cc.how);
        return host::kKeepOpen;  // nobody answers: the ending dialog has to close it
    };

    // At start-up: as soon as the dialog is up, whether or not the worker has asked yet.
    test::UserScript script = test::Wait();
    if (cc.phase == Phase::Startup)
        script = [&](HWND hDlg) {
            fired = true;
            CloseDialog(hDlg, cc.how);
            return true;
        };

    test::Run run = test::RunProgram(test::UpdateScenario(), script, respond,
                                     test::ArmVolumes(cc.volumes, atCall));

    ASSERT_TRUE(fired.load()) << "the run never reached the phase";
    EXPECT_FALSE(neverEnded.load()) << "the close did not end the dialog";
    const bool written = test::DisketteWritten(run.calls);
    EXPECT_EQ(sim::RestartRequests(), written ? 1 : 0);
    // A racing close may land after the last step; an exact one never does unless asked.
    if (cc.wantRestart || !cc.racing) {
        EXPECT_EQ(written, cc.wantRestart);
    }
    if (written) {
        EXPECT_EQ(sim::LastRestartFlags(), UINT(EWX_REBOOT));
    }
    if (!cc.racing) {
        EXPECT_EQ(test::VolumeOps(run.calls), cc.wantOps);
        int formats = 0, writesMade = 0;
        for (const sim::Call& c : run.calls) {
            formats += c.fn == "DeviceIoControl" && c.code == IOCTL_DISK_FORMAT_TRACKS;
            writesMade += c.fn == "WriteFile";
        }
        EXPECT_EQ(formats, cc.wantFormats);
        EXPECT_EQ(writesMade, cc.wantWrites);
    }
    EXPECT_EQ(test::CallsNamed(run.calls, "EndDialog").size(), 1u);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(host::LiveThreadCount(), 0);
    EXPECT_EQ(test::OpenVolumeHandles(run.calls), 0);
    EXPECT_FALSE(sim::DisketteLocked());
    EXPECT_EQ(sim::LiveLocalAllocs(), 0u);
}

const Volume kNoDiskette = Volume::NoDiskette;
const Volume kLocked = Volume::Locked;
const Volume kReady = Volume::Ready;
const Volume kFault = Volume::FormatFault;
const std::vector<std::string> kNone;
const std::vector<std::string> kPrepared = {"P+"};
const std::vector<std::string> kStopped = {"P+", "W-"};
const std::vector<std::string> kWritten = {"P+", "W+"};

// Closes made inside a pc:: call: exact, and again racing.
const std::vector<CloseCase> kAtCalls = {
    {"prepare_esc", Phase::Prepare, 0, How::Esc, {}, kPrepared, 0, 0, false},
    {"prepare_close_box", Phase::Prepare, 0, How::CloseBox, {}, kPrepared, 0, 0, false},
    {"prepare_wm_close", Phase::Prepare, 0, How::WmClose, {}, kPrepared, 0, 0, false},
    {"format_first_esc", Phase::Format, 0, How::Esc, {}, kStopped, 1, 0, false},
    {"format_middle_wm_close", Phase::Format, 41, How::WmClose, {}, kStopped, 42, 0, false},
    {"format_last_close_box", Phase::Format, 79, How::CloseBox, {}, kStopped, 80, 0, false},
    {"write_first_wm_close", Phase::Write, 1, How::WmClose, {}, kStopped, 80, 1, false},
    {"write_middle_esc", Phase::Write, 40, How::Esc, {}, kStopped, 80, 40, false},
    {"write_next_to_last_close_box", Phase::Write, 79, How::CloseBox, {}, kStopped, 80, 79, false},
    // The last cylinder goes out all the same: the diskette is complete and owes its restart.
    {"write_last_wm_close", Phase::Write, 80, How::WmClose, {}, kWritten, 80, 80, true},
    {"write_last_esc", Phase::Write, 80, How::Esc, {}, kWritten, 80, 80, true},
    {"after_worker_closed_wm_close", Phase::AfterClose, 0, How::WmClose, {}, kWritten, 80, 80, true},
    {"after_worker_closed_esc", Phase::AfterClose, 0, How::Esc, {}, kWritten, 80, 80, true},
};

// Closes while a box of the worker waits for an answer (the box disables the dialog, so
// Esc never reaches it; the taskbar's close and other programs' WM_CLOSE do).
const std::vector<CloseCase> kAtBoxes = {
    {"prompt0_close_box", Phase::Prompt, 0, How::CloseBox, {}, kNone, 0, 0, false},
    {"prompt0_wm_close", Phase::Prompt, 0, How::WmClose, {}, kNone, 0, 0, false},
    {"prompt1_wm_close", Phase::Prompt, 1, How::WmClose, {kNoDiskette}, {"P-"}, 0, 0, false},
    {"prompt2_close_box", Phase::Prompt, 2, How::CloseBox, {kLocked}, {"P-"}, 0, 0, false},
    {"prompt3_wm_close", Phase::Prompt, 3, How::WmClose, {kReady, kFault, kFault, kFault},
     {"P+", "W-", "W-", "W-"}, 3, 0, false},
    {"notice_wm_close", Phase::Notice, 0, How::WmClose, {}, kWritten, 80, 80, true},
    {"notice_close_box", Phase::Notice, 0, How::CloseBox, {}, kWritten, 80, 80, true},
};

std::vector<CloseCase> Racing(std::vector<CloseCase> cases)
{
    for (CloseCase& c : cases) c.racing = true;
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(AtCalls, EarlyCloseTest, ::testing::ValuesIn(kAtCalls), CaseName);
INSTANTIATE_TEST_SUITE_P(AtCallsRacing, EarlyCloseTest, ::testing::ValuesIn(Racing(kAtCalls)), CaseName);
INSTANTIATE_TEST_SUITE_P(AtBoxes, EarlyCloseTest, ::testing::ValuesIn(kAtBoxes), CaseName);
// Before the worker's first prompt, or at it: whichever thread gets there first.
INSTANTIATE_TEST_SUITE_P(AtStartRacing, EarlyCloseTest,
                         ::testing::Values(CloseCase{"startup_wm_close", Phase::Startup, 0, How::WmClose,
                                                     {}, kNone, 0, 0, false, true},
                                           CloseCase{"startup_close_box", Phase::Startup, 0, How::CloseBox,
                                                     {}, kNone, 0, 0, false, true}),
                         CaseName);

}  // namespace
