#include "diskette/ProgressReport.h"

#include "app/FlashDlg.h"
#include "app/Messages.h"
#include "platform/win.h"

bool ReportStep(WPARAM phase, DWORD k, DWORD n)
{
    if (g_pActiveDlg->m_bEnded.load()) return false;
    // Synchronous: the dialog's thread has moved the bar when this returns.
    win::SendMessageA(g_pActiveDlg->m_hWnd, WM_UPDATE_PROGRESS, phase, MAKELPARAM(n, k));
    return true;
}
