// FLOOR.EXE: the least a Win32 program must do to show VFLASH.EXE's dialog with its final
// text, built with the same compiler, flags and runtime. scripts/bench-startup.sh times both
// from process start to the text showing; the difference is what VFLASH.EXE's own start-up
// (framework, version check, drive scan) costs.
#include <windows.h>
#include <commctrl.h>

#include "floor.h"

namespace {

const char kText[] =
    "Microcode Download Utility For Velmora Hard Disk Drive (v0.1)\n\n"
    "Your computer has following hard disk drive.\n\n\n"
    "You don't need to upgrage firmware code.\n"
    "Program is terminated. Please press ESC key.\n";

INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(dialog, IDC_FLOOR_TEXT, kText);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    return int(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_FLOOR), nullptr, FloorProc, 0));
}
