// The host's headless window system, seen from tests and from the terminal front end:
// read what the windows show, act as the user, answer message boxes, and take resources
// away. Everything here is safe to call from any thread.
#ifndef VFLASH_PLATFORM_HOST_HOSTUI_H
#define VFLASH_PLATFORM_HOST_HOSTUI_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/DialogTemplate.h"
#include "platform/win32.h"

namespace host {

// ---- Windows --------------------------------------------------------------------------
// Forgets every window and hook: the start of each test.
void ResetWindows();
// The live top-level window with this title (a dialog's caption, a message box's caption),
// or null.
HWND FindWindowByTitle(const std::string& title);
std::string WindowText(HWND hWnd);
std::string WindowClass(HWND hWnd);
HWND DialogItem(HWND hDlg, int nID);
bool IsAlive(HWND hWnd);
bool IsEnabled(HWND hWnd);
bool IsIconicWindow(HWND hWnd);
HWND OwnerOf(HWND hWnd);
int ProgressPos(HWND hBar);
int ProgressMax(HWND hBar);
std::vector<int> ProgressHistory(HWND hBar);   // every position set, in order
HICON WindowIcon(HWND hWnd, bool big);
std::vector<std::string> SystemMenuItems(HWND hWnd);  // "-" for a separator, else "id:text"
DWORD WindowThread(HWND hWnd);
RECT WindowRect(HWND hWnd);  // on the screen (1024 x 768 unless a test sets the metrics)

// ---- Acting as the user ---------------------------------------------------------------
// A key pressed while `hWnd` (a dialog or one of its controls) has the focus: the dialog
// manager turns Esc into IDCANCEL and Enter into IDOK. Ignored while the dialog is disabled.
void PressKey(HWND hWnd, int vk);
// Posts a message as if it came from outside the program (the taskbar, another program).
void Post(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sets what the window reports about its size and state.
void SetClientSize(HWND hWnd, int width, int height);
void SetSystemMetric(int nIndex, int value);
void SetIconic(HWND hWnd, bool iconic);

// ---- Message boxes --------------------------------------------------------------------
struct MessageBoxInfo {
    HWND hWnd = nullptr;   // the box
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
    DWORD thread = 0;
    int answer = 0;        // filled in once answered
};
// A responder's answer that leaves the box open until a message closes it (WM_CLOSE,
// WM_COMMAND, Esc, Enter) from another thread.
const int kKeepOpen = -1;
// Answers each message box as it opens, on the thread that shows it. Without one, a box
// with a Cancel button is cancelled and any other is answered IDOK.
void SetMessageBoxResponder(std::function<int(const MessageBoxInfo&)> responder);
std::vector<MessageBoxInfo> MessageBoxesShown();

// ---- Hooks ------------------------------------------------------------------------------
// Runs on a modal dialog's thread each time its message loop runs out of work, with the
// dialog whose loop it is.
void SetIdleHook(std::function<void(HWND hDlg)> hook);
// What a front end shows: a dialog appearing, a progress bar moving.
struct Observer {
    std::function<void(HWND hDlg)> dialogShown;
    std::function<void(HWND hBar, int pos)> progressChanged;
    std::function<void(HWND hDlg)> dialogEnded;
};
void SetObserver(Observer observer);

// ---- Resources --------------------------------------------------------------------------
// Takes resource (type, id) away until RestoreResources (a string block's id is the string
// id / 16 + 1).
void HideResource(int type, int id);
void RestoreResources();
void SetModuleFileName(const std::string& path);
bool FindResourceBytes(int type, int id, const std::uint8_t** data, std::size_t* size);
bool LoadDialogTemplate(int id, DialogTemplate* out);

// ---- Threads ----------------------------------------------------------------------------
// Threads started with win::BeginThread that have not ended yet.
int LiveThreadCount();

}  // namespace host

#endif
