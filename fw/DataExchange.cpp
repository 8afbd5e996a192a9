#include "fw/DataExchange.h"

#include <string>

#include "fw/Wnd.h"
#include "platform/win.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == nullptr) rControl.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hCtrl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int length = static_cast<int>(win::SendMessageA(hCtrl, WM_GETTEXTLENGTH, 0, 0));
        std::string buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        int copied = static_cast<int>(win::SendMessageA(
            hCtrl, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0])));
        value = CString(buffer.data(), copied);
    } else {
        win::SendMessageA(hCtrl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.GetString()));
    }
}
