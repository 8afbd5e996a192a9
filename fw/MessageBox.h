// AfxMessageBox: a modal message box in the application's name.
#ifndef VFLASH_FW_MESSAGEBOX_H
#define VFLASH_FW_MESSAGEBOX_H

#include "platform/win32.h"

// Shows `lpszText` with the application's name as caption, owned by the application's main
// window on whichever thread calls it. When `nType` names no icon, the exclamation icon is
// added. Returns the button the user chose (IDOK, IDCANCEL, ...), or 0 when no box could be
// shown.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

#endif
