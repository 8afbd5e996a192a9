// The window system, the program's own resources and threads: what the framework (fw/)
// and the resource lookups stand on.
//
// Same contract as pc.h: each call has the arguments and meaning of the Win32 call of the
// same name. The Windows builds forward to user32, kernel32 and comctl32
// (platform/win32/win_win32.cpp); the host build answers from a headless window system
// (platform/host/) whose windows, texts, progress positions and message boxes tests can
// read and drive.
#ifndef VFLASH_PLATFORM_WIN_H
#define VFLASH_PLATFORM_WIN_H

#include "platform/win32.h"

namespace win {

// The program's module and its resources.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);

// Common controls: registers the progress bar's class before a dialog uses it.
void InitCommonControls();

// Dialogs and windows.
INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                        DLGPROC lpDialogFunc, LPARAM dwInitParam);
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex);
BOOL IsWindow(HWND hWnd);
HWND GetWindow(HWND hWnd, UINT uCmd);
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
HMENU GetSystemMenu(HWND hWnd, BOOL bRevert);
BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
BOOL IsIconic(HWND hWnd);
int GetSystemMetrics(int nIndex);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam);
int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount);

// Threads and events. BeginThread starts `proc(param)` on a new thread with the C runtime
// set up for it, and gives the thread's handle and id.
typedef unsigned (*THREAD_PROC)(void*);
HANDLE BeginThread(THREAD_PROC proc, void* param, int nPriority, DWORD* pThreadId);
DWORD GetCurrentThreadId();
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset,
                    BOOL bInitialState, LPCSTR lpName);
BOOL SetEvent(HANDLE hEvent);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
BOOL CloseHandle(HANDLE hObject);

}  // namespace win

#endif
