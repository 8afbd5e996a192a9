#include "PcMemory.h"

#include "Bios.h"

namespace {

const uint32_t kBase = 0x20000;   // just above STARTUP.BIN's segment
const uint32_t kLimit = 0xA0000;  // never past conventional memory, whatever INT 12h says

}  // namespace

PcMemory::PcMemory() : size_(0)
{
    BiosRegs r = {};
    BiosCall(0x12, &r);  // AX = KB of conventional memory
    uint32_t top = (r.eax & 0xFFFF) * 1024;
    if (top > kLimit) top = kLimit;
    if (top > kBase) size_ = top - kBase;
}

void PcMemory::Write(uint32_t offset, const void* src, uint16_t count)
{
    if (offset > size_ || count > size_ - offset) return;
    FarWrite(kBase + offset, src, count);
}

void PcMemory::Read(uint32_t offset, void* dst, uint16_t count)
{
    if (offset > size_ || count > size_ - offset) return;
    FarRead(kBase + offset, dst, count);
}
