// The window chrome: the system menu's About entry, the About box, and the icon that the
// minimised dialog draws.
#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win.h"

namespace {

class ChromeTest : public test::ProgramTest {};

struct SysCommandCase {
    const char* name;
    WPARAM nID;
    bool opensAbout;
    bool endsDialog;
};

class SysCommandTest : public ChromeTest, public ::testing::WithParamInterface<SysCommandCase> {};

TEST_P(SysCommandTest, AboutForItsIdsDefaultForTheRest)
{
    const SysCommandCase& c = GetParam();
    bool aboutSeen = false;
    bool ownerDisabled = false;
    int step = 0;
    host::SetIdleHook(nullptr);
    test::Run run = test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
        if (step++ == 0) {
            host::Post(hDlg, WM_SYSCOMMAND, c.nID, 0);
            host::Post(hDlg, WM_NULL, 0, 0);
            return false;
        }
        HWND about = host::FindWindowByTitle("About VELMORA FLASH");
        if (about) {
            aboutSeen = true;
            ownerDisabled = !host::IsEnabled(hDlg);
            host::PressKey(about, VK_ESCAPE);
            return false;
        }
        if (!host::IsAlive(hDlg)) return true;
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(aboutSeen, c.opensAbout);
    if (c.opensAbout) {
        EXPECT_TRUE(ownerDisabled);
    }
    auto defaults = test::CallsNamed(run.calls, "DefDlgProc");
    bool defaulted = false;
    for (const sim::Call& call : defaults)
        if (call.code == WM_SYSCOMMAND && call.arg1 == c.nID) defaulted = true;
    EXPECT_EQ(defaulted, !c.opensAbout);
    // The first EndDialog ends the main dialog when the command closes it as a cancel.
    auto ends = test::CallsNamed(run.calls, "EndDialog");
    ASSERT_FALSE(ends.empty());
    if (c.endsDialog) {
        EXPECT_EQ(ends[0].arg1, static_cast<std::uint64_t>(IDCANCEL));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SysCommandTest,
    ::testing::Values(SysCommandCase{"about_16", 16, true, false},
                      SysCommandCase{"about_31", 31, true, false},
                      SysCommandCase{"not_about_32", 32, false, false},
                      SysCommandCase{"close", SC_CLOSE, false, true},
                      SysCommandCase{"minimize", SC_MINIMIZE, false, false},
                      SysCommandCase{"move", SC_MOVE, false, false}),
    [](const ::testing::TestParamInfo<SysCommandCase>& info) { return std::string(info.param.name); });

TEST_F(ChromeTest, AboutBoxEndsWithEnterOrEscAndChangesNothingElse)
{
    for (int key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key);
        int step = 0;
        bool reenabled = false;
        std::string textBefore, textAfter;
        test::Run run = test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
            HWND about = host::FindWindowByTitle("About VELMORA FLASH");
            switch (step++) {
            case 0:
                textBefore = host::WindowText(host::DialogItem(hDlg, 1000));
                host::Post(hDlg, WM_SYSCOMMAND, 16, 0);
                host::Post(hDlg, WM_NULL, 0, 0);
                return false;
            case 1:
                EXPECT_NE(about, nullptr);
                EXPECT_EQ(host::OwnerOf(about), hDlg);
                host::PressKey(about, key);
                host::Post(hDlg, WM_NULL, 0, 0);
                return false;
            default:
                if (about) return false;  // not closed yet
                reenabled = host::IsEnabled(hDlg);
                textAfter = host::WindowText(host::DialogItem(hDlg, 1000));
                host::PressKey(hDlg, VK_ESCAPE);
                return true;
            }
        });
        EXPECT_TRUE(reenabled);
        EXPECT_EQ(textAfter, textBefore);
    }
}

struct IconCase {
    int clientW, clientH, iconW, iconH;
    long wantX, wantY;
};

class PaintTest : public ChromeTest, public ::testing::WithParamInterface<IconCase> {};

TEST_P(PaintTest, MinimisedDialogCentresItsIcon)
{
    const IconCase& c = GetParam();
    test::Run run = test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
        host::SetSystemMetric(SM_CXICON, c.iconW);
        host::SetSystemMetric(SM_CYICON, c.iconH);
        host::SetClientSize(hDlg, c.clientW, c.clientH);
        host::SetIconic(hDlg, true);
        sim::ClearTrace();
        win::SendMessageA(hDlg, WM_PAINT, 0, 0);
        host::SetIconic(hDlg, false);
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    auto erase = test::CallsNamed(run.calls, "SendMessageA");
    bool erased = false;
    for (const sim::Call& call : erase) erased |= call.code == WM_ICONERASEBKGND;
    EXPECT_TRUE(erased);
    auto draws = test::CallsNamed(run.calls, "DrawIcon");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(static_cast<long>(static_cast<std::int64_t>(draws[0].arg1)), c.wantX);
    EXPECT_EQ(static_cast<long>(static_cast<std::int64_t>(draws[0].arg2)), c.wantY);
    EXPECT_NE(draws[0].code, 0u) << "the application icon";
    EXPECT_EQ(test::CallsNamed(run.calls, "EndPaint").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, PaintTest,
                         ::testing::Values(IconCase{36, 36, 32, 32, 2, 2},
                                           IconCase{28, 40, 32, 32, -1, 4},
                                           IconCase{0, 0, 32, 32, -15, -15},
                                           IconCase{33, 33, 16, 16, 9, 9}));

TEST_F(ChromeTest, NotMinimisedPaintsAsUsual)
{
    test::Run run = test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
        sim::ClearTrace();
        win::SendMessageA(hDlg, WM_PAINT, 0, 0);
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    EXPECT_TRUE(test::CallsNamed(run.calls, "DrawIcon").empty());
    for (const sim::Call& call : test::CallsNamed(run.calls, "SendMessageA"))
        EXPECT_NE(call.code, static_cast<std::uint32_t>(WM_ICONERASEBKGND));
    bool defaulted = false;
    for (const sim::Call& call : test::CallsNamed(run.calls, "DefDlgProc")) defaulted |= call.code == WM_PAINT;
    EXPECT_TRUE(defaulted);
}

TEST_F(ChromeTest, DragIconIsTheApplicationIcon)
{
    LRESULT dragIcon = 0;
    HICON windowIcon = nullptr;
    test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
        dragIcon = win::SendMessageA(hDlg, WM_QUERYDRAGICON, 0, 0);
        windowIcon = host::WindowIcon(hDlg, true);
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    EXPECT_NE(dragIcon, 0);
    EXPECT_EQ(reinterpret_cast<HICON>(dragIcon), windowIcon);
}

}  // namespace

namespace {

RECT Centred(const RECT& over, const RECT& r)
{
    LONG w = r.right - r.left, h = r.bottom - r.top;
    LONG x = (over.left + over.right) / 2 - w / 2, y = (over.top + over.bottom) / 2 - h / 2;
    return RECT{x, y, x + w, y + h};
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(ChromeTest, DialogsOpenCentred)
{
    RECT main{}, about{};
    int step = 0;
    test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
        HWND box = host::FindWindowByTitle("About VELMORA FLASH");
        if (step++ == 0) {
            main = host::WindowRect(hDlg);
            host::Post(hDlg, WM_SYSCOMMAND, 16, 0);
            host::Post(hDlg, WM_NULL, 0, 0);
            return false;
        }
        if (box) {
            about = host::WindowRect(box);
            host::PressKey(box, VK_ESCAPE);
            return false;
        }
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    // The main dialog over the 1024 x 768 screen, the About box over the main dialog.
    EXPECT_TRUE(Same(main, Centred(RECT{0, 0, 1024, 768}, main)))
        << main.left << "," << main.top;
    EXPECT_TRUE(Same(about, Centred(main, about))) << about.left << "," << about.top;
    EXPECT_GT(main.left, 0);
}

}  // namespace
