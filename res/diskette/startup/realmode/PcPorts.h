// x86 port I/O, and the hw::Ports that the ATA code runs over on a real PC.
#ifndef VFLASH_STARTUP_REALMODE_PCPORTS_H
#define VFLASH_STARTUP_REALMODE_PCPORTS_H

#include <stdint.h>

#include "../core/Hardware.h"

inline uint8_t PortIn8(uint16_t port)
{
    uint8_t v;
    asm volatile("inb %1, %0" : "=a"(v) : "Nd"(port));
    return v;
}

inline void PortOut8(uint16_t port, uint8_t v) { asm volatile("outb %0, %1" : : "a"(v), "Nd"(port)); }

inline uint16_t PortIn16(uint16_t port)
{
    uint16_t v;
    asm volatile("inw %1, %0" : "=a"(v) : "Nd"(port));
    return v;
}

inline void PortOut16(uint16_t port, uint16_t v) { asm volatile("outw %0, %1" : : "a"(v), "Nd"(port)); }

class PcPorts : public hw::Ports {
public:
    uint8_t In8(uint16_t port) override { return PortIn8(port); }
    void Out8(uint16_t port, uint8_t v) override { PortOut8(port, v); }
    uint16_t In16(uint16_t port) override { return PortIn16(port); }
    void Out16(uint16_t port, uint16_t v) override { PortOut16(port, v); }
};

#endif
