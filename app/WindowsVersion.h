// Which Windows the program runs on, as far as its start-up gate cares.
#ifndef VFLASH_APP_WINDOWSVERSION_H
#define VFLASH_APP_WINDOWSVERSION_H

#define OS_OTHER 0    // the query failed, or a version not listed here (NT 5.2 and later...)
#define OS_WIN32S 1
#define OS_WIN95 2
#define OS_WIN98 3
#define OS_WINME 4
#define OS_WINNT4 5   // NT 4.0 and every earlier NT
#define OS_WIN2000 6
#define OS_WINXP 7

// The version code of the running Windows. Only OS_WINNT4, OS_WIN2000 and OS_WINXP pass
// the gate: the later NT versions changed the diskette and privilege rules this program
// was made for, and the 9x family has no SMART pass-through on physical drives.
unsigned ClassifyWindowsVersion();

// The codes that pass the start-up gate.
inline bool IsSupportedWindows(unsigned nCode)
{
    return nCode == OS_WINNT4 || nCode == OS_WIN2000 || nCode == OS_WINXP;
}

#endif
