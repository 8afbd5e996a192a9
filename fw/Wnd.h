// CWnd: a window handle with the framework's message dispatch and data exchange.
#ifndef VFLASH_FW_WND_H
#define VFLASH_FW_WND_H

#include "fw/MessageMap.h"
#include "fw/String.h"
#include "platform/win32.h"

class CDataExchange;

// The system menu, as much of it as a dialog extends.
class CMenu {
public:
    HMENU m_hMenu = nullptr;
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr);
};

class CWnd : public CCmdTarget {
public:
    // The window, from its creation on. It keeps its value after the window is destroyed,
    // until the object itself goes: another thread may still hold and read it (a message
    // sent to a destroyed window simply fails), and clearing it would race with that read.
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;


    // Runs DoDataExchange: FALSE moves the members into the controls, TRUE the reverse.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    CMenu* GetSystemMenu(BOOL bRevert);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;
    void SetWindowText(const char* lpszString);
    void GetWindowText(CString& rString) const;
    HWND GetDlgItem(int nID) const;
    // Centres the window over its owner, or over the screen when the owner is hidden,
    // minimised or absent; never past the screen's edges.
    void CenterWindow();

    // Routes one message through the message maps; FALSE when no handler took it, or the
    // handler handed it on to the default processing.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    // Hands the current message on to the platform's default processing.
    LRESULT Default();

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();

private:
    CMenu m_sysMenu;
};

#endif
