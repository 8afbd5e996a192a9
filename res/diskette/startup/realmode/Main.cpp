// STARTUP.BIN's C++ entry, called by crt0 with the BIOS number of the boot drive.
//
// When it is done the program parks the CPU (crt0) instead of ending the machine in some
// way a test could see. Emulator exit ports (isa-debug-exit at F4h, the emulated ACPI
// block at 604h) are ordinary I/O addresses on a real PC: F0h-FFh belong to the numeric
// coprocessor on many boards, and 604h to whatever card or chipset decoded it. Writing
// there after a firmware download, of all moments, is not something to do to a user's
// machine. So the tests watch COM1 for the last line instead and stop QEMU themselves.
#include <stdint.h>

#include "PcConsole.h"

extern "C" void StartupMain(uint32_t bootDrive)
{
    (void)bootDrive;
    PcConsole console;
    for (const char* p = "vflash start-up program running\n"; *p; ++p) console.Put(*p);
}
