// Text output to the screen (BIOS teletype) and, when the machine has one, to COM1.
#ifndef VFLASH_STARTUP_REALMODE_PCCONSOLE_H
#define VFLASH_STARTUP_REALMODE_PCCONSOLE_H

#include "../core/Hardware.h"

class PcConsole : public hw::Console {
public:
    // Programs COM1 for 9600 8N1: the speed every terminal program offers by default,
    // and a service technician's log of a few hundred characters takes under a second.
    PcConsole();
    void Put(char c) override;

private:
    void PutScreen(char c);
    void PutSerial(char c);
    uint16_t com1_;  // 0 when the BIOS found no COM1
};

#endif
