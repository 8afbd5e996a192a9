// The machine the program inspects and changes: its disks and diskette drive, its Windows
// version, the process token and the restart request.
//
// The program's code calls these as pc::CreateFileA and so on, with exactly the arguments
// of the Win32 call of the same name. The Windows build forwards each to Windows itself
// (platform/win32/pc_win32.cpp); the host build and the simulated Windows test build answer
// them from the simulated PC (platform/sim/), which records every call.
#ifndef VFLASH_PLATFORM_PC_H
#define VFLASH_PLATFORM_PC_H

#include "platform/win32.h"

namespace pc {

// Devices and volumes.
HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer,
                     DWORD nInBufferSize, LPVOID lpOutBuffer, DWORD nOutBufferSize,
                     LPDWORD lpBytesReturned, LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
BOOL CloseHandle(HANDLE hObject);

// Local memory (the format result buffer).
HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL LocalFree(HLOCAL hMem);

// Windows version.
BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation);

// Privilege and restart.
HANDLE GetCurrentProcess();
BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, HANDLE* TokenHandle);
BOOL LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, LUID* lpLuid);
BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges,
                           TOKEN_PRIVILEGES* NewState, DWORD BufferLength,
                           TOKEN_PRIVILEGES* PreviousState, DWORD* ReturnLength);
DWORD GetLastError();
BOOL ExitWindowsEx(UINT uFlags, DWORD dwReserved);

}  // namespace pc

#endif
