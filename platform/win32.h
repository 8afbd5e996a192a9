// The Win32 vocabulary that the program speaks: types, constants and the structures that
// it exchanges with the disk driver and the window manager, under their published names.
//
// The Windows builds take them from the compiler's own Windows headers; the host build
// takes our own definitions, written from the documented values. Both are checked against
// the sizes and values the program relies on (win32_checks.h), so the two can never drift.
#ifndef VFLASH_PLATFORM_WIN32_H
#define VFLASH_PLATFORM_WIN32_H

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winioctl.h>
#include <commctrl.h>
#else
#include "platform/host/win32_defs.h"
#endif

#include "platform/win32_checks.h"

#endif
