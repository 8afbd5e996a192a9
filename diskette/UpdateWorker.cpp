// The update worker.
//
// When the user closes the main dialog while the worker is busy (a prompt on screen, the
// diskette being prepared, formatted or written), the dialog object must not go while the
// worker can still reach it, and a restart the worker owes must be requested before the
// process ends. The design:
//   - InitInstance, once the modal dialog has ended, calls EndUpdateWorker before the
//     dialog object goes. That sets m_bEnded, closes any message box the worker shows, and
//     waits until the worker has set m_workerDone, its last touch of the dialog.
//   - The worker and the diskette writer look at m_bEnded before every step (each prompt,
//     the preparing, each write attempt, each cylinder) and stop there: the volume is
//     closed, which ends the lock, and the dialogue counts as cancelled. A diskette that was
//     completely written still gets its restart; one that was not never does.
//   - The framework's AfxWinMain waits for every worker thread before the process ends.
#include "diskette/UpdateWorker.h"

#include "app/FlashDlg.h"
#include "diskette/DisketteWriter.h"
#include "platform/pc.h"
#include "platform/win.h"

CFlashDlg* g_pActiveDlg = nullptr;

namespace {

const char* const kPrompts[] = {
    "You need to update code.\nClose all the application program before proceeding the next "
    "step.\nAnd then please insert empty floppy diskette.",
    "Please insert empty floppy diskette.",
    "Please terminate all other programs.",
    "Please insert other empty floppy diskette.",
};
const int kPromptAfterFailedWrites = 3;
const char kRebootNotice[] = "Please reboot your system with floppy diskette.";
const char kDrive[] = "A:";
const int kWriteAttempts = 3;

// How often the ending dialog looks again for a message box of the worker to close.
const DWORD kEndPollMs = 50;

}  // namespace

void CFlashDlg::StartUpdateWorker()
{
    if (m_pWorkerThread != nullptr) return;
    CFlashDlg** pBlock = new CFlashDlg*(this);
    m_pWorkerThread = AfxBeginThread(&UpdateWorkerProc, pBlock, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
    if (m_pWorkerThread == nullptr) delete pBlock;  // no thread took it over
}

UINT UpdateWorkerProc(LPVOID pParam)
{
    CFlashDlg** pBlock = static_cast<CFlashDlg**>(pParam);
    CFlashDlg* pDlg = *pBlock;
    delete pBlock;
    pDlg->m_nWorkerThreadId.store(win::GetCurrentThreadId());

    if (pDlg->RunDisketteDialogue() != 0) {
        AfxMessageBox(kRebootNotice, MB_OK);
        pDlg->CloseFromWorker();
        EnableShutdownPrivilege();
        RebootSystem(EWX_REBOOT);
    } else {
        pDlg->CloseFromWorker();
    }
    pDlg->m_workerDone.SetEvent();  // the dialog may go from here on
    return 0;
}

void CFlashDlg::CloseFromWorker()
{
    if (!m_bEnded.load()) win::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

int CFlashDlg::RunDisketteDialogue()
{
    g_pActiveDlg = this;
    int nPrompt = 0;
    for (;;) {
        int nAnswer = AfxMessageBox(kPrompts[nPrompt], MB_OKCANCEL);
        if (m_bEnded.load() || nAnswer == IDCANCEL) return 0;
        if (nAnswer != IDOK) continue;

        int nReady = PrepareDiskette(kDrive);
        if (m_bEnded.load()) return 0;
        if (nReady == DISKETTE_FAILED || nReady == DISKETTE_LOCK_REFUSED) {
            nPrompt = nReady;  // the codes are the indexes of the prompts that follow them
            continue;
        }
        for (int nAttempt = 0; nAttempt < kWriteAttempts; ++nAttempt) {
            if (WriteDisketteImage(kDrive) == DISKETTE_OK) return 1;
            if (m_bEnded.load()) return 0;
        }
        nPrompt = kPromptAfterFailedWrites;
    }
}

void CFlashDlg::EndUpdateWorker()
{
    m_bEnded.store(true);
    if (m_pWorkerThread == nullptr) return;
    // A prompt may be open, or about to open; nobody can answer it any more.
    while (!m_workerDone.Lock(kEndPollMs)) {
        if (DWORD nThreadId = m_nWorkerThreadId.load()) AfxCloseThreadMessageBoxes(nThreadId);
    }
}

int EnableShutdownPrivilege()
{
    HANDLE hToken = nullptr;
    if (!pc::OpenProcessToken(pc::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                              &hToken))
        return PRIVILEGE_NO_TOKEN;
    // The token stays open: the process ends soon, and the platform closes it then.
    TOKEN_PRIVILEGES privileges = {};
    if (!pc::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        return PRIVILEGE_NOT_ADJUSTED;  // no valid LUID to ask for
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    pc::AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when the token lacks the privilege; only the
    // last error tells.
    return pc::GetLastError() != ERROR_SUCCESS ? PRIVILEGE_NOT_ADJUSTED : PRIVILEGE_ENABLED;
}

int RebootSystem(UINT uFlags)
{
    return pc::ExitWindowsEx(uFlags, 0) ? REBOOT_REQUESTED : REBOOT_REFUSED;
}
