// The main dialog: it holds all of the program's run-time state, takes the whole decision
// while it initialises, and shows the outcome in its log text and progress bar.
#ifndef VFLASH_APP_FLASHDLG_H
#define VFLASH_APP_FLASHDLG_H

#include <atomic>

#include "drives/DriveTable.h"
#include "fw/afxwin.h"
#include "res/resource.h"

class CFlashDlg : public CDialog {
public:
    explicit CFlashDlg(CWnd* pParent = nullptr);
    ~CFlashDlg() override = default;

    enum { IDD = IDD_MAIN_DIALOG };

    // Lists the identified drives in the log; 1 when one of them needs the update.
    int ReportDrives();
    // Starts the update worker, at most once.
    void StartUpdateWorker();
    // The worker's prompt loop (on the worker thread): 1 once a diskette is written, 0 when
    // the user cancelled or the dialog ended.
    int RunDisketteDialogue();
    // Called once the dialog has ended, before the object goes: stops the worker at its
    // next step and waits for it (see UpdateWorker.cpp).
    void EndUpdateWorker();

    const BYTE* m_pImage;            // the diskette image in the program's resources, or null
    CWinThread* m_pWorkerThread;     // non-null once a start has been made; never followed
    DWORD m_nImageSize;              // the image's length in bytes
    CProgressCtrl m_progress;        // IDC_PROGRESS
    CString m_strLog;                // IDC_LOG_TEXT; only ever appended to
    HICON m_hIcon;                   // IDR_MAINFRAME
    CDriveTable m_drives;

    // Set on the main thread once the dialog has ended. The worker and the diskette writer
    // look at it before every step and stop instead of touching the ended dialog.
    std::atomic<bool> m_bEnded{false};
    // The worker's thread id, so the ending dialog can close a message box it shows.
    std::atomic<DWORD> m_nWorkerThreadId{0};
    // Set by the worker as the very last thing it does with this dialog.
    CEvent m_workerDone;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg LRESULT OnUpdateProgress(WPARAM wParam, LPARAM lParam);

    // Sends WM_CLOSE to the dialog unless it has already ended.
    void CloseFromWorker();
    friend UINT UpdateWorkerProc(LPVOID pParam);

    DECLARE_MESSAGE_MAP()
};

// The main dialog, for the diskette writer; set by the worker before its first diskette
// operation and never reset.
extern CFlashDlg* g_pActiveDlg;

#endif
