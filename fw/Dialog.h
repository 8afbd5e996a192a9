// CDialog: a modal dialog built from a dialog template in the program's resources.
#ifndef VFLASH_FW_DIALOG_H
#define VFLASH_FW_DIALOG_H

#include "fw/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override = default;

    // Creates the dialog, runs it until it ends and returns how it ended (IDOK, IDCANCEL),
    // or -1 when it could not be created.
    virtual INT_PTR DoModal();
    // Called once the window and its controls exist: exchanges the members into the
    // controls. TRUE lets the platform set the focus.
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);

protected:
    virtual void OnOK();      // copies the controls into the members, then ends with IDOK
    virtual void OnCancel();  // ends with IDCANCEL

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};

#endif
