// Resource identifiers, shared by the resource script and the program's code.
#ifndef VFLASH_RES_RESOURCE_H
#define VFLASH_RES_RESOURCE_H

#define IDD_ABOUTBOX 100        // the About box
#define IDS_ABOUTBOX 101        // its system-menu entry: "&About VELMORA FLASH..."
#define IDD_MAIN_DIALOG 102     // the main dialog
#define IDR_MAINFRAME 128       // the application icon (32 x 32 and 16 x 16, 16 colours)
#define IDR_DISKETTE_IMAGE 139  // RCDATA: the bootable 1.44 MB diskette image

#define IDC_LOG_TEXT 1000       // main dialog: the log text (static)
#define IDC_PROGRESS 1001       // main dialog: the progress bar

#define IDM_ABOUTBOX 0x0010     // system-menu command that opens the About box

#endif
