#include "PcDiskette.h"

#include "Bios.h"

namespace {

// Reads fail now and then while the motor comes up to speed; the BIOS expects callers
// to reset and try again.
const int kTries = 3;

}  // namespace

PcDiskette::PcDiskette(uint8_t drive) : drive_(drive), sectorsPerTrack_(18), heads_(2)
{
    // The geometry comes from the boot sector's BPB, which is what the boot loader used
    // too. Sector 0 is cylinder 0, head 0, sector 1 whatever the geometry.
    static uint8_t boot[512];
    if (!ReadChs(0, 1, boot)) return;
    const uint16_t spt = static_cast<uint16_t>(boot[24] | (boot[25] << 8));
    const uint16_t heads = static_cast<uint16_t>(boot[26] | (boot[27] << 8));
    if (spt >= 1 && spt <= 63 && heads >= 1 && heads <= 2) {
        sectorsPerTrack_ = spt;
        heads_ = heads;
    }
}

bool PcDiskette::Read(uint32_t lba, uint16_t count, uint8_t* buffer)
{
    // One BIOS call per track at most: many BIOSes refuse multi-sector reads that cross
    // a track or head. The buffer lies in our segment, which is one 64 KB DMA page
    // (crt0.asm), so no transfer crosses a DMA boundary.
    while (count) {
        const uint16_t sector = static_cast<uint16_t>(lba % sectorsPerTrack_);
        uint16_t n = static_cast<uint16_t>(sectorsPerTrack_ - sector);
        if (n > count) n = count;
        if (!ReadChs(lba, static_cast<uint8_t>(n), buffer)) return false;
        lba += n;
        count = static_cast<uint16_t>(count - n);
        buffer += n * hw::Diskette::kSectorSize;
    }
    return true;
}

bool PcDiskette::ReadChs(uint32_t lba, uint8_t count, uint8_t* buffer)
{
    const uint32_t track = lba / sectorsPerTrack_;
    const uint8_t sector = static_cast<uint8_t>(lba % sectorsPerTrack_ + 1);
    const uint8_t head = static_cast<uint8_t>(track % heads_);
    const uint16_t cylinder = static_cast<uint16_t>(track / heads_);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        BiosRegs r = {};
        r.eax = 0x0200u | count;  // read sectors
        r.ebx = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(buffer));  // ES:BX, ES is ours
        r.ecx = static_cast<uint32_t>(((cylinder & 0xFF) << 8) | ((cylinder >> 2) & 0xC0) | sector);
        r.edx = static_cast<uint32_t>((head << 8) | drive_);
        BiosCall(0x13, &r);
        if (!(r.flags & bios::kCarry)) return true;
        BiosRegs reset = {};
        reset.edx = drive_;
        BiosCall(0x13, &reset);
    }
    return false;
}
