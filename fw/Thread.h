// Worker threads in the framework's form: AfxBeginThread and CWinThread.
#ifndef VFLASH_FW_THREAD_H
#define VFLASH_FW_THREAD_H

#include "platform/win32.h"

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    virtual ~CWinThread() = default;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    HANDLE m_hThread = nullptr;  // owned by the framework, closed when the application ends
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;   // the framework deletes the object when the procedure returns
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
    HANDLE m_hStarted = nullptr;  // signalled once AfxBeginThread has filled in the object
};

// Starts `pfnThreadProc(pParam)` on a new thread. Returns the thread object, which is
// deleted when the procedure returns (so the pointer may only be compared, never followed,
// unless m_bAutoDelete was cleared), or null when no thread could be created. Threads are
// started from the application's main thread.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// Waits until every thread that AfxBeginThread started has ended.
void AfxWaitForThreads();

// Closes the message boxes that thread `nThreadID` shows (as if the user pressed their
// close box), so that a thread waiting on an answer nobody can give any more goes on.
void AfxCloseThreadMessageBoxes(DWORD nThreadID);

#endif
