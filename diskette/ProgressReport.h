// How the diskette writer tells the main dialog where it is.
#ifndef VFLASH_DISKETTE_PROGRESSREPORT_H
#define VFLASH_DISKETTE_PROGRESSREPORT_H

#include "platform/win32.h"

// Sends WM_UPDATE_PROGRESS for step k of n of `phase` to the main dialog (g_pActiveDlg),
// before the step is taken. False, and nothing sent, once the dialog has ended: the user
// closed the program, and the pass stops there rather than go on for nobody.
bool ReportStep(WPARAM phase, DWORD k, DWORD n);

#endif
