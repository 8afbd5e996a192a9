// The bootable diskette image the program carries among its resources.
#ifndef VFLASH_DISKETTE_DISKETTEIMAGE_H
#define VFLASH_DISKETTE_DISKETTEIMAGE_H

#include "platform/win32.h"

// The image's first byte, with its length stored in *pnSize; null (and *pnSize untouched)
// when the resource is missing. The bytes belong to the program module: never freed, never
// written.
const BYTE* LoadDisketteImage(DWORD* pnSize);

#endif
