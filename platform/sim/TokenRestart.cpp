// The process token, SeShutdownPrivilege and the restart request.
#include <cctype>
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/sim/Process.h"

namespace sim {
namespace detail {
namespace {

const char kShutdownName[] = "SeShutdownPrivilege";
const UINT kShutdownActions = EWX_SHUTDOWN | EWX_REBOOT | 0x8 /* EWX_POWEROFF */;

bool IsShutdownLuid(const LUID& luid)
{
    return luid.LowPart == kShutdownPrivilegeLuid && luid.HighPart == 0;
}

// Privilege names are not case-sensitive.
bool SameName(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

}  // namespace

HANDLE ProcessPseudoHandle() { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)); }

std::size_t TokenPrivilegesBytes(DWORD count)
{
    return offsetof(TOKEN_PRIVILEGES, Privileges) + count * sizeof(LUID_AND_ATTRIBUTES);
}

BOOL OpenToken(Machine* m, HANDLE process, DWORD access, HANDLE* token)
{
    if (process != ProcessPseudoHandle()) return Fail(ERROR_INVALID_HANDLE);
    if (!token) return Fail(kErrorNoAccess);
    if (m->scenario.tokenOpenRefused) return Fail(ERROR_ACCESS_DENIED);
    Handle h;
    h.kind = Kind::Token;
    h.access = access;
    h.device = "token";
    const std::uint64_t key = NewHandle();
    m->handles[key] = h;
    *token = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(key));
    return TRUE;
}

BOOL LookupPrivilege(LPCSTR systemName, LPCSTR name, LUID* luid)
{
    // The simulated PC has no network: only the local system answers.
    if (systemName && *systemName) return Fail(ERROR_INVALID_PARAMETER);
    if (!name || !luid) return Fail(kErrorNoAccess);
    if (!SameName(name, kShutdownName)) return Fail(ERROR_NO_SUCH_PRIVILEGE);
    luid->LowPart = kShutdownPrivilegeLuid;
    luid->HighPart = 0;
    return TRUE;
}

// Like Windows, succeeds even when the token lacks some of the privileges asked for, and
// says so only through the last error (ERROR_NOT_ALL_ASSIGNED): a caller that checks the
// return value alone believes it may restart.
BOOL AdjustPrivileges(Machine* m, HANDLE token, BOOL disableAll, const TOKEN_PRIVILEGES* newState,
                      DWORD bufferLength, TOKEN_PRIVILEGES* previousState, DWORD* returnLength)
{
    const Handle* h = FindOpen(Key(token));
    if (!h || h->kind != Kind::Token) return Fail(ERROR_INVALID_HANDLE);
    if (!(h->access & TOKEN_ADJUST_PRIVILEGES)) return Fail(ERROR_ACCESS_DENIED);
    if (previousState && !(h->access & TOKEN_QUERY)) return Fail(ERROR_ACCESS_DENIED);
    if (previousState && !returnLength) return Fail(kErrorNoAccess);
    if (!disableAll && !newState) return Fail(kErrorNoAccess);
    if (!disableAll && newState->PrivilegeCount > kMaxPrivilegeEntries)
        return Fail(ERROR_INVALID_PARAMETER);

    bool enabled = m->shutdownEnabled;
    bool allAssigned = true;
    if (disableAll) {
        enabled = false;
    } else {
        for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& p = newState->Privileges[i];
            if (IsShutdownLuid(p.Luid) && m->scenario.privilegeHeld)
                enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
            else
                allAssigned = false;
        }
    }

    const bool changed = enabled != m->shutdownEnabled;
    if (previousState) {
        const std::size_t need = TokenPrivilegesBytes(changed ? 1 : 0);
        *returnLength = static_cast<DWORD>(need);
        if (bufferLength < need) return Fail(ERROR_INSUFFICIENT_BUFFER);
        previousState->PrivilegeCount = changed ? 1 : 0;
        if (changed) {
            previousState->Privileges[0].Luid.LowPart = kShutdownPrivilegeLuid;
            previousState->Privileges[0].Luid.HighPart = 0;
            previousState->Privileges[0].Attributes = m->shutdownEnabled ? SE_PRIVILEGE_ENABLED : 0;
        }
    }
    m->shutdownEnabled = enabled;
    SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}

// Only ever recorded: nothing is shut down. Windows NT refuses a shutdown or restart to a
// process that has not enabled SeShutdownPrivilege, and so does the sim.
BOOL RequestRestart(Machine* m, UINT flags)
{
    ++m->restartRequests;
    m->lastRestartFlags = flags;
    if ((flags & kShutdownActions) && m->scenario.platformId == VER_PLATFORM_WIN32_NT &&
        !m->shutdownEnabled)
        return Fail(ERROR_PRIVILEGE_NOT_HELD);
    if (!m->scenario.restartAccepted) return Fail(ERROR_ACCESS_DENIED);
    return TRUE;
}

}  // namespace detail
}  // namespace sim
