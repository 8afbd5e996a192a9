#include "Windows.h"

namespace {

// A window that stopped answering must not stop the test run too.
const UINT kAnswerMs = 5000;

std::string WithoutAmpersands(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '&') out += c;
    return out;
}

struct ButtonSearch {
    std::string label;
    HWND found;
};

BOOL CALLBACK MatchButton(HWND child, LPARAM param) {
    ButtonSearch* search = reinterpret_cast<ButtonSearch*>(param);
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof(cls));
    std::string text;
    if (lstrcmpiA(cls, "Button") == 0 && ReadText(child, &text) &&
        WithoutAmpersands(text) == WithoutAmpersands(search->label)) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

struct TextSearch {
    std::string text;
    HWND found;
};

BOOL CALLBACK MatchText(HWND child, LPARAM param) {
    TextSearch* search = reinterpret_cast<TextSearch*>(param);
    std::string text;
    if (ReadText(child, &text) && text == search->text) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

struct StaticSearch {
    std::string text;
    bool found;
};

BOOL CALLBACK MatchMessage(HWND child, LPARAM param) {
    StaticSearch* search = reinterpret_cast<StaticSearch*>(param);
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof(cls));
    LONG style = GetWindowLongA(child, GWL_STYLE);
    std::string text;
    if (lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) != SS_ICON &&
        ReadText(child, &text) && !text.empty()) {
        search->text = text;
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindDialog(const std::string& caption) { return FindWindowA("#32770", caption.c_str()); }

bool ReadText(HWND window, std::string* text) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs,
                             &length))
        return false;
    std::string buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG, kAnswerMs,
                             &copied))
        return false;
    buffer.resize(copied);
    *text = buffer;
    return true;
}

bool ReadMessageBoxText(HWND box, std::string* text) {
    StaticSearch search = {std::string(), false};
    EnumChildWindows(box, MatchMessage, reinterpret_cast<LPARAM>(&search));
    if (search.found) *text = search.text;
    return search.found;
}

HWND FindControlWithText(HWND parent, const std::string& text) {
    TextSearch search = {text, nullptr};
    EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindButton(HWND parent, const std::string& label) {
    ButtonSearch search = {label, nullptr};
    EnumChildWindows(parent, MatchButton, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitFor(DWORD ms, const std::function<bool()>& ready) {
    DWORD start = GetTickCount();
    for (;;) {
        if (ready()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(5);
    }
}
