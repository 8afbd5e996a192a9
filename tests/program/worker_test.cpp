// The update worker as the user meets it: which prompt follows which answer and which
// diskette result, how many write attempts come back to back, and how the run ends: the
// notice, the dialog closed, the privilege, then the restart.
#include <atomic>
#include <cstring>
#include <mutex>
#include <set>

#include <gtest/gtest.h>

#include "DisketteRun.h"
#include "app/FlashDlg.h"
#include "fw/WinApp.h"

namespace {

using test::Volume;

const Volume kReady = Volume::Ready;
const Volume kNoDiskette = Volume::NoDiskette;
const Volume kLocked = Volume::Locked;
const Volume kFault = Volume::FormatFault;

DWORD Dword(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    DWORD v = 0;
    if (at + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + at, sizeof v);
    return v;
}

int PromptIndex(const std::string& text)
{
    for (int i = 0; i < 4; ++i)
        if (text == test::kPrompts[i]) return i;
    return -1;
}

// The worker's calls once it has nothing more to ask and nothing more to write.
std::vector<std::string> WorkerEnding(const std::vector<sim::Call>& calls)
{
    unsigned worker = ~0u;
    for (const sim::Call& c : calls)
        if (c.fn == "MessageBoxA") {
            worker = c.thread;
            break;
        }
    std::size_t from = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const sim::Call& c = calls[i];
        if (c.thread != worker) continue;
        if ((c.fn == "MessageBoxA" && PromptIndex(c.text) >= 0) ||
            (c.fn == "CloseHandle" && c.device == "A:"))
            from = i + 1;
    }
    std::vector<std::string> out;
    std::uint64_t token = 0;
    for (std::size_t i = from; i < calls.size(); ++i) {
        const sim::Call& c = calls[i];
        if (c.thread != worker) continue;
        std::string line = c.fn;
        if (c.fn == "MessageBoxA") {
            line += " \"" + c.text + "\" type " + std::to_string(c.code);
        } else if (c.fn == "SendMessageA") {
            line += c.code == WM_CLOSE ? " WM_CLOSE" : " " + std::to_string(c.code);
        } else if (c.fn == "OpenProcessToken") {
            line += " access " + std::to_string(c.code) + (c.result ? "" : " refused");
            token = c.arg3;
        } else if (c.fn == "LookupPrivilegeValueA") {
            line += " " + c.text + (c.arg1 ? " remote" : "");
        } else if (c.fn == "AdjustTokenPrivileges") {
            const bool asked = c.handle == token && c.arg1 == 0 && Dword(c.in, 0) == 1 &&
                               Dword(c.in, 4) == sim::kShutdownPrivilegeLuid && Dword(c.in, 8) == 0 &&
                               Dword(c.in, 12) == SE_PRIVILEGE_ENABLED;
            line += asked ? " enable shutdown" : " something else";
        } else if (c.fn == "ExitWindowsEx") {
            line += " " + std::to_string(c.code) + " " + std::to_string(c.arg1);
        }
        out.push_back(line);
    }
    return out;
}

const std::string kNotice = std::string("MessageBoxA \"") + test::kRebootNotice + "\" type " +
                            std::to_string(MB_OK | MB_ICONEXCLAMATION);
const std::vector<std::string> kCancelled = {"SendMessageA WM_CLOSE"};
const std::vector<std::string> kRestart = {
    kNotice,
    "SendMessageA WM_CLOSE",
    "GetCurrentProcess",
    "OpenProcessToken access 40",
    "LookupPrivilegeValueA SeShutdownPrivilege",
    "AdjustTokenPrivileges enable shutdown",
    "GetLastError",
    "ExitWindowsEx 2 0"};
const std::vector<std::string> kRestartWithoutToken = {
    kNotice, "SendMessageA WM_CLOSE", "GetCurrentProcess", "OpenProcessToken access 40 refused",
    "ExitWindowsEx 2 0"};

struct WorkerCase {
    const char* name;
    std::vector<int> answers;      // to the OK/Cancel prompts in turn; OK once used up
    std::vector<Volume> volumes;   // how the openings of A: turn out, in turn
    std::function<void(sim::Scenario&)> shape;
    std::vector<int> wantPrompts;  // the prompts shown, by index
    std::vector<std::string> wantOps;  // see test::VolumeOps
    std::vector<std::string> wantEnding;
    int wantRestarts;
};

void PrintTo(const WorkerCase& c, std::ostream* os) { *os << c.name; }

class WorkerTest : public test::ProgramTest, public ::testing::WithParamInterface<WorkerCase> {};

TEST_P(WorkerTest, PromptsWritesAndEndsAsScripted)
{
    const WorkerCase& wc = GetParam();
    sim::Scenario s = test::UpdateScenario();
    if (wc.shape) wc.shape(s);
    std::mutex mu;
    std::size_t answered = 0;
    int asked = 0;
    CWnd* dialog = nullptr;
    HWND dialogWnd = nullptr;
    g_pActiveDlg = nullptr;
    test::Run run = test::RunProgram(
        s, test::Wait(),
        [&](const host::MessageBoxInfo& box) {
            std::lock_guard<std::mutex> lock(mu);
            dialog = AfxGetMainWnd();
            dialogWnd = dialog->m_hWnd;
            if ((box.type & MB_TYPEMASK) != MB_OKCANCEL) return IDOK;
            if (++asked > test::kPromptLimit) return IDCANCEL;
            return answered < wc.answers.size() ? wc.answers[answered++] : IDOK;
        },
        test::ArmVolumes(wc.volumes));

    std::vector<int> prompts;
    for (const host::MessageBoxInfo& box : run.boxes) {
        EXPECT_EQ(box.caption, "VFLASH");
        EXPECT_EQ(box.owner, dialogWnd);
        if (box.text == test::kRebootNotice) {
            EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONEXCLAMATION));
            continue;
        }
        prompts.push_back(PromptIndex(box.text));
        EXPECT_EQ(box.type, UINT(MB_OKCANCEL | MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(prompts, wc.wantPrompts);
    EXPECT_EQ(test::VolumeOps(run.calls), wc.wantOps);
    EXPECT_EQ(WorkerEnding(run.calls), wc.wantEnding);
    EXPECT_EQ(sim::RestartRequests(), wc.wantRestarts);
    if (wc.wantRestarts) {
        EXPECT_EQ(sim::LastRestartFlags(), UINT(EWX_REBOOT));
    }
    // Set before the first prompt, whatever the answer: the writer reads it.
    EXPECT_EQ(g_pActiveDlg, dialog);

    // However it ended: the dialog closed once, the worker gone, nothing of A: held.
    auto ends = test::CallsNamed(run.calls, "EndDialog");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].arg1, static_cast<std::uint64_t>(IDCANCEL));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(host::LiveThreadCount(), 0);
    EXPECT_EQ(test::OpenVolumeHandles(run.calls), 0);
    EXPECT_FALSE(sim::DisketteLocked());
    EXPECT_EQ(sim::LiveLocalAllocs(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, WorkerTest,
    ::testing::Values(
        WorkerCase{"cancel_first", {IDCANCEL}, {}, nullptr, {0}, {}, kCancelled, 0},
        WorkerCase{"no_diskette_then_written", {}, {kNoDiskette}, nullptr, {0, 1},
                   {"P-", "P+", "W+"}, kRestart, 1},
        WorkerCase{"no_diskette_then_cancel", {IDOK, IDCANCEL}, {kNoDiskette}, nullptr, {0, 1},
                   {"P-"}, kCancelled, 0},
        WorkerCase{"locked_three_times", {}, {kLocked, kLocked, kLocked}, nullptr, {0, 2, 2, 2},
                   {"P-", "P-", "P-", "P+", "W+"}, kRestart, 1},
        WorkerCase{"two_failed_writes_then_written", {}, {kReady, kFault, kFault}, nullptr, {0},
                   {"P+", "W-", "W-", "W+"}, kRestart, 1},
        WorkerCase{"three_failed_writes_then_another_diskette", {},
                   {kReady, kFault, kFault, kFault, kReady, kFault, kFault}, nullptr, {0, 3},
                   {"P+", "W-", "W-", "W-", "P+", "W-", "W-", "W+"}, kRestart, 1},
        WorkerCase{"three_failed_writes_then_cancel", {IDOK, IDCANCEL},
                   {kReady, kFault, kFault, kFault}, nullptr, {0, 3},
                   {"P+", "W-", "W-", "W-"}, kCancelled, 0},
        // A box that could not be shown answers 0: the same prompt comes again.
        WorkerCase{"unanswered_prompt_repeats", {IDOK, 0, IDOK}, {kNoDiskette}, nullptr,
                   {0, 1, 1}, {"P-", "P+", "W+"}, kRestart, 1},
        WorkerCase{"token_refused_still_restarts", {}, {},
                   [](sim::Scenario& s) { s.tokenOpenRefused = true; }, {0}, {"P+", "W+"},
                   kRestartWithoutToken, 1},
        WorkerCase{"privilege_not_held_still_restarts", {}, {},
                   [](sim::Scenario& s) { s.privilegeHeld = false; }, {0}, {"P+", "W+"},
                   kRestart, 1},
        // Refused: the worker says nothing more and ends.
        WorkerCase{"restart_refused", {}, {}, [](sim::Scenario& s) { s.restartAccepted = false; },
                   {0}, {"P+", "W+"}, kRestart, 1}),
    [](const ::testing::TestParamInfo<WorkerCase>& info) { return std::string(info.param.name); });

class WorkerStartTest : public test::ProgramTest {};

TEST_F(WorkerStartTest, SecondStartWhileRunningDoesNothing)
{
    std::atomic<HWND> prompt{nullptr};
    CWinThread* first = nullptr;
    CWinThread* after = nullptr;
    test::Run run = test::RunProgram(
        test::UpdateScenario(),
        [&](HWND) {
            if (!prompt.load()) return false;  // the worker has not asked yet
            CFlashDlg* dlg = static_cast<CFlashDlg*>(AfxGetMainWnd());
            first = dlg->m_pWorkerThread;
            dlg->StartUpdateWorker();
            dlg->StartUpdateWorker();
            after = dlg->m_pWorkerThread;
            host::Post(prompt.load(), WM_CLOSE, 0, 0);  // the user cancels the prompt
            return true;
        },
        [&](const host::MessageBoxInfo& box) {
            // Any prompt after the first is a second worker's: cancelled, so the run ends.
            HWND none = nullptr;
            if (!prompt.compare_exchange_strong(none, box.hWnd)) return IDCANCEL;
            host::Post(box.owner, WM_NULL, 0, 0);  // wakes the dialog's loop for the script
            return host::kKeepOpen;
        });
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(after, first);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].answer, IDCANCEL);
    std::set<unsigned> threads;
    for (const sim::Call& c : run.calls) threads.insert(c.thread);
    EXPECT_EQ(threads.size(), 2u) << "the dialog's thread and one worker";
    EXPECT_EQ(test::VolumeOps(run.calls), std::vector<std::string>{});
    EXPECT_EQ(host::LiveThreadCount(), 0);
}

}  // namespace
