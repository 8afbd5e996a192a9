#include "fw/WinApp.h"

#include <cstring>

#include "fw/Thread.h"
#include "fw/Wnd.h"
#include "platform/win.h"

namespace {
CWinApp* g_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_strGivenName(lpszAppName), m_bNamed(lpszAppName != nullptr)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::InitAppName()
{
    if (m_bNamed) {
        m_strAppName = m_strGivenName;
    } else if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE)) {
        char path[MAX_PATH + 1] = {};
        DWORD n = win::GetModuleFileNameA(nullptr, path, MAX_PATH);
        path[n < MAX_PATH ? n : MAX_PATH] = '\0';
        const char* base = path;
        for (const char* p = path; *p; ++p)
            if (*p == '\\' || *p == '/' || *p == ':') base = p + 1;
        const char* dot = std::strrchr(base, '.');
        m_strAppName = CString(base, dot ? static_cast<int>(dot - base) : static_cast<int>(std::strlen(base)));
    }
    m_pszAppName = m_strAppName.GetString();
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HINSTANCE AfxGetResourceHandle()
{
    if (g_pApp && g_pApp->m_hInstance) return g_pApp->m_hInstance;
    return reinterpret_cast<HINSTANCE>(win::GetModuleHandleA(nullptr));
}

int AfxWinMain()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) return -1;
    pApp->m_hInstance = reinterpret_cast<HINSTANCE>(win::GetModuleHandleA(nullptr));
    pApp->InitAppName();
    // The dialogs use the common controls' progress bar, whose window class exists only
    // once the common controls are initialised.
    win::InitCommonControls();

    int nExitCode = 0;
    if (!pApp->InitInstance()) nExitCode = pApp->ExitInstance();
    // The process ends when this returns: a worker that is still finishing (a restart
    // request on its way, say) must not be cut off.
    AfxWaitForThreads();
    return nExitCode;
}
