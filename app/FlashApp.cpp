#include "app/FlashApp.h"

#include "app/FlashDlg.h"

// The one application object. Built without a name: message boxes are captioned with the
// program file's base name.
CFlashApp theApp;

BEGIN_MESSAGE_MAP(CFlashApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CFlashApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CFlashDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The update worker may still be running: it must neither outlive the dialog it works
    // for nor be cut off before a restart it owes (see EndUpdateWorker).
    dlg.EndUpdateWorker();
    return FALSE;
}
