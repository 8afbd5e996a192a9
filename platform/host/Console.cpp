#include "platform/host/Console.h"

#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "platform/host/HostUi.h"
#include "res/resource.h"

namespace host {

namespace {

std::mutex g_mu;
std::condition_variable g_cv;
bool g_eof = false;
bool g_tty = false;
HWND g_openBox = nullptr;   // the message box waiting for a line, if any
std::deque<std::string> g_lines;  // lines typed while no box was waiting
int g_lastShown = -1;

void PrintIndented(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            std::printf("  | %s\n", line.c_str());
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) std::printf("  | %s\n", line.c_str());
}

void ShowProgress(int pos)
{
    const int width = 40;
    int filled = pos * width / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar += std::string(static_cast<std::size_t>(width - filled), '.');
    if (g_tty) {
        std::printf("\r  progress [%s] %3d%%", bar.c_str(), pos);
        if (pos == 100 || pos == 0) std::printf("\n");
    } else if (pos / 10 != g_lastShown / 10 || pos == 100) {
        // Without a terminal, one line per tenth keeps the log readable.
        std::printf("  progress [%s] %3d%%\n", bar.c_str(), pos);
    }
    g_lastShown = pos;
    std::fflush(stdout);
}

bool IsCancel(const std::string& line)
{
    return line == "c" || line == "C" || line == "cancel" || line == "esc";
}

void AnswerBox(HWND box, const std::string& line)
{
    if (IsCancel(line)) host::Post(box, WM_CLOSE, 0, 0);
    else host::Post(box, WM_COMMAND, IDOK, 0);
}

// Words that are meant for the dialog even while the worker runs.
bool IsDialogKey(const std::string& line)
{
    return line == "esc" || line == "enter" || line == "about";
}

// Reads standard input line by line, for whichever box or dialog waits for it.
void ReaderThread()
{
    std::string line;
    while (std::getline(std::cin, line)) {
        std::unique_lock<std::mutex> lock(g_mu);
        if (g_openBox) {
            HWND box = g_openBox;
            g_openBox = nullptr;
            lock.unlock();
            AnswerBox(box, line);
        } else {
            g_lines.push_back(line);
            g_cv.notify_all();
        }
    }
    std::lock_guard<std::mutex> lock(g_mu);
    g_eof = true;
    if (g_openBox) {
        host::Post(g_openBox, WM_CLOSE, 0, 0);
        g_openBox = nullptr;
    }
    g_cv.notify_all();
}

int Respond(const MessageBoxInfo& box)
{
    const bool hasCancel = (box.type & MB_TYPEMASK) == MB_OKCANCEL;
    std::printf("\n  +--- message box \"%s\" ---\n", box.caption.c_str());
    std::string line;
    for (char c : box.text + "\n") {
        if (c == '\n') {
            std::printf("  | %s\n", line.c_str());
            line.clear();
        } else {
            line += c;
        }
    }
    std::printf("  +--- %s ", hasCancel ? "[Enter] OK   [c] Cancel:" : "[Enter] OK:");
    std::fflush(stdout);
    std::unique_lock<std::mutex> lock(g_mu);
    if (!g_lines.empty()) {
        // Typed ahead, before the box appeared.
        std::string line = g_lines.front();
        g_lines.pop_front();
        std::printf("%s\n", IsCancel(line) ? "Cancel" : "OK");
        return IsCancel(line) && hasCancel ? IDCANCEL : IDOK;
    }
    if (g_eof) {
        std::printf("(end of input) %s\n", hasCancel ? "Cancel" : "OK");
        return hasCancel ? IDCANCEL : IDOK;
    }
    g_openBox = box.hWnd;
    return kKeepOpen;
}

void OnIdle(HWND hDlg)
{
    // Keyboard input for the dialog: Esc (an empty line, or "esc"), Enter ("enter"),
    // the About box ("about"). At the end of input, Esc, but only once no worker is left
    // whose prompts are still to come.
    std::unique_lock<std::mutex> lock(g_mu);
    // While the worker runs, a plain line waits for its next message box.
    if (!g_lines.empty() && (LiveThreadCount() == 0 || IsDialogKey(g_lines.front()))) {
        std::string line = g_lines.front();
        g_lines.pop_front();
        lock.unlock();
        if (line == "about") host::Post(hDlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        else if (line == "enter") host::PressKey(hDlg, VK_RETURN);
        else host::PressKey(hDlg, VK_ESCAPE);
        return;
    }
    if (g_eof && !g_openBox && LiveThreadCount() == 0 && IsEnabled(hDlg)) {
        lock.unlock();
        std::printf("  (end of input: Esc)\n");
        host::PressKey(hDlg, VK_ESCAPE);
        return;
    }
    // Nothing to do yet: look again shortly, so a line or the end of input is noticed.
    g_cv.wait_for(lock, std::chrono::milliseconds(100));
    lock.unlock();
    host::Post(hDlg, WM_NULL, 0, 0);
}

}  // namespace

void InstallConsole()
{
    g_tty = isatty(STDOUT_FILENO) != 0;
    Observer observer;
    observer.dialogShown = [](HWND hDlg) {
        std::printf("\n+=== window \"%s\" ===\n", WindowText(hDlg).c_str());
        if (HWND log = DialogItem(hDlg, IDC_LOG_TEXT)) PrintIndented(WindowText(log));
        if (HWND bar = DialogItem(hDlg, IDC_PROGRESS))
            std::printf("  progress %d%%\n", ProgressPos(bar));
        if (DialogItem(hDlg, IDC_LOG_TEXT))
            std::printf("+=== keys: Enter = Esc, \"enter\", \"about\" ===\n");
        std::fflush(stdout);
    };
    observer.progressChanged = [](HWND, int pos) { ShowProgress(pos); };
    observer.dialogEnded = [](HWND hDlg) {
        std::printf("+=== window \"%s\" closed ===\n", WindowText(hDlg).c_str());
        std::fflush(stdout);
    };
    SetObserver(observer);
    SetMessageBoxResponder(&Respond);
    SetIdleHook(&OnIdle);
    std::thread(&ReaderThread).detach();
}

}  // namespace host
