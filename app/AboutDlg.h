// The About box.
#ifndef VFLASH_APP_ABOUTDLG_H
#define VFLASH_APP_ABOUTDLG_H

#include "fw/afxwin.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
    ~CAboutDlg() override = default;

    enum { IDD = IDD_ABOUTBOX };

protected:
    // The box has nothing to exchange.
    void DoDataExchange(CDataExchange*) override {}

    DECLARE_MESSAGE_MAP()
};

#endif
