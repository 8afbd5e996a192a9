// The program's own window messages.
#ifndef VFLASH_APP_MESSAGES_H
#define VFLASH_APP_MESSAGES_H

#include "platform/win32.h"

// Sent by the diskette writer to the main dialog just before each step of a pass.
//   wParam: the phase, 0 formatting, 1 writing (anything else is ignored).
//   lParam: MAKELPARAM(N, k): the phase's number of steps N (cylinders) in the low word,
//           the 1-based step k about to be taken in the high word.
//   Result: 0.
#define WM_UPDATE_PROGRESS (WM_USER + 100)

#define PROGRESS_PHASE_FORMAT 0
#define PROGRESS_PHASE_WRITE 1

#endif
