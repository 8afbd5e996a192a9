// CProgressCtrl: the common-controls progress bar; every call is one message to the bar's
// own window.
#ifndef VFLASH_FW_PROGRESSCTRL_H
#define VFLASH_FW_PROGRESSCTRL_H

#include "fw/Wnd.h"

class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper)
    {
        SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
    }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos), 0)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

#endif
