// win:: on Windows: the real window manager, dialog manager, resources and threads. The
// framework's dialogs therefore get Windows' own default processing (keyboard navigation,
// Esc and Enter, painting); only two calls need more than forwarding (see below).
#include "platform/win.h"

#include <process.h>

#include <new>

namespace win {

HMODULE GetModuleHandleA(LPCSTR lpModuleName) { return ::GetModuleHandleA(lpModuleName); }

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    return ::GetModuleFileNameA(hModule, lpFilename, nSize);
}

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    return ::FindResourceA(hModule, lpName, lpType);
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo) { return ::LoadResource(hModule, hResInfo); }
LPVOID LockResource(HGLOBAL hResData) { return ::LockResource(hResData); }

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    return ::SizeofResource(hModule, hResInfo);
}

int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    return ::LoadStringA(hInstance, uID, lpBuffer, cchBufferMax);
}

HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    return ::LoadIconA(hInstance, lpIconName);
}

// NT 4.0 as shipped has a comctl32 without InitCommonControlsEx, so importing it would stop
// the program from loading there. It is looked up instead; the plain call, which every
// comctl32 has, registers the progress bar too.
void InitCommonControls() {
    typedef BOOL(WINAPI * InitEx)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl = ::GetModuleHandleA("comctl32.dll");
    FARPROC found = comctl ? ::GetProcAddress(comctl, "InitCommonControlsEx") : nullptr;
    if (found) {
        // Through void(*)(): the one cast between function types that GCC accepts silently.
        InitEx initEx = reinterpret_cast<InitEx>(reinterpret_cast<void (*)()>(found));
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
        if (initEx(&icc)) return;
    }
    ::InitCommonControls();
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                        DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    return ::DialogBoxParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) { return ::EndDialog(hDlg, nResult); }

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(hWnd, Msg, wParam, lParam);
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(hWnd, Msg, wParam, lParam);
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) { return ::GetDlgItem(hDlg, nIDDlgItem); }

// On 32-bit Windows the headers make the Ptr names macros for SetWindowLongA and
// GetWindowLongA; both sides of this file see the same names, so the forwarding holds.
LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    return ::SetWindowLongPtrA(hWnd, nIndex, dwNewLong);
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) { return ::GetWindowLongPtrA(hWnd, nIndex); }

BOOL IsWindow(HWND hWnd) { return ::IsWindow(hWnd); }
HWND GetWindow(HWND hWnd, UINT uCmd) { return ::GetWindow(hWnd, uCmd); }
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) { return ::GetWindowRect(hWnd, lpRect); }

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    return ::SetWindowPos(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags);
}
HMENU GetSystemMenu(HWND hWnd, BOOL bRevert) { return ::GetSystemMenu(hWnd, bRevert); }

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    return ::AppendMenuA(hMenu, uFlags, uIDNewItem, lpNewItem);
}

BOOL IsIconic(HWND hWnd) { return ::IsIconic(hWnd); }
int GetSystemMetrics(int nIndex) { return ::GetSystemMetrics(nIndex); }
BOOL GetClientRect(HWND hWnd, LPRECT lpRect) { return ::GetClientRect(hWnd, lpRect); }
HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint) { return ::BeginPaint(hWnd, lpPaint); }
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) { return ::EndPaint(hWnd, lpPaint); }
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) { return ::DrawIcon(hDC, X, Y, hIcon); }

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    return ::MessageBoxA(hWnd, lpText, lpCaption, uType);
}

BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam) {
    return ::EnumThreadWindows(dwThreadId, lpfn, lParam);
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    return ::GetClassNameA(hWnd, lpClassName, nMaxCount);
}

namespace {

// _beginthreadex wants a __stdcall procedure and THREAD_PROC is a plain one; on 32-bit x86
// they differ, so the thread starts here and calls the caller's procedure.
struct ThreadStart {
    THREAD_PROC proc;
    void* param;
};

unsigned __stdcall RunThread(void* arg) {
    ThreadStart start = *static_cast<ThreadStart*>(arg);
    delete static_cast<ThreadStart*>(arg);
    return start.proc(start.param);
}

}  // namespace

// Created suspended so that the priority holds before the thread's first instruction, as
// AfxBeginThread does.
HANDLE BeginThread(THREAD_PROC proc, void* param, int nPriority, DWORD* pThreadId) {
    ThreadStart* start = new (std::nothrow) ThreadStart{proc, param};
    if (!start) return nullptr;
    unsigned id = 0;
    uintptr_t thread = ::_beginthreadex(nullptr, 0, RunThread, start, CREATE_SUSPENDED, &id);
    if (thread == 0) {
        delete start;
        return nullptr;
    }
    HANDLE handle = reinterpret_cast<HANDLE>(thread);
    if (nPriority != THREAD_PRIORITY_NORMAL) ::SetThreadPriority(handle, nPriority);
    if (pThreadId) *pThreadId = id;
    ::ResumeThread(handle);
    return handle;
}

DWORD GetCurrentThreadId() { return ::GetCurrentThreadId(); }

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset,
                    BOOL bInitialState, LPCSTR lpName) {
    return ::CreateEventA(lpEventAttributes, bManualReset, bInitialState, lpName);
}

BOOL SetEvent(HANDLE hEvent) { return ::SetEvent(hEvent); }

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    return ::WaitForSingleObject(hHandle, dwMilliseconds);
}

BOOL CloseHandle(HANDLE hObject) { return ::CloseHandle(hObject); }

}  // namespace win
