#include "app/FlashDlg.h"

#include "app/Messages.h"
#include "app/WindowsVersion.h"
#include "diskette/DisketteImage.h"
#include "platform/win.h"

namespace {
const char kBanner[] = "Microcode Download Utility For Velmora Hard Disk Drive (v0.1)\n\n";
const char kTerminated[] = "Program is terminated. Please press ESC key.\n";
}  // namespace

BEGIN_MESSAGE_MAP(CFlashDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_MESSAGE(WM_UPDATE_PROGRESS, OnUpdateProgress)
END_MESSAGE_MAP()

CFlashDlg::CFlashDlg(CWnd* pParent)
    : CDialog(CFlashDlg::IDD, pParent),
      m_pImage(nullptr),
      m_pWorkerThread(nullptr),
      m_nImageSize(0),
      m_hIcon(win::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME)))
{
    // m_nImageSize starts at 0 so that a missing image also reads as an empty one.
}

void CFlashDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Text(pDX, IDC_LOG_TEXT, m_strLog);
}

BOOL CFlashDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    m_pWorkerThread = nullptr;
    m_pImage = LoadDisketteImage(&m_nImageSize);

    m_strLog += kBanner;
    if (IsSupportedWindows(ClassifyWindowsVersion())) {
        if (ReportDrives() == 1) {
            m_strLog += "\nNow copying files to floppy.\n";
            m_strLog += "Please wait for a while.\n";
            UpdateData(FALSE);
            StartUpdateWorker();
        } else {
            m_strLog += "\nYou don't need to upgrage firmware code.\n";
            m_strLog += kTerminated;
            UpdateData(FALSE);
        }
    } else {
        // Refused before any drive is opened: the scan belongs to the drive report.
        m_strLog += "This program can be run in Windows NT 4.0, 2000, XP.\n";
        m_strLog += kTerminated;
        UpdateData(FALSE);
    }
    return TRUE;
}

int CFlashDlg::ReportDrives()
{
    int nDecision = 0;
    m_drives.ScanDrives();

    m_strLog += "Your computer has following hard disk drive";
    if (m_drives.m_nIdentified > 1) m_strLog += "s";
    m_strLog += ".\n\n";

    for (int i = 0; i < DRIVE_SLOTS; ++i) {
        if (!(m_drives.m_dwFlags[i] & DRIVE_IDENTIFIED)) continue;
        m_strLog += m_drives.m_strModel[i];
        m_strLog += " [ ";
        m_strLog += m_drives.m_strFirmware[i];
        m_strLog += " ]";
        if (m_drives.m_dwFlags[i] & DRIVE_NEEDS_UPDATE) nDecision = 1;
        m_strLog += "\n";
    }
    UpdateData(FALSE);
    return nDecision;
}

LRESULT CFlashDlg::OnUpdateProgress(WPARAM wParam, LPARAM lParam)
{
    const DWORD k = HIWORD(lParam);  // the step about to be taken, from 1
    const DWORD n = LOWORD(lParam);  // the phase's number of steps
    // Each phase fills one half of the bar. A message announcing no steps at all carries
    // no position; it is ignored rather than divided by.
    if (n == 0) return 0;
    if (wParam == PROGRESS_PHASE_FORMAT) {
        m_progress.SetPos(static_cast<int>((k * 50) / n));
    } else if (wParam == PROGRESS_PHASE_WRITE) {
        m_progress.SetPos(static_cast<int>((k * 50) / n + 50));
    }
    return 0;
}
