#include "fw/MessageBox.h"

#include "fw/WinApp.h"
#include "fw/Wnd.h"
#include "platform/win.h"

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT /*nIDHelp*/)
{
    CWinApp* pApp = AfxGetApp();
    CWnd* pMain = AfxGetMainWnd();
    HWND hOwner = pMain ? pMain->m_hWnd : nullptr;
    if ((nType & MB_ICONMASK) == 0) nType |= MB_ICONEXCLAMATION;
    return win::MessageBoxA(hOwner, lpszText, pApp ? pApp->m_pszAppName : nullptr, nType);
}
