// The framework in one include, as the program's classes use it.
#ifndef VFLASH_FW_AFXWIN_H
#define VFLASH_FW_AFXWIN_H

#include "fw/DataExchange.h"
#include "fw/Dialog.h"
#include "fw/Event.h"
#include "fw/MessageBox.h"
#include "fw/PaintDC.h"
#include "fw/ProgressCtrl.h"
#include "fw/String.h"
#include "fw/Thread.h"
#include "fw/WinApp.h"
#include "fw/Wnd.h"

#endif
