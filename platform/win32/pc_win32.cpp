// pc:: on Windows: each call goes straight to the Win32 call of the same name. Nothing is
// added here, so what the program asks of the machine is exactly what Windows is asked.
#include "platform/pc.h"

namespace pc {

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    return ::CreateFileA(lpFileName, dwDesiredAccess, dwShareMode, lpSecurityAttributes,
                         dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile);
}

BOOL DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer,
                     DWORD nInBufferSize, LPVOID lpOutBuffer, DWORD nOutBufferSize,
                     LPDWORD lpBytesReturned, LPOVERLAPPED lpOverlapped) {
    return ::DeviceIoControl(hDevice, dwIoControlCode, lpInBuffer, nInBufferSize, lpOutBuffer,
                             nOutBufferSize, lpBytesReturned, lpOverlapped);
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    return ::WriteFile(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                       lpOverlapped);
}

BOOL CloseHandle(HANDLE hObject) { return ::CloseHandle(hObject); }

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes) { return ::LocalAlloc(uFlags, uBytes); }
HLOCAL LocalFree(HLOCAL hMem) { return ::LocalFree(hMem); }

BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
    return ::GetVersionExA(lpVersionInformation);
}

HANDLE GetCurrentProcess() { return ::GetCurrentProcess(); }

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, HANDLE* TokenHandle) {
    return ::OpenProcessToken(ProcessHandle, DesiredAccess, TokenHandle);
}

BOOL LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, LUID* lpLuid) {
    return ::LookupPrivilegeValueA(lpSystemName, lpName, lpLuid);
}

BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges,
                           TOKEN_PRIVILEGES* NewState, DWORD BufferLength,
                           TOKEN_PRIVILEGES* PreviousState, DWORD* ReturnLength) {
    return ::AdjustTokenPrivileges(TokenHandle, DisableAllPrivileges, NewState, BufferLength,
                                   PreviousState, ReturnLength);
}

DWORD GetLastError() { return ::GetLastError(); }

BOOL ExitWindowsEx(UINT uFlags, DWORD dwReserved) { return ::ExitWindowsEx(uFlags, dwReserved); }

}  // namespace pc
