// The main dialog's window chrome: the About entry of the system menu, and the icon that
// the minimised dialog draws and drags.
#include "app/AboutDlg.h"
#include "app/FlashDlg.h"
#include "platform/win.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

void CFlashDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    // Windows uses the four low bits of a system command internally.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CFlashDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    // Centre the icon in the client area; signed, truncating toward zero, so an area
    // narrower than the icon puts it at -1, not -2.
    int cxIcon = win::GetSystemMetrics(SM_CXICON);
    int cyIcon = win::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CFlashDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
