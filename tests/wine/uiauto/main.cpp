// UIAUTO: drives another program's dialogs under Wine, for the tests and benchmarks in
// tests/wine/ and scripts/. Runs its commands in order and stops at the first that fails
// (exit code 1; 2 for a usage error). Each prints one line on stdout.
//
//   wait CAPTION [MS]                  a dialog with this caption is there
//   gone CAPTION [MS]                  ...is no longer there
//   text CAPTION ID                    prints control ID's text, quoted
//   wait-text CAPTION ID TEXT [MS]     control ID's text becomes exactly TEXT (C escapes)
//   pos CAPTION ID                     prints progress bar ID's position
//   wait-pos CAPTION ID MIN [MS]       progress bar ID reaches MIN or beyond
//   watch CAPTION ID UNTIL [MS]        prints the positions progress bar ID passes through
//                                      until a dialog captioned UNTIL shows (or CAPTION ends)
//   box CAPTION TEXT BUTTON [MS]       a message box with this caption and exactly this
//                                      text shows; presses BUTTON (its label)
//   press CAPTION BUTTON               presses a dialog's button (by its label)
//   key CAPTION return|escape          types the key into the dialog's focused control
//   close CAPTION                      WM_CLOSE
//   cancel CAPTION                     WM_COMMAND IDCANCEL
//   syscommand CAPTION N               WM_SYSCOMMAND N (a system-menu entry)
//   find-text CAPTION TEXT [MS]        some control of the dialog shows exactly TEXT
//   rect CAPTION                       prints the dialog's screen rectangle: x y width height
//   enabled CAPTION 1|0                the dialog comes to take input (1) or not (0)
//   launch-time EXE CAPTION ID TEXT [MS]
//                                      starts EXE, prints the milliseconds until control
//                                      ID shows exactly TEXT, then closes it and prints
//                                      its exit code
// MS defaults to 30000.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Escape.h"
#include "Windows.h"

namespace {

typedef std::vector<std::string> Args;

const DWORD kDefaultMs = 30000;

void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool Fail(const char* format, ...) {
    std::fputs("FAIL: ", stdout);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return false;
}

DWORD Ms(const Args& a, std::size_t i) {
    return i < a.size() ? DWORD(std::strtoul(a[i].c_str(), nullptr, 10)) : kDefaultMs;
}

bool Dialog(const std::string& caption, HWND* window) {
    *window = FindDialog(caption);
    return *window ? true : Fail("no dialog %s", Quote(caption).c_str());
}

bool Control(const Args& a, HWND* control) {
    HWND dialog;
    if (!Dialog(a[0], &dialog)) return false;
    *control = GetDlgItem(dialog, std::atoi(a[1].c_str()));
    return *control ? true : Fail("%s has no control %s", Quote(a[0]).c_str(), a[1].c_str());
}

bool Wait(const Args& a) {
    if (!WaitFor(Ms(a, 1), [&] { return FindDialog(a[0]) != nullptr; }))
        return Fail("no dialog %s appeared", Quote(a[0]).c_str());
    Say("found %s", Quote(a[0]).c_str());
    return true;
}

bool Gone(const Args& a) {
    if (!WaitFor(Ms(a, 1), [&] { return FindDialog(a[0]) == nullptr; }))
        return Fail("dialog %s stayed", Quote(a[0]).c_str());
    Say("gone %s", Quote(a[0]).c_str());
    return true;
}

bool Text(const Args& a) {
    HWND control;
    std::string text;
    if (!Control(a, &control)) return false;
    if (!ReadText(control, &text)) return Fail("control %s does not answer", a[1].c_str());
    Say("text %s", Quote(text).c_str());
    return true;
}

bool WaitText(const Args& a) {
    const std::string expected = Unescape(a[2]);
    std::string text;
    bool seen = WaitFor(Ms(a, 3), [&] {
        HWND dialog = FindDialog(a[0]);
        HWND control = dialog ? GetDlgItem(dialog, std::atoi(a[1].c_str())) : nullptr;
        return control && ReadText(control, &text) && text == expected;
    });
    if (!seen)
        return Fail("control %s shows %s, not %s", a[1].c_str(), Quote(text).c_str(),
                    Quote(expected).c_str());
    Say("text %s", Quote(text).c_str());
    return true;
}

bool Position(HWND bar, int* pos) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        return false;
    *pos = int(answer);
    return true;
}

bool Pos(const Args& a) {
    HWND bar;
    int pos = 0;
    if (!Control(a, &bar)) return false;
    if (!Position(bar, &pos)) return Fail("progress bar %s does not answer", a[1].c_str());
    Say("pos %d", pos);
    return true;
}

bool WaitPos(const Args& a) {
    HWND bar;
    if (!Control(a, &bar)) return false;
    const int min = std::atoi(a[2].c_str());
    int pos = -1;
    if (!WaitFor(Ms(a, 3), [&] { return Position(bar, &pos) && pos >= min; }))
        return Fail("progress bar %s stayed at %d, below %d", a[1].c_str(), pos, min);
    Say("pos %d", pos);
    return true;
}

bool Watch(const Args& a) {
    HWND bar;
    if (!Control(a, &bar)) return false;
    std::string seen;
    int last = -1;
    bool until = WaitFor(Ms(a, 3), [&] {
        int pos;
        if (Position(bar, &pos) && pos != last) {
            seen += " " + std::to_string(pos);
            last = pos;
        }
        return FindDialog(a[2]) != nullptr || !IsWindow(bar);
    });
    Say("positions%s", seen.c_str());
    return until ? true : Fail("no dialog %s appeared", Quote(a[2]).c_str());
}

void Click(HWND dialog, HWND button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool Box(const Args& a) {
    const std::string expected = Unescape(a[1]);
    HWND box = nullptr;
    std::string text;
    if (!WaitFor(Ms(a, 3), [&] {
            box = FindDialog(a[0]);
            return box && ReadMessageBoxText(box, &text);
        }))
        return Fail("no message box %s appeared", Quote(a[0]).c_str());
    if (text != expected)
        return Fail("message box says %s, not %s", Quote(text).c_str(), Quote(expected).c_str());
    HWND button = FindButton(box, a[2]);
    if (!button) return Fail("message box has no button %s", Quote(a[2]).c_str());
    Click(box, button);
    Say("box %s %s", Quote(text).c_str(), a[2].c_str());
    return true;
}

bool Press(const Args& a) {
    HWND dialog;
    if (!Dialog(a[0], &dialog)) return false;
    HWND button = FindButton(dialog, a[1]);
    if (!button) return Fail("%s has no button %s", Quote(a[0]).c_str(), Quote(a[1]).c_str());
    Click(dialog, button);
    Say("pressed %s", Quote(a[1]).c_str());
    return true;
}

// Posted to the control that has the focus, as the keyboard would deliver it, so that the
// dialog's own message loop (IsDialogMessage) turns it into a command.
bool Key(const Args& a) {
    HWND dialog;
    if (!Dialog(a[0], &dialog)) return false;
    WPARAM vk = a[1] == "return" ? VK_RETURN : a[1] == "escape" ? VK_ESCAPE : 0;
    if (!vk) return Fail("unknown key %s", a[1].c_str());
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    // Without a window manager the dialog need not have the focus; then the dialog itself
    // takes the key, which its message loop treats the same way.
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
        IsChild(dialog, info.hwndFocus))
        target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    Say("key %s", a[1].c_str());
    return true;
}

bool Post(const Args& a, UINT message, WPARAM wParam, const char* what) {
    HWND dialog;
    if (!Dialog(a[0], &dialog)) return false;
    if (!PostMessageA(dialog, message, wParam, 0)) return Fail("%s not posted", what);
    Say("%s %s", what, Quote(a[0]).c_str());
    return true;
}

bool Close(const Args& a) { return Post(a, WM_CLOSE, 0, "close"); }
bool Cancel(const Args& a) { return Post(a, WM_COMMAND, IDCANCEL, "cancel"); }
bool SysCommand(const Args& a) {
    return Post(a, WM_SYSCOMMAND, std::strtoul(a[1].c_str(), nullptr, 0), "syscommand");
}

bool FindText(const Args& a) {
    const std::string expected = Unescape(a[1]);
    if (!WaitFor(Ms(a, 2), [&] {
            HWND dialog = FindDialog(a[0]);
            return dialog && FindControlWithText(dialog, expected);
        }))
        return Fail("no control of %s shows %s", Quote(a[0]).c_str(), Quote(expected).c_str());
    Say("found %s", Quote(expected).c_str());
    return true;
}

bool Rect(const Args& a) {
    HWND dialog;
    RECT r;
    if (!Dialog(a[0], &dialog) || !GetWindowRect(dialog, &r)) return false;
    Say("rect %ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return true;
}

bool Enabled(const Args& a) {
    HWND dialog;
    if (!Dialog(a[0], &dialog)) return false;
    const bool want = a[1] == "1";
    if (!WaitFor(5000, [&] { return (IsWindowEnabled(dialog) != FALSE) == want; }))
        return Fail("%s is %s", Quote(a[0]).c_str(), want ? "disabled" : "enabled");
    Say("enabled %s", a[1].c_str());
    return true;
}

bool LaunchTime(const Args& a) {
    const std::string expected = Unescape(a[3]);
    std::string command = "\"" + a[0] + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return Fail("cannot start %s (error %lu)", a[0].c_str(), GetLastError());
    std::string text;
    HWND dialog = nullptr;
    bool shown = WaitFor(Ms(a, 4), [&] {
        dialog = FindDialog(a[1]);
        HWND control = dialog ? GetDlgItem(dialog, std::atoi(a[2].c_str())) : nullptr;
        return control && ReadText(control, &text) && text == expected;
    });
    QueryPerformanceCounter(&now);
    if (shown) {
        Say("ms %.1f", double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    DWORD code = 99;
    WaitForSingleObject(process.hProcess, kDefaultMs);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!shown) return Fail("control %s shows %s", a[2].c_str(), Quote(text).c_str());
    Say("exit %lu", code);
    return true;
}

struct Command {
    const char* name;
    std::size_t minArgs, maxArgs;
    bool (*run)(const Args&);
};

const Command kCommands[] = {
    {"wait", 1, 2, Wait},         {"gone", 1, 2, Gone},
    {"text", 2, 2, Text},         {"wait-text", 3, 4, WaitText},
    {"pos", 2, 2, Pos},           {"watch", 3, 4, Watch},
    {"wait-pos", 3, 4, WaitPos},
    {"box", 3, 4, Box},           {"press", 2, 2, Press},
    {"key", 2, 2, Key},           {"close", 1, 1, Close},
    {"cancel", 1, 1, Cancel},     {"syscommand", 2, 2, SysCommand},
    {"find-text", 2, 3, FindText}, {"enabled", 2, 2, Enabled},
    {"rect", 1, 1, Rect},
    {"launch-time", 4, 5, LaunchTime},
};

const Command* Find(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // The shell compares the bytes: no \r added to line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> words(argv + 1, argv + argc);
    for (std::size_t i = 0; i < words.size();) {
        const Command* command = Find(words[i]);
        if (!command) {
            Fail("unknown command %s", Quote(words[i]).c_str());
            return 2;
        }
        // Its fixed arguments, then the optional one (always a number of milliseconds).
        std::size_t end = i + 1 + command->minArgs;
        if (end > words.size()) {
            Fail("%s needs %u arguments", command->name, unsigned(command->minArgs));
            return 2;
        }
        if (command->maxArgs > command->minArgs && end < words.size() &&
            words[end].find_first_not_of("0123456789") == std::string::npos)
            ++end;
        Args args(words.begin() + i + 1, words.begin() + end);
        if (!command->run(args)) return 1;
        i = end;
    }
    return 0;
}
