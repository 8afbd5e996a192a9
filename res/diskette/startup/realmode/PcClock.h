// The BIOS tick counter at 0040:006C, advanced 18.2 times a second by the timer interrupt.
#ifndef VFLASH_STARTUP_REALMODE_PCCLOCK_H
#define VFLASH_STARTUP_REALMODE_PCCLOCK_H

#include "../core/Hardware.h"
#include "Bios.h"

class PcClock : public hw::Clock {
public:
    uint32_t Ticks() override { return bios::Peek32(0x46C); }
};

#endif
