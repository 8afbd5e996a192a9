// The Windows entry point. The framework finds the instance, command line and show state
// itself (through win::), as MFC's does, so nothing is handed over here.
#include "platform/win32.h"

#include "fw/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return AfxWinMain(); }
