// Compile-time proof that the Win32 definitions in use (the compiler's on Windows, ours on
// the host) have the sizes, layouts and values that the program's requests depend on. A
// wrong size here would send a malformed request to the disk driver, so it must not build.
#ifndef VFLASH_PLATFORM_WIN32_CHECKS_H
#define VFLASH_PLATFORM_WIN32_CHECKS_H

#include <cstddef>

namespace win32_checks {

// SMART pass-through. The request and reply carry a one-byte bBuffer placeholder, so the
// bytes they need are the offset of bBuffer (plus the 512-byte IDENTIFY block for the reply).
static_assert(sizeof(GETVERSIONINPARAMS) == 24, "GETVERSIONINPARAMS");
static_assert(sizeof(IDEREGS) == 8, "IDEREGS");
static_assert(offsetof(SENDCMDINPARAMS, irDriveRegs) == 4, "SENDCMDINPARAMS.irDriveRegs");
static_assert(offsetof(SENDCMDINPARAMS, bDriveNumber) == 12, "SENDCMDINPARAMS.bDriveNumber");
static_assert(offsetof(SENDCMDINPARAMS, bBuffer) == 32, "SENDCMDINPARAMS packs to 32");
static_assert(offsetof(SENDCMDOUTPARAMS, DriverStatus) == 4, "SENDCMDOUTPARAMS.DriverStatus");
static_assert(offsetof(SENDCMDOUTPARAMS, bBuffer) == 16, "IDENTIFY block at byte 16");
static_assert(offsetof(SENDCMDOUTPARAMS, bBuffer) + 512 == 528, "SENDCMDOUTPARAMS packs to 528");
static_assert(offsetof(GETVERSIONINPARAMS, bIDEDeviceMap) == 3, "bIDEDeviceMap");
static_assert(SMART_GET_VERSION == 0x74080, "SMART_GET_VERSION");
static_assert(SMART_RCV_DRIVE_DATA == 0x7C088, "SMART_RCV_DRIVE_DATA");

// Version records: GetVersionExA tells the two apart by their size field alone.
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "OSVERSIONINFOEXA");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA");

// Diskette formatting.
static_assert(sizeof(DISK_GEOMETRY) == 24, "DISK_GEOMETRY");
static_assert(sizeof(FORMAT_PARAMETERS) == 20, "FORMAT_PARAMETERS");
static_assert(sizeof(BAD_TRACK_NUMBER) == 2, "BAD_TRACK_NUMBER");
static_assert(IOCTL_DISK_GET_DRIVE_GEOMETRY == 0x70000, "IOCTL_DISK_GET_DRIVE_GEOMETRY");
static_assert(IOCTL_DISK_GET_MEDIA_TYPES == 0x70C00, "IOCTL_DISK_GET_MEDIA_TYPES");
static_assert(IOCTL_DISK_FORMAT_TRACKS == 0x7C018, "IOCTL_DISK_FORMAT_TRACKS");
static_assert(FSCTL_LOCK_VOLUME == 0x90018, "FSCTL_LOCK_VOLUME");
static_assert(FSCTL_UNLOCK_VOLUME == 0x9001C, "FSCTL_UNLOCK_VOLUME");
static_assert(FSCTL_DISMOUNT_VOLUME == 0x90020, "FSCTL_DISMOUNT_VOLUME");

// Integer widths that the arithmetic relies on.
static_assert(sizeof(DWORD) == 4 && sizeof(WORD) == 2 && sizeof(BYTE) == 1, "DWORD/WORD/BYTE");
static_assert(sizeof(LONG) == 4, "LONG");
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*), "WPARAM/LPARAM");

// Values the program passes or compares.
static_assert(GENERIC_READ == 0x80000000UL && GENERIC_WRITE == 0x40000000UL, "GENERIC_*");
static_assert(FILE_SHARE_READ == 1 && FILE_SHARE_WRITE == 2 && OPEN_EXISTING == 3, "file flags");
static_assert(WM_USER == 0x400 && PBM_SETRANGE == WM_USER + 1 && PBM_SETPOS == WM_USER + 2, "PBM_*");
static_assert(PBM_GETPOS == WM_USER + 8, "PBM_GETPOS");
static_assert(TOKEN_ADJUST_PRIVILEGES == 0x20 && TOKEN_QUERY == 0x08, "TOKEN_*");
static_assert(SE_PRIVILEGE_ENABLED == 2 && EWX_REBOOT == 2, "privilege/shutdown flags");
static_assert(LMEM_ZEROINIT == 0x40, "LMEM_ZEROINIT");
static_assert(VER_PLATFORM_WIN32s == 0 && VER_PLATFORM_WIN32_WINDOWS == 1 &&
              VER_PLATFORM_WIN32_NT == 2, "VER_PLATFORM_*");

}  // namespace win32_checks

#endif
