// Conventional memory above our segment, for a firmware file: from linear 20000h up to
// what INT 12h reports (the extended BIOS data area and video memory lie above that).
#ifndef VFLASH_STARTUP_REALMODE_PCMEMORY_H
#define VFLASH_STARTUP_REALMODE_PCMEMORY_H

#include "../core/Hardware.h"

class PcMemory : public hw::Memory {
public:
    PcMemory();
    uint32_t Size() override { return size_; }
    void Write(uint32_t offset, const void* src, uint16_t count) override;
    void Read(uint32_t offset, void* dst, uint16_t count) override;

private:
    uint32_t size_;
};

#endif
