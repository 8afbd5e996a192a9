// The start-up decision as the user sees it: the Windows gate, the drive report and the
// three states the dialog can settle in, byte for byte.
#include <gtest/gtest.h>

#include "Harness.h"
#include "app/WindowsVersion.h"

namespace {

using test::kBanner;
const std::string kRefused = std::string(kBanner) +
                             "This program can be run in Windows NT 4.0, 2000, XP.\n"
                             "Program is terminated. Please press ESC key.\n";
const char kNothingToDo[] = "\nYou don't need to upgrage firmware code.\n"
                            "Program is terminated. Please press ESC key.\n";

class StartupTest : public test::ProgramTest {};

struct VersionCase {
    const char* name;
    DWORD platform, major, minor;
    bool accepts156, accepts148;
    unsigned wantCode;
};

class VersionTest : public StartupTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, ClassifiesAndGates)
{
    const VersionCase& c = GetParam();
    sim::Scenario s = test::BaseScenario();
    s.platformId = c.platform;
    s.major = c.major;
    s.minor = c.minor;
    s.accepts156 = c.accepts156;
    s.accepts148 = c.accepts148;
    s.drives[0] = test::Drive("OTHERCO", "1.0");
    sim::Reset(s);
    EXPECT_EQ(ClassifyWindowsVersion(), c.wantCode);

    test::Run run = test::RunProgram(s, test::PressEscWhenIdle());
    bool opened = !test::CallsNamed(run.calls, "CreateFileA").empty();
    if (IsSupportedWindows(c.wantCode)) {
        EXPECT_NE(run.firstText, kRefused);
        EXPECT_TRUE(opened);
    } else {
        EXPECT_EQ(run.firstText, kRefused);
        EXPECT_FALSE(opened) << "a refused Windows must never see a drive opened";
    }
    EXPECT_EQ(run.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VersionTest,
    ::testing::Values(
        VersionCase{"win32s", 0, 3, 11, true, true, OS_WIN32S},
        VersionCase{"win95", 1, 4, 0, false, true, OS_WIN95},
        VersionCase{"win98", 1, 4, 10, false, true, OS_WIN98},
        VersionCase{"winme", 1, 4, 90, true, true, OS_WINME},
        VersionCase{"win9x_other_minor", 1, 4, 3, true, true, OS_OTHER},
        VersionCase{"win9x_major_5", 1, 5, 0, true, true, OS_OTHER},
        VersionCase{"nt351", 2, 3, 51, false, true, OS_WINNT4},
        VersionCase{"nt4_only_148", 2, 4, 0, false, true, OS_WINNT4},
        VersionCase{"win2000", 2, 5, 0, true, true, OS_WIN2000},
        VersionCase{"winxp", 2, 5, 1, true, true, OS_WINXP},
        VersionCase{"server2003", 2, 5, 2, true, true, OS_OTHER},
        VersionCase{"vista", 2, 6, 0, true, true, OS_OTHER},
        VersionCase{"win7", 2, 6, 1, true, true, OS_OTHER},
        VersionCase{"unknown_platform", 3, 5, 1, true, true, OS_OTHER},
        VersionCase{"both_refused", 2, 5, 1, false, false, OS_OTHER}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

TEST_F(StartupTest, AsksForTheLargeRecordFirstThenTheSmallOne)
{
    sim::Scenario s = test::BaseScenario();
    s.accepts156 = false;
    sim::Reset(s);
    ClassifyWindowsVersion();
    auto calls = test::CallsNamed(sim::Calls(), "GetVersionExA");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arg1, 156u);
    EXPECT_EQ(calls[1].arg1, 148u);
}

struct ReportCase {
    const char* name;
    std::vector<std::pair<int, sim::PhysicalDrive>> drives;
    std::string wantText;
};

class ReportTest : public StartupTest, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ReportTest, LogTextIsExact)
{
    const ReportCase& c = GetParam();
    sim::Scenario s = test::BaseScenario();
    for (const auto& d : c.drives) s.drives[d.first] = d.second;
    // Cancel the first prompt, should there be one: only the text matters here.
    test::Run run = test::RunProgram(s, test::PressEscWhenIdle(),
                                     [](const host::MessageBoxInfo&) { return IDCANCEL; });
    EXPECT_EQ(run.firstText, c.wantText);
}

const sim::PhysicalDrive kUpdate = test::Drive("VELMORA QR-2040A", "QR31A409");
const sim::PhysicalDrive kCurrent = test::Drive("VELMORA QN-1000", "QN31A410");
const sim::PhysicalDrive kOther = test::Drive("OTHERCO HD-2000", "1.02");
sim::PhysicalDrive Refusing()
{
    sim::PhysicalDrive d = test::Drive("VELMORA QR-2040A", "QR31A409");
    d.state = sim::DriveState::IdentifyRefused;
    return d;
}
const std::string kHead = std::string(kBanner) + "Your computer has following hard disk drive";

INSTANTIATE_TEST_SUITE_P(
    States, ReportTest,
    ::testing::Values(
        ReportCase{"no_drive", {}, kHead + ".\n\n" + kNothingToDo},
        ReportCase{"one_drive_no_s", {{0, kOther}}, kHead + ".\n\nOTHERCO HD-2000 [ 1.02 ]\n" + kNothingToDo},
        ReportCase{"slots_1_and_3_in_order", {{3, kCurrent}, {1, kOther}},
                   kHead + "s.\n\nOTHERCO HD-2000 [ 1.02 ]\nVELMORA QN-1000 [ QN31A410 ]\n" + kNothingToDo},
        ReportCase{"unanswered_drive_not_listed", {{0, Refusing()}, {2, kOther}},
                   kHead + ".\n\nOTHERCO HD-2000 [ 1.02 ]\n" + kNothingToDo},
        ReportCase{"update_in_slot_2_of_3", {{0, kOther}, {1, kCurrent}, {2, kUpdate}},
                   kHead + "s.\n\nOTHERCO HD-2000 [ 1.02 ]\nVELMORA QN-1000 [ QN31A410 ]\n"
                           "VELMORA QR-2040A [ QR31A409 ]\n"
                           "\nNow copying files to floppy.\nPlease wait for a while.\n"}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.name); });

TEST_F(StartupTest, EnterCopiesTheTextBackAndEndsTheDialog)
{
    sim::Scenario s = test::BaseScenario();
    test::Run run = test::RunProgram(s, [](HWND hDlg) {
        host::PressKey(hDlg, VK_RETURN);
        return true;
    });
    EXPECT_EQ(run.finalText, run.firstText);
    EXPECT_EQ(run.exitCode, 0);
    auto ends = test::CallsNamed(run.calls, "EndDialog");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].arg1, static_cast<std::uint64_t>(IDOK));
}

TEST_F(StartupTest, InitialisesBarIconsAndSystemMenu)
{
    sim::Scenario s = test::BaseScenario();
    HWND dlg = nullptr;
    std::vector<std::string> menu;
    HICON big = nullptr, small = nullptr;
    int pos = -1, max = -1;
    test::RunProgram(s, [&](HWND hDlg) {
        dlg = hDlg;
        menu = host::SystemMenuItems(hDlg);
        big = host::WindowIcon(hDlg, true);
        small = host::WindowIcon(hDlg, false);
        pos = host::ProgressPos(host::DialogItem(hDlg, 1001));
        max = host::ProgressMax(host::DialogItem(hDlg, 1001));
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(menu, (std::vector<std::string>{"-", "16:&About VELMORA FLASH..."}));
    EXPECT_NE(big, nullptr);
    EXPECT_EQ(big, small);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(max, 100);
}

TEST_F(StartupTest, NoAboutEntryWithoutItsString)
{
    host::HideResource(6, 101 / 16 + 1);
    std::vector<std::string> menu{"unset"};
    test::Run run = test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
        menu = host::SystemMenuItems(hDlg);
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    EXPECT_TRUE(menu.empty());
    EXPECT_EQ(run.firstText.rfind(kBanner, 0), 0u);  // initialisation went on
}

TEST_F(StartupTest, MissingImageDoesNotStopTheStart)
{
    host::HideResource(10, 139);
    sim::Scenario s = test::BaseScenario();
    s.drives[0] = kUpdate;
    test::Run run = test::RunProgram(s, test::Wait(),
                                     [](const host::MessageBoxInfo&) { return IDCANCEL; });
    EXPECT_NE(run.firstText.find("Please wait for a while.\n"), std::string::npos);
}

}  // namespace
