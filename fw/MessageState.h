// The message being handled on this thread, so that a handler can hand it on to the
// default processing (CWnd::Default) the way the framework's handlers do.
#ifndef VFLASH_FW_MESSAGESTATE_H
#define VFLASH_FW_MESSAGESTATE_H

#include "platform/win32.h"

struct AFX_MSGSTATE {
    HWND hWnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool bDefault = false;  // a handler asked for the default processing
    AFX_MSGSTATE* pPrev = nullptr;
};

// Makes `state` the current message of this thread for its lifetime (handlers nest when
// one sends a message that is handled on the same thread).
class AfxCurrentMessage {
public:
    explicit AfxCurrentMessage(AFX_MSGSTATE* state);
    ~AfxCurrentMessage();
    static AFX_MSGSTATE* Get();

private:
    AFX_MSGSTATE* m_pState;
};

#endif
