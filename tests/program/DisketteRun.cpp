#include "DisketteRun.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "app/FlashDlg.h"
#include "fw/WinApp.h"

namespace test {

const char* const kPrompts[4] = {
    "You need to update code.\nClose all the application program before proceeding the next "
    "step.\nAnd then please insert empty floppy diskette.",
    "Please insert empty floppy diskette.",
    "Please terminate all other programs.",
    "Please insert other empty floppy diskette.",
};
const char kRebootNotice[] = "Please reboot your system with floppy diskette.";

sim::Scenario UpdateScenario()
{
    sim::Scenario s = BaseScenario();
    s.drives[0] = Drive("VELMORA QR-2040A", "QR31A409");
    return s;
}

std::vector<std::uint8_t> ImageBytes()
{
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    if (!host::FindResourceBytes(10, 139, &data, &size)) return {};
    return std::vector<std::uint8_t>(data, data + size);
}

std::function<int(const host::MessageBoxInfo&)> AnswerOk()
{
    auto prompts = std::make_shared<std::atomic<int>>(0);
    return [prompts](const host::MessageBoxInfo& box) {
        if ((box.type & MB_TYPEMASK) == MB_OKCANCEL && ++*prompts > kPromptLimit) return IDCANCEL;
        return IDOK;
    };
}

bool IsPcCall(const sim::Call& call)
{
    static const std::set<std::string> kPc = {
        "CreateFileA",      "DeviceIoControl",       "WriteFile",
        "CloseHandle",      "LocalAlloc",            "LocalFree",
        "GetVersionExA",    "GetCurrentProcess",     "OpenProcessToken",
        "LookupPrivilegeValueA", "AdjustTokenPrivileges", "GetLastError",
        "ExitWindowsEx"};
    return kPc.count(call.fn) != 0;
}

namespace {

struct ArmState {
    std::mutex mu;
    long calls = 0;
    std::vector<Volume> outcomes;
    std::size_t next = 0;
    bool formatFaultPending = false;
    std::function<void(const sim::Call&)> also;
};

}  // namespace

std::function<void()> ArmVolumes(std::vector<Volume> outcomes,
                                 std::function<void(const sim::Call&)> also)
{
    return [outcomes, also] {
        auto st = std::make_shared<ArmState>();
        st->outcomes = outcomes;
        st->also = also;
        // Armed right after the reset, so the hook's own count is the PC's call number
        // (the program never makes two pc:: calls at once).
        sim::OnCall([st](const sim::Call& c) {
            {
                std::lock_guard<std::mutex> lock(st->mu);
                const long n = ++st->calls;
                if (c.fn == "CreateFileA" && c.device == "A:") {
                    Volume v = st->next < st->outcomes.size() ? st->outcomes[st->next++]
                                                              : Volume::Ready;
                    // The lock follows the open, the geometry query the lock.
                    if (v == Volume::Locked) sim::FailCall(n + 1);
                    if (v == Volume::NoDiskette) sim::FailCall(n + 2);
                    if (v == Volume::FormatFault) st->formatFaultPending = true;
                } else if (c.fn == "LocalAlloc" && st->formatFaultPending) {
                    st->formatFaultPending = false;
                    sim::FailCall(n + 1);  // the format of cylinder 0
                }
            }
            if (st->also) st->also(c);
        });
    };
}

std::vector<std::string> VolumeOps(const std::vector<sim::Call>& calls)
{
    struct Op {
        bool failed = false, write = false, refused = false, usable = false, dismounted = false;
        bool closed = false;
        unsigned thread = 0;
    };
    std::vector<Op> ops;
    std::map<std::uint64_t, std::size_t> byHandle;
    for (const sim::Call& c : calls) {
        if (c.fn == "CreateFileA" && c.device == "A:") {
            Op op;
            op.thread = c.thread;
            op.failed = c.result == -1;
            op.closed = op.failed;
            ops.push_back(op);
            if (!op.failed) byHandle[static_cast<std::uint64_t>(c.result)] = ops.size() - 1;
            continue;
        }
        if (c.fn == "LocalAlloc") {
            for (Op& op : ops)
                if (!op.closed && op.thread == c.thread) op.write = true;
            continue;
        }
        auto it = byHandle.find(c.handle);
        if (it == byHandle.end()) continue;
        Op& op = ops[it->second];
        if (c.fn == "CloseHandle") {
            op.closed = true;
            byHandle.erase(it);
        } else if (c.fn == "DeviceIoControl") {
            if (!c.result) op.refused = true;
            if (c.code == IOCTL_DISK_GET_MEDIA_TYPES && c.result && c.arg3 >= sizeof(DISK_GEOMETRY))
                op.usable = true;
            if (c.code == FSCTL_DISMOUNT_VOLUME) op.dismounted = true;
        }
    }
    std::vector<std::string> out;
    for (const Op& op : ops) {
        if (op.failed) out.push_back("O-");
        else if (op.write) out.push_back(op.dismounted ? "W+" : "W-");
        else out.push_back(op.usable && !op.refused ? "P+" : "P-");
    }
    return out;
}

bool DisketteWritten(const std::vector<sim::Call>& calls)
{
    std::map<std::uint64_t, std::set<std::uint64_t>> written;  // handle -> offsets in full
    for (const sim::Call& c : calls)
        if (c.fn == "WriteFile" && c.device == "A:" && c.result && c.arg1 == 18432 &&
            c.arg3 == c.arg1)
            written[c.handle].insert(c.offset);
    for (const auto& h : written)
        if (h.second.size() == 80) return true;
    return false;
}

int OpenVolumeHandles(const std::vector<sim::Call>& calls)
{
    std::set<std::uint64_t> drives;
    for (const sim::Call& c : calls) {
        if (c.fn == "CreateFileA" && c.device.rfind("PhysicalDrive", 0) == 0 && c.result != -1)
            drives.insert(static_cast<std::uint64_t>(c.result));
        if (c.fn == "CloseHandle" && c.result) drives.erase(c.handle);
    }
    return sim::OpenHandleCount() - sim::OpenTokenCount() - static_cast<int>(drives.size());
}

void WithActiveDialog(const std::function<void(CFlashDlg* dlg)>& body)
{
    std::thread worker;
    RunProgram(BaseScenario(), [&](HWND hDlg) {
        CFlashDlg* dlg = static_cast<CFlashDlg*>(AfxGetMainWnd());
        worker = std::thread([&body, dlg, hDlg] {
            g_pActiveDlg = dlg;
            body(dlg);
            g_pActiveDlg = nullptr;  // the dialog is about to go
            host::PressKey(hDlg, VK_ESCAPE);
        });
        return true;
    });
    worker.join();
}

}  // namespace test
