#include "fw/Thread.h"

#include <cstring>

#include "platform/win.h"

namespace {

// Handles of the threads started so far. Only the main thread starts threads and waits
// for them, so the list needs no lock. The program starts one worker; a few more would
// fit, and a start beyond them is refused like any failed start.
const int kMaxThreads = 8;
HANDLE g_hStarted[kMaxThreads];
int g_nStarted = 0;

unsigned ThreadEntry(void* pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    // AfxBeginThread writes the handle and id into the object after the thread exists;
    // wait for that before the object can be deleted below.
    win::WaitForSingleObject(pThread->m_hStarted, INFINITE);
    win::CloseHandle(pThread->m_hStarted);
    pThread->m_hStarted = nullptr;
    UINT nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    if (pThread->m_bAutoDelete) delete pThread;
    return nResult;
}

BOOL CALLBACK CloseMessageBoxProc(HWND hWnd, LPARAM)
{
    // Message boxes are dialogs of the system's dialog class; WM_CLOSE ends one as its
    // close box does (with IDCANCEL where it has a Cancel button, else IDOK).
    char cls[16] = {};
    win::GetClassNameA(hWnd, cls, static_cast<int>(sizeof cls));
    if (std::strcmp(cls, "#32770") == 0) win::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT /*nStackSize*/, DWORD /*dwCreateFlags*/,
                           LPSECURITY_ATTRIBUTES /*lpSecurityAttrs*/)
{
    if (g_nStarted == kMaxThreads) return nullptr;
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    pThread->m_hStarted = win::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (pThread->m_hStarted == nullptr) {
        delete pThread;
        return nullptr;
    }
    DWORD nThreadID = 0;
    HANDLE hThread = win::BeginThread(&ThreadEntry, pThread, nPriority, &nThreadID);
    if (hThread == nullptr) {
        win::CloseHandle(pThread->m_hStarted);
        delete pThread;
        return nullptr;
    }
    pThread->m_hThread = hThread;
    pThread->m_nThreadID = nThreadID;
    g_hStarted[g_nStarted++] = hThread;
    HANDLE hStarted = pThread->m_hStarted;
    win::SetEvent(hStarted);  // from here on the thread owns the object
    return pThread;
}

void AfxWaitForThreads()
{
    for (int i = 0; i < g_nStarted; ++i) {
        win::WaitForSingleObject(g_hStarted[i], INFINITE);
        win::CloseHandle(g_hStarted[i]);
    }
    g_nStarted = 0;
}

void AfxCloseThreadMessageBoxes(DWORD nThreadID)
{
    win::EnumThreadWindows(nThreadID, &CloseMessageBoxProc, 0);
}
