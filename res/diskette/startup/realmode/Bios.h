// Calls into the PC BIOS and the memory outside our segment (bioscall.asm).
#ifndef VFLASH_STARTUP_REALMODE_BIOS_H
#define VFLASH_STARTUP_REALMODE_BIOS_H

#include <stdint.h>

struct BiosRegs {
    uint32_t eax, ebx, ecx, edx, esi, edi;
    uint16_t flags;
};

extern "C" {
void BiosCall(uint32_t vector, BiosRegs* regs);
void FarRead(uint32_t linear, void* dst, uint32_t count);
void FarWrite(uint32_t linear, const void* src, uint32_t count);
}

namespace bios {

const uint16_t kCarry = 0x0001;

inline uint16_t Peek16(uint32_t linear)
{
    uint16_t v;
    FarRead(linear, &v, sizeof v);
    return v;
}

inline uint32_t Peek32(uint32_t linear)
{
    uint32_t v;
    FarRead(linear, &v, sizeof v);
    return v;
}

}  // namespace bios

#endif
