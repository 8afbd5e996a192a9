#include "app/WindowsVersion.h"

#include <cstring>

#include "platform/pc.h"

unsigned ClassifyWindowsVersion()
{
    // NT 4.0 before Service Pack 6 and the 9x family only know the 148-byte record and
    // refuse the larger one; the same record, resized, is asked again.
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    LPOSVERSIONINFOA pInfo = reinterpret_cast<LPOSVERSIONINFOA>(&info);
    if (!pc::GetVersionExA(pInfo)) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!pc::GetVersionExA(pInfo)) return OS_OTHER;
    }

    const DWORD major = info.dwMajorVersion;
    const DWORD minor = info.dwMinorVersion;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return OS_WIN32S;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major != 4) return OS_OTHER;
        if (minor == 0) return OS_WIN95;
        if (minor == 10) return OS_WIN98;
        if (minor == 90) return OS_WINME;
        return OS_OTHER;
    case VER_PLATFORM_WIN32_NT:
        if (major <= 4) return OS_WINNT4;
        if (major == 5 && minor == 0) return OS_WIN2000;
        if (major == 5 && minor == 1) return OS_WINXP;
        return OS_OTHER;
    default:
        return OS_OTHER;
    }
}
