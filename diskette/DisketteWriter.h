// Preparing, formatting and writing the diskette in a drive, one cylinder at a time.
#ifndef VFLASH_DISKETTE_DISKETTEWRITER_H
#define VFLASH_DISKETTE_DISKETTEWRITER_H

#include "platform/win32.h"

// Result codes of PrepareDiskette and WriteDisketteImage.
#define DISKETTE_OK 0           // ready (prepare) or written (write)
#define DISKETTE_FAILED 1       // no diskette, no usable media type, a refused format or write
#define DISKETTE_LOCK_REFUSED 2 // another program holds the volume

#define MAX_MEDIA_TYPES 20

// The media types the drive listed at the last query, and how many.
extern DISK_GEOMETRY g_mediaTypes[MAX_MEDIA_TYPES];
extern DWORD g_nMediaTypes;

// Opens and locks the volume `pszDrive` ("A:"), checks that it holds a diskette and
// lists media types, and closes it again.
int PrepareDiskette(const char* pszDrive);

// Formats the diskette in `pszDrive` and writes the main dialog's image onto it, reporting
// each step to the dialog with WM_UPDATE_PROGRESS.
int WriteDisketteImage(const char* pszDrive);

// The wrappers around the volume requests, each on an open volume handle. Nonzero for
// success.
BOOL LockVolume(HANDLE hVolume);
BOOL UnlockVolume(HANDLE hVolume);
BOOL DismountVolume(HANDLE hVolume);
BOOL QueryDriveGeometry(HANDLE hVolume, DISK_GEOMETRY* pGeometry);
DWORD QueryMediaTypes(HANDLE hVolume);
BOOL FormatAllCylinders(HANDLE hVolume, const DISK_GEOMETRY* pType);

#endif
