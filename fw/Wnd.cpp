#include "fw/Wnd.h"

#include "fw/DataExchange.h"
#include "fw/MessageState.h"
#include "platform/win.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return win::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return win::SendMessageA(m_hWnd, message, wParam, lParam);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert)
{
    m_sysMenu.m_hMenu = win::GetSystemMenu(m_hWnd, bRevert);
    return m_sysMenu.m_hMenu ? &m_sysMenu : nullptr;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::IsIconic() const { return win::IsIconic(m_hWnd); }

void CWnd::GetClientRect(LPRECT lpRect) const { win::GetClientRect(m_hWnd, lpRect); }

void CWnd::SetWindowText(const char* lpszString)
{
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString ? lpszString : ""));
}

void CWnd::GetWindowText(CString& rString) const
{
    AfxGetWindowText(m_hWnd, rString);
}

HWND CWnd::GetDlgItem(int nID) const { return win::GetDlgItem(m_hWnd, nID); }

void CWnd::CenterWindow()
{
    RECT area = {0, 0, win::GetSystemMetrics(SM_CXSCREEN), win::GetSystemMetrics(SM_CYSCREEN)};
    RECT centre = area;
    HWND hOwner = win::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner != nullptr && (win::GetWindowLongPtrA(hOwner, GWL_STYLE) & WS_VISIBLE) &&
        !win::IsIconic(hOwner))
        win::GetWindowRect(hOwner, &centre);

    RECT rect;
    win::GetWindowRect(m_hWnd, &rect);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    LONG x = (centre.left + centre.right) / 2 - width / 2;
    LONG y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x + width > area.right) x = area.right - width;
    if (x < area.left) x = area.left;
    if (y + height > area.bottom) y = area.bottom - height;
    if (y < area.top) y = area.top;
    win::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    AFX_MSGSTATE state;
    state.hWnd = m_hWnd;
    state.message = message;
    state.wParam = wParam;
    state.lParam = lParam;
    AfxCurrentMessage current(&state);
    if (!DispatchMessageMap(message, wParam, lParam, pResult)) return FALSE;
    return state.bDefault ? FALSE : TRUE;
}

LRESULT CWnd::Default()
{
    // The platform does the default processing once the handler has returned (the dialog
    // procedure reports the message as not handled); nothing a handler does after calling
    // Default depends on it having happened already.
    if (AFX_MSGSTATE* state = AfxCurrentMessage::Get()) state->bDefault = true;
    return 0;
}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnPaint() { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
