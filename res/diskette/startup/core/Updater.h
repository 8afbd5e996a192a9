// What the start-up program does from start to end: report on each of the four IDE
// positions, and update the drives that the identity rules pick, when the diskette
// carries an intact firmware file made for them.
#ifndef VFLASH_STARTUP_CORE_UPDATER_H
#define VFLASH_STARTUP_CORE_UPDATER_H

#include "Fat12.h"
#include "Hardware.h"

namespace startup {

struct Machine {
    hw::Ports& ports;
    hw::Clock& clock;
    hw::Console& console;
    hw::Diskette& diskette;
    hw::Memory& memory;  // room for one firmware file
    fat12::Volume& volume;  // over `diskette`; large, so the caller places it
};

// The report's last line, always printed; the QEMU tests wait for it.
extern const char kLastLine[];

void Run(Machine& m);

}  // namespace startup

#endif
