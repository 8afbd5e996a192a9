// The application object.
#ifndef VFLASH_APP_FLASHAPP_H
#define VFLASH_APP_FLASHAPP_H

#include "fw/afxwin.h"

class CFlashApp : public CWinApp {
public:
    CFlashApp() = default;
    ~CFlashApp() override = default;

    // Runs the main dialog modally; the program ends when it closes.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

#endif
