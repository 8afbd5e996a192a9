#include "fw/Dialog.h"

#include "fw/WinApp.h"
#include "platform/win.h"

namespace {

// Messages whose result a dialog procedure returns itself rather than through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    return message == WM_QUERYDRAGICON || message == WM_INITDIALOG;
}

// The one dialog procedure of every CDialog: it binds the object to its window on
// WM_INITDIALOG and routes every later message through the object's message maps.
// Messages that no handler takes go back to the platform's default dialog processing.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
        win::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        pDlg->m_hWnd = hWnd;
        RECT before;
        win::GetWindowRect(hWnd, &before);
        BOOL bResult = pDlg->OnInitDialog();
        // A dialog that its template does not place and that initialisation did not move
        // opens centred over its owner (or the screen), as the framework has always done.
        RECT after;
        win::GetWindowRect(hWnd, &after);
        LONG_PTR style = win::GetWindowLongPtrA(hWnd, GWL_STYLE);
        if (!(style & (DS_CENTER | DS_ABSALIGN | WS_CHILD)) && before.left == after.left &&
            before.top == after.top)
            pDlg->CenterWindow();
        return bResult;
    }
    CWnd* pWnd = reinterpret_cast<CWnd*>(win::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (pWnd == nullptr) return FALSE;
    LRESULT result = 0;
    if (!pWnd->OnWndMsg(message, wParam, lParam, &result)) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    win::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    // Without a parent the dialog is owned by the application's main window, unless it is
    // the main window itself.
    HWND hOwner = nullptr;
    if (m_pParentWnd != nullptr) {
        hOwner = m_pParentWnd->m_hWnd;
    } else if (CWnd* pMain = AfxGetMainWnd(); pMain != nullptr && pMain != this) {
        hOwner = pMain->m_hWnd;
    }
    return win::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCE(m_nIDTemplate), hOwner,
                                &AfxDlgProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::EndDialog(int nResult) { win::EndDialog(m_hWnd, nResult); }

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
