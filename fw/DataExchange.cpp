#include "fw/DataExchange.h"

#include "fw/Wnd.h"
#include "platform/win.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == nullptr) rControl.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC);
}

void AfxGetWindowText(HWND hWnd, CString& rString)
{
    int length = static_cast<int>(win::SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
    if (length < 0) length = 0;
    char* buffer = rString.GetBuffer(length);
    if (buffer == nullptr) return;
    int copied = static_cast<int>(
        win::SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(length) + 1, reinterpret_cast<LPARAM>(buffer)));
    rString.ReleaseBuffer(copied > 0 && copied <= length ? copied : 0);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hCtrl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pDX->m_bSaveAndValidate) {
        AfxGetWindowText(hCtrl, value);
    } else {
        win::SendMessageA(hCtrl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.GetString()));
    }
}
