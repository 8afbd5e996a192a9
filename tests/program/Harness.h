// Running the program in a test: a scenario on the simulated PC, a script for the user,
// and what the user saw.
#ifndef VFLASH_TESTS_PROGRAM_HARNESS_H
#define VFLASH_TESTS_PROGRAM_HARNESS_H

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/host/HostUi.h"
#include "platform/sim/SimPc.h"

namespace test {

// A scenario with every drive absent, Windows XP, a diskette ready in A:.
sim::Scenario BaseScenario();
// A drive that answers IDENTIFY with these strings.
sim::PhysicalDrive Drive(const std::string& model, const std::string& firmware,
                         const std::string& serial = "SN0001");

// What one run of the program left behind.
struct Run {
    std::string firstText;   // the log text when the dialog first appeared
    std::string finalText;   // the log text when it ended
    std::vector<int> progress;  // every position the bar was set to
    int exitCode = -1;
    std::vector<host::MessageBoxInfo> boxes;
    std::vector<sim::Call> calls;
};

// How the scripted user acts: called with the main dialog, on its thread, each time a modal
// message loop of that thread runs dry, until it returns true (it has done its part, e.g. pressed Esc).
using UserScript = std::function<bool(HWND hDlg)>;

// Presses Esc as soon as the dialog is idle and no message box is open.
UserScript PressEscWhenIdle();
// Does nothing: the worker closes the dialog itself.
UserScript Wait();

// Resets the simulated PC and the window system, runs the whole program (AfxWinMain) on
// this thread with `script` as the user and `responder` answering message boxes.
Run RunProgram(const sim::Scenario& scenario, UserScript script,
               std::function<int(const host::MessageBoxInfo&)> responder = nullptr);
// The same, with `armed` called once the PC is reset and before the program starts: the
// place for sim::OnCall and sim::FailCall, which a reset forgets.
Run RunProgram(const sim::Scenario& scenario, UserScript script,
               std::function<int(const host::MessageBoxInfo&)> responder,
               std::function<void()> armed);

// The calls of `calls` named `fn`.
std::vector<sim::Call> CallsNamed(const std::vector<sim::Call>& calls, const std::string& fn);

// The banner every log starts with.
extern const char kBanner[];

// Resets the PC and the window system between tests, and checks after each one that the
// physical drives never received anything but the two SMART requests.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace test

#endif
