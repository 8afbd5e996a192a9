// What the simulated PC answers about the process itself: its token and privileges, the
// restart request, the Windows version and local memory. Each function is called with
// Lock() held and sets the last error when it fails.
#ifndef VFLASH_PLATFORM_SIM_PROCESS_H
#define VFLASH_PLATFORM_SIM_PROCESS_H

#include "platform/sim/Machine.h"

namespace sim {
namespace detail {

// The value GetCurrentProcess gives: the pseudo handle every process uses for itself.
HANDLE ProcessPseudoHandle();

// More privileges than any token has: a larger count in a request is taken as garbage.
const DWORD kMaxPrivilegeEntries = 64;
// The bytes of a TOKEN_PRIVILEGES holding `count` entries.
std::size_t TokenPrivilegesBytes(DWORD count);

BOOL OpenToken(Machine* m, HANDLE process, DWORD access, HANDLE* token);
BOOL LookupPrivilege(LPCSTR systemName, LPCSTR name, LUID* luid);
BOOL AdjustPrivileges(Machine* m, HANDLE token, BOOL disableAll, const TOKEN_PRIVILEGES* newState,
                      DWORD bufferLength, TOKEN_PRIVILEGES* previousState, DWORD* returnLength);
BOOL RequestRestart(Machine* m, UINT flags);

BOOL GetVersionInfo(const Scenario& s, OSVERSIONINFOA* info);

HLOCAL Allocate(Machine* m, UINT flags, SIZE_T bytes);
HLOCAL Free(Machine* m, HLOCAL block);

}  // namespace detail
}  // namespace sim

#endif
