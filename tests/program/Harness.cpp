#include "Harness.h"

#include <atomic>
#include <utility>

#include "fw/WinApp.h"
#include "res/resource.h"

namespace test {

const char kBanner[] = "Microcode Download Utility For Velmora Hard Disk Drive (v0.1)\n\n";

sim::Scenario BaseScenario()
{
    sim::Scenario s;
    s.platformId = VER_PLATFORM_WIN32_NT;
    s.major = 5;
    s.minor = 1;
    for (auto& d : s.drives) d.state = sim::DriveState::Absent;
    s.a.mediaTypes = {sim::Geometry720K(), sim::Geometry1440K()};
    return s;
}

sim::PhysicalDrive Drive(const std::string& model, const std::string& firmware,
                         const std::string& serial)
{
    sim::PhysicalDrive d;
    d.state = sim::DriveState::Identifies;
    d.identify = sim::MakeIdentifyBlock(model, firmware, serial);
    return d;
}

UserScript PressEscWhenIdle()
{
    return [](HWND hDlg) {
        if (!host::IsEnabled(hDlg)) return false;  // a message box is open
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    };
}

UserScript Wait()
{
    return [](HWND) { return false; };
}

Run RunProgram(const sim::Scenario& scenario, UserScript script,
               std::function<int(const host::MessageBoxInfo&)> responder)
{
    return RunProgram(scenario, std::move(script), std::move(responder), nullptr);
}

Run RunProgram(const sim::Scenario& scenario, UserScript script,
               std::function<int(const host::MessageBoxInfo&)> responder,
               std::function<void()> armed)
{
    host::ResetWindows();
    sim::Reset(scenario);
    if (armed) armed();
    Run run;
    HWND mainDlg = nullptr;
    HWND logText = nullptr;
    HWND progressBar = nullptr;

    host::Observer observer;
    observer.dialogShown = [&](HWND hDlg) {
        if (mainDlg) return;  // the About box
        mainDlg = hDlg;
        logText = host::DialogItem(hDlg, IDC_LOG_TEXT);
        run.firstText = host::WindowText(logText);
        progressBar = host::DialogItem(hDlg, IDC_PROGRESS);
    };
    observer.dialogEnded = [&](HWND hDlg) {
        if (hDlg == mainDlg) run.finalText = host::WindowText(logText);
    };
    host::SetObserver(observer);
    if (responder) host::SetMessageBoxResponder(responder);
    bool done = false;
    // The script acts on the main dialog whichever modal loop (the About box's, say) ran
    // dry.
    host::SetIdleHook([&](HWND) {
        if (done || !mainDlg) return;
        done = script(mainDlg);
    });

    run.exitCode = AfxWinMain();
    if (progressBar) run.progress = host::ProgressHistory(progressBar);
    run.boxes = host::MessageBoxesShown();
    run.calls = sim::Calls();
    host::ResetWindows();
    return run;
}

std::vector<sim::Call> CallsNamed(const std::vector<sim::Call>& calls, const std::string& fn)
{
    std::vector<sim::Call> out;
    for (const sim::Call& c : calls)
        if (c.fn == fn) out.push_back(c);
    return out;
}

void ProgramTest::SetUp()
{
    host::ResetWindows();
    host::RestoreResources();
    sim::Reset(BaseScenario());
}

void ProgramTest::TearDown()
{
    // Whatever a test did: a physical drive is only ever opened and asked the two SMART
    // questions. A write, a format or a lock sent to one would be a disaster on a real PC.
    for (const sim::Call& c : sim::Calls()) {
        if (c.device.rfind("PhysicalDrive", 0) != 0) continue;
        bool allowed = c.fn == "CreateFileA" ||
                       (c.fn == "DeviceIoControl" &&
                        (c.code == SMART_GET_VERSION || c.code == SMART_RCV_DRIVE_DATA));
        EXPECT_TRUE(allowed) << c.fn << " code 0x" << std::hex << c.code << " sent to " << c.device;
    }
    host::ResetWindows();
    host::RestoreResources();
}

}  // namespace test
