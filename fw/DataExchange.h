// Data exchange between a dialog's members and its controls.
#ifndef VFLASH_FW_DATAEXCHANGE_H
#define VFLASH_FW_DATAEXCHANGE_H

#include "fw/String.h"
#include "platform/win32.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
};

// Binds `rControl` to the dialog's control `nIDC` on the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The text of window `hWnd`.
void AfxGetWindowText(HWND hWnd, CString& rString);
// Moves a control's text to `value`, or `value` to the control's text.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

#endif
