// CWinApp: the application object, and the framework's entry point AfxWinMain.
#ifndef VFLASH_FW_WINAPP_H
#define VFLASH_FW_WINAPP_H

#include "fw/MessageMap.h"
#include "fw/String.h"
#include "platform/win32.h"

class CWnd;

#define ID_HELP 0xE146
#define AFX_IDS_APP_TITLE 0xE000

class CWinApp : public CCmdTarget {
public:
    // With no name, the application is named after the program file (see InitAppName).
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE to end the application at once, without a message loop of its own.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Kept for the classic start-up sequence; the three-dimensional look is built into
    // every Windows this program runs on, so there is nothing to enable.
    BOOL Enable3dControlsStatic() { return TRUE; }

    void OnHelp() {}

    CWnd* m_pMainWnd = nullptr;
    LPCSTR m_pszAppName = nullptr;  // the caption of every message box
    HINSTANCE m_hInstance = nullptr;

    // Names the application: the given name; else string AFX_IDS_APP_TITLE; else the
    // program file's base name without directory and extension.
    void InitAppName();

private:
    CString m_strGivenName;
    CString m_strAppName;
    bool m_bNamed;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
// The application's main window: message boxes of every thread are owned by it.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();
// Hosting of ActiveX controls: the program hosts none, so this only keeps the classic
// start-up sequence readable.
inline void AfxEnableControlContainer(void* = nullptr) {}

// Runs the application: names it, initialises common controls, calls InitInstance, and
// before returning waits for every thread started with AfxBeginThread. Returns the exit
// code.
int AfxWinMain();

#endif
