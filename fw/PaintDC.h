// CPaintDC: BeginPaint on construction, EndPaint on destruction.
#ifndef VFLASH_FW_PAINTDC_H
#define VFLASH_FW_PAINTDC_H

#include "fw/Wnd.h"
#include "platform/win.h"

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd), m_hDC(win::BeginPaint(m_hWnd, &m_ps)) {}
    ~CPaintDC() { win::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return win::DrawIcon(m_hDC, x, y, hIcon); }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC;
};

#endif
