// The update worker: the thread that leads the user through making the boot diskette and
// then asks Windows to restart.
#ifndef VFLASH_DISKETTE_UPDATEWORKER_H
#define VFLASH_DISKETTE_UPDATEWORKER_H

#include "platform/win32.h"

// Result codes of EnableShutdownPrivilege and RebootSystem.
#define PRIVILEGE_ENABLED 0
#define PRIVILEGE_NO_TOKEN 1
#define PRIVILEGE_NOT_ADJUSTED 2
#define REBOOT_REQUESTED 0
#define REBOOT_REFUSED 3

// The worker thread's procedure; its parameter is a heap block holding the dialog pointer,
// which it frees. Always returns 0.
UINT UpdateWorkerProc(LPVOID pParam);

// Enables SeShutdownPrivilege in the process token: 0 done, 1 no token, 2 not assigned.
int EnableShutdownPrivilege();

// Asks Windows to shut down or restart with `uFlags`: 0 accepted, 3 refused.
int RebootSystem(UINT uFlags);

#endif
