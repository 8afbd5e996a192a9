// The pc:: calls on the simulated PC. Each one is numbered and offered to the OnCall hook
// (Admit), answered under the machine's lock, and recorded in the trace (Finish).
#include <cstring>

#include "platform/pc.h"
#include "platform/sim/Devices.h"
#include "platform/sim/Process.h"

namespace pc {
namespace {

using namespace sim;
using namespace sim::detail;

const DWORD kGenericAll = 0x10000000UL;

HANDLE AsHandle(std::uint64_t key)
{
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(key));
}

std::vector<std::uint8_t> Bytes(const void* p, std::size_t n)
{
    if (!p || !n) return {};
    const std::uint8_t* b = static_cast<const std::uint8_t*>(p);
    return std::vector<std::uint8_t>(b, b + n);
}

// An IOCTL code names the access it needs in bits 14-15 (FILE_READ_ACCESS 1,
// FILE_WRITE_ACCESS 2); Windows checks them against the handle's access.
bool AccessAllows(DWORD access, DWORD code)
{
    const DWORD needs = (code >> 14) & 3;
    const bool read = (access & (GENERIC_READ | kGenericAll)) != 0;
    const bool write = (access & (GENERIC_WRITE | kGenericAll)) != 0;
    return (!(needs & 1) || read) && (!(needs & 2) || write);
}

BOOL AnswerIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                     DWORD outSize, DWORD* returned, bool overlapped)
{
    const std::uint64_t key = Key(device);
    Handle* h = FindOpen(key);
    if (!h || h->kind == Kind::Token) return Fail(ERROR_INVALID_HANDLE);
    // Every handle here is opened for synchronous I/O, and the program never overlaps.
    if (overlapped) return Fail(ERROR_INVALID_PARAMETER);
    // Windows would fault on these; the sim refuses them instead.
    if ((!in && inSize) || (!out && outSize)) return Fail(kErrorNoAccess);
    if (!AccessAllows(h->access, code)) return Fail(ERROR_ACCESS_DENIED);
    const IoBuffers io{static_cast<const std::uint8_t*>(in), inSize,
                       static_cast<std::uint8_t*>(out), outSize};
    return h->kind == Kind::Drive ? DriveIoControl(&TheMachine(), h, code, io, returned)
                                  : DisketteIoControl(&TheMachine(), key, h, code, io, returned);
}

BOOL AnswerWrite(HANDLE file, LPCVOID data, DWORD size, DWORD* written, bool overlapped)
{
    const std::uint64_t key = Key(file);
    Handle* h = FindOpen(key);
    if (!h || h->kind == Kind::Token) return Fail(ERROR_INVALID_HANDLE);
    if (overlapped) return Fail(ERROR_INVALID_PARAMETER);
    if (!data && size) return Fail(kErrorNoAccess);
    if (!(h->access & (GENERIC_WRITE | kGenericAll))) return Fail(ERROR_ACCESS_DENIED);
    // The program has no business writing to a hard disk: refused, and the trace shows it.
    if (h->kind == Kind::Drive) return Fail(ERROR_ACCESS_DENIED);
    return DisketteWrite(&TheMachine(), key, h, static_cast<const std::uint8_t*>(data), size,
                         written);
}

// An injected CloseHandle failure still closes the handle: when Windows reports a failed
// close of a handle it did own (a final flush that failed), the handle is gone all the
// same, and the program could do nothing about it anyway. The trace shows the answer.
void Release(std::uint64_t key)
{
    Handle* h = FindOpen(key);
    if (!h) return;
    h->open = false;
    if (TheMachine().lockHolder == key) TheMachine().lockHolder = 0;
}

}  // namespace

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE)
{
    Call call;
    call.fn = "CreateFileA";
    call.text = lpFileName ? lpFileName : "";
    call.code = dwCreationDisposition;
    call.arg1 = dwDesiredAccess;
    call.arg2 = dwShareMode;
    call.arg3 = dwFlagsAndAttributes;
    call.device = DeviceNameOf(call.text);
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    std::uint64_t key = 0;
    if (injected)
        Fail(ERROR_SHARING_VIOLATION);  // as if another program had the device open
    else if (!lpFileName)
        Fail(ERROR_INVALID_PARAMETER);
    else
        key = OpenDevice(&TheMachine(), call.text, dwDesiredAccess);
    const HANDLE h = key ? AsHandle(key) : INVALID_HANDLE_VALUE;
    call.result = AsResult(h);
    Finish(&call);
    return h;
}

BOOL DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer,
                     DWORD nInBufferSize, LPVOID lpOutBuffer, DWORD nOutBufferSize,
                     LPDWORD lpBytesReturned, LPOVERLAPPED lpOverlapped)
{
    Call call;
    call.fn = "DeviceIoControl";
    call.handle = Key(hDevice);
    call.code = dwIoControlCode;
    call.arg1 = nInBufferSize;
    call.arg2 = nOutBufferSize;
    call.in = Bytes(lpInBuffer, nInBufferSize);
    call.device = DeviceOf(hDevice);
    const bool injected = Admit(call);
    if (!injected && call.device == "A:" && dwIoControlCode == IOCTL_DISK_FORMAT_TRACKS)
        DisketteDelay();

    SpinGuard guard(Lock());
    DWORD returned = 0;
    BOOL ok = FALSE;
    if (injected)
        // A refused lock means another program holds the volume (access denied); any other
        // refused request, a drive that is not ready.
        ok = Fail(dwIoControlCode == FSCTL_LOCK_VOLUME ? ERROR_ACCESS_DENIED : ERROR_NOT_READY);
    else if (!lpBytesReturned && !lpOverlapped)
        ok = Fail(kErrorNoAccess);  // Windows would write the count through the null pointer
    else
        ok = AnswerIoControl(hDevice, dwIoControlCode, lpInBuffer, nInBufferSize, lpOutBuffer,
                             nOutBufferSize, &returned, lpOverlapped != nullptr);
    if (lpBytesReturned) *lpBytesReturned = ok ? returned : 0;
    call.arg3 = ok ? returned : 0;
    call.result = ok;
    Finish(&call);
    return ok;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped)
{
    Call call;
    call.fn = "WriteFile";
    call.handle = Key(hFile);
    call.arg1 = nNumberOfBytesToWrite;
    call.in = Bytes(lpBuffer, nNumberOfBytesToWrite);
    call.device = DeviceOf(hFile, &call.offset);
    const bool injected = Admit(call);
    if (!injected && call.device == "A:") DisketteDelay();

    SpinGuard guard(Lock());
    // Windows clears the count before anything else.
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    // The hook may have moved the position (by writing itself): record where this lands.
    if (const Handle* h = FindOpen(call.handle)) call.offset = h->position;
    DWORD written = 0;
    BOOL ok = FALSE;
    if (injected)
        ok = Fail(ERROR_WRITE_FAULT);
    else if (!lpNumberOfBytesWritten && !lpOverlapped)
        ok = Fail(kErrorNoAccess);
    else
        ok = AnswerWrite(hFile, lpBuffer, nNumberOfBytesToWrite, &written, lpOverlapped != nullptr);
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = ok ? written : 0;
    call.arg3 = ok ? written : 0;
    call.result = ok;
    Finish(&call);
    return ok;
}

BOOL CloseHandle(HANDLE hObject)
{
    Call call;
    call.fn = "CloseHandle";
    call.handle = Key(hObject);
    call.device = DeviceOf(hObject);
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    BOOL ok = FALSE;
    if (injected) {
        Release(call.handle);
        ok = Fail(ERROR_INVALID_HANDLE);
    } else if (hObject == ProcessPseudoHandle()) {
        // Closing the pseudo handle does nothing and succeeds. It is also the value of
        // INVALID_HANDLE_VALUE, so the trace is where a close of a failed open shows.
        ok = TRUE;
    } else if (FindOpen(call.handle)) {
        Release(call.handle);
        ok = TRUE;
    } else {
        ok = Fail(ERROR_INVALID_HANDLE);
    }
    call.result = ok;
    Finish(&call);
    return ok;
}

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes)
{
    Call call;
    call.fn = "LocalAlloc";
    call.code = uFlags;
    call.arg1 = uBytes;
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    HLOCAL block = nullptr;
    if (injected)
        Fail(ERROR_NOT_ENOUGH_MEMORY);
    else
        block = Allocate(&TheMachine(), uFlags, uBytes);
    call.result = AsResult(block);
    Finish(&call);
    return block;
}

HLOCAL LocalFree(HLOCAL hMem)
{
    Call call;
    call.fn = "LocalFree";
    call.handle = Key(hMem);
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    HLOCAL left = hMem;  // LocalFree gives the block back when it could not free it
    if (injected)
        Fail(ERROR_INVALID_HANDLE);
    else
        left = Free(&TheMachine(), hMem);
    call.result = AsResult(left);
    Finish(&call);
    return left;
}

BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation)
{
    Call call;
    call.fn = "GetVersionExA";
    call.arg1 = lpVersionInformation ? lpVersionInformation->dwOSVersionInfoSize : 0;
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    const BOOL ok = injected ? Fail(ERROR_INVALID_PARAMETER)
                             : GetVersionInfo(TheMachine().scenario, lpVersionInformation);
    call.result = ok;
    Finish(&call);
    return ok;
}

HANDLE GetCurrentProcess()
{
    Call call;
    call.fn = "GetCurrentProcess";
    Admit(call);  // cannot fail

    SpinGuard guard(Lock());
    call.result = AsResult(ProcessPseudoHandle());
    Finish(&call);
    return ProcessPseudoHandle();
}

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, HANDLE* TokenHandle)
{
    Call call;
    call.fn = "OpenProcessToken";
    call.handle = Key(ProcessHandle);
    call.code = DesiredAccess;
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    const BOOL ok = injected ? Fail(ERROR_ACCESS_DENIED)
                             : OpenToken(&TheMachine(), ProcessHandle, DesiredAccess, TokenHandle);
    call.arg3 = ok ? Key(*TokenHandle) : 0;
    call.result = ok;
    Finish(&call);
    return ok;
}

BOOL LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, LUID* lpLuid)
{
    Call call;
    call.fn = "LookupPrivilegeValueA";
    call.text = lpName ? lpName : "";
    call.arg1 = lpSystemName ? 1 : 0;
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    const BOOL ok = injected ? Fail(ERROR_NO_SUCH_PRIVILEGE)
                             : LookupPrivilege(lpSystemName, lpName, lpLuid);
    call.arg3 = ok ? lpLuid->LowPart : 0;
    call.result = ok;
    Finish(&call);
    return ok;
}

BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges,
                           TOKEN_PRIVILEGES* NewState, DWORD BufferLength,
                           TOKEN_PRIVILEGES* PreviousState, DWORD* ReturnLength)
{
    Call call;
    call.fn = "AdjustTokenPrivileges";
    call.handle = Key(TokenHandle);
    call.arg1 = static_cast<std::uint64_t>(DisableAllPrivileges);
    call.arg2 = BufferLength;
    if (NewState) {
        const DWORD count = NewState->PrivilegeCount <= kMaxPrivilegeEntries
                                ? NewState->PrivilegeCount
                                : 0;
        call.in = Bytes(NewState, TokenPrivilegesBytes(count));
    }
    call.device = DeviceOf(TokenHandle);
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    const BOOL ok = injected ? Fail(ERROR_ACCESS_DENIED)
                             : AdjustPrivileges(&TheMachine(), TokenHandle, DisableAllPrivileges,
                                                NewState, BufferLength, PreviousState,
                                                ReturnLength);
    call.result = ok;
    Finish(&call);
    return ok;
}

DWORD GetLastError()
{
    Call call;
    call.fn = "GetLastError";
    Admit(call);  // cannot fail

    SpinGuard guard(Lock());
    call.result = LastError();
    Finish(&call);
    return LastError();
}

BOOL ExitWindowsEx(UINT uFlags, DWORD dwReserved)
{
    Call call;
    call.fn = "ExitWindowsEx";
    call.code = uFlags;
    call.arg1 = dwReserved;
    const bool injected = Admit(call);

    SpinGuard guard(Lock());
    BOOL ok = FALSE;
    if (injected) {
        // Still a request the program made; it is just not granted.
        ++TheMachine().restartRequests;
        TheMachine().lastRestartFlags = uFlags;
        ok = Fail(ERROR_PRIVILEGE_NOT_HELD);
    } else {
        ok = RequestRestart(&TheMachine(), uFlags);
    }
    call.result = ok;
    Finish(&call);
    return ok;
}

}  // namespace pc
