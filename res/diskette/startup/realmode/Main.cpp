// STARTUP.BIN's C++ entry, called by crt0 with the BIOS number of the boot drive: puts
// the PC's ports, timer, screen, COM1, diskette and memory behind the interfaces the
// portable start-up logic (../core) runs over, and runs it.
//
// When it is done the program parks the CPU (crt0) instead of ending the machine in some
// way a test could see. Emulator exit ports (isa-debug-exit at F4h, the emulated ACPI
// block at 604h) are ordinary I/O addresses on a real PC: F0h-FFh belong to the numeric
// coprocessor on many boards, and 604h to whatever card or chipset decodes it. Writing
// there after a firmware download, of all moments, is not something to do to a user's
// machine. So the tests watch COM1 for the report's last line and stop QEMU themselves.
#include <stdint.h>

#include "../core/Fat12.h"
#include "../core/Updater.h"
#include "PcClock.h"
#include "PcConsole.h"
#include "PcDiskette.h"
#include "PcMemory.h"
#include "PcPorts.h"

extern "C" void StartupMain(uint32_t bootDrive)
{
    // Static, not on the stack: the volume's buffers alone are larger than the stack.
    // Constructed here, in order, on the first and only call (crt0 runs no constructors).
    static PcConsole console;
    static PcPorts ports;
    static PcClock clock;
    static PcDiskette diskette(static_cast<uint8_t>(bootDrive));
    static PcMemory memory;
    static fat12::Volume volume(diskette);
    startup::Machine machine = {ports, clock, console, diskette, memory, volume};
    startup::Run(machine);
}
