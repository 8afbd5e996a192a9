// The dialog templates as compiled from the resource script: the very bytes that the
// Windows builds link, read the way the dialog manager reads them.
#include <gtest/gtest.h>

#include "platform/host/HostUi.h"
#include "res/resource.h"

namespace {

struct ItemWant {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    short x, y, cx, cy;
};

void ExpectItems(const host::DialogTemplate& t, const std::vector<ItemWant>& want)
{
    ASSERT_EQ(t.items.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const host::DialogItemTemplate& item = t.items[i];
        SCOPED_TRACE("control " + std::to_string(i));
        EXPECT_EQ(item.id, want[i].id);
        EXPECT_EQ(item.className, want[i].className);
        if (want[i].text) {
            EXPECT_EQ(item.text, want[i].text);
        }
        EXPECT_EQ(item.style, want[i].style) << std::hex << item.style;
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.x, want[i].x);
        EXPECT_EQ(item.y, want[i].y);
        EXPECT_EQ(item.cx, want[i].cx);
        EXPECT_EQ(item.cy, want[i].cy);
    }
}

TEST(Templates, MainDialogIsExactlyAsDesigned)
{
    host::DialogTemplate t;
    ASSERT_TRUE(host::LoadDialogTemplate(IDD_MAIN_DIALOG, &t));
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.style, DWORD(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT))
        << std::hex << t.style;
    EXPECT_EQ(t.exStyle, DWORD(WS_EX_APPWINDOW));
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 263);
    EXPECT_EQ(t.cy, 190);
    EXPECT_EQ(t.caption, "VELMORA FLASH");
    EXPECT_EQ(t.typeface, "MS Sans Serif");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.weight, 0);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, 1);  // DEFAULT_CHARSET
    EXPECT_TRUE(t.menu.empty());
    EXPECT_TRUE(t.className.empty());
    ExpectItems(t, {{IDC_LOG_TEXT, "static", "", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 7, 7, 246, 95},
                    {IDC_PROGRESS, "msctls_progress32", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 7, 165, 249, 18}});
}

TEST(Templates, AboutBoxIsExactlyAsDesigned)
{
    host::DialogTemplate t;
    ASSERT_TRUE(host::LoadDialogTemplate(IDD_ABOUTBOX, &t));
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.style, DWORD(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU))
        << std::hex << t.style;
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.cx, 251);
    EXPECT_EQ(t.cy, 55);
    EXPECT_EQ(t.caption, "About VELMORA FLASH");
    EXPECT_EQ(t.typeface, "MS Sans Serif");
    EXPECT_EQ(t.pointSize, 8);
    ExpectItems(t, {{IDR_MAINFRAME, "static", "#128", WS_CHILD | WS_VISIBLE | SS_ICON, 11, 17, 20, 20},
                    {IDC_STATIC, "static", "VELMORA FLASH v0.1", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX, 40, 10, 119, 8},
                    {IDC_STATIC, "static", nullptr, WS_CHILD | WS_VISIBLE | WS_GROUP, 41, 25, 203, 23},
                    {IDOK, "button", "OK", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 194, 7, 50, 14}});
}

TEST(Templates, StringsImageAndIcon)
{
    const std::uint8_t* data;
    std::size_t size;
    ASSERT_TRUE(host::FindResourceBytes(10, IDR_DISKETTE_IMAGE, &data, &size));
    EXPECT_EQ(size, 1474560u);
    EXPECT_EQ(data[510], 0x55);
    EXPECT_EQ(data[511], 0xAA);
    EXPECT_TRUE(host::FindResourceBytes(14, IDR_MAINFRAME, &data, &size));
    // No application-title string: the program is named after its file.
    EXPECT_FALSE(host::FindResourceBytes(6, 0xE000 / 16 + 1, &data, &size));
}

}  // namespace
