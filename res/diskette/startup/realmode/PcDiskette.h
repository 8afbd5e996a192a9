// The boot diskette through INT 13h.
#ifndef VFLASH_STARTUP_REALMODE_PCDISKETTE_H
#define VFLASH_STARTUP_REALMODE_PCDISKETTE_H

#include "../core/Hardware.h"

class PcDiskette : public hw::Diskette {
public:
    explicit PcDiskette(uint8_t drive);
    bool Read(uint32_t lba, uint16_t count, uint8_t* buffer) override;

private:
    bool ReadChs(uint32_t lba, uint8_t count, uint8_t* buffer);

    uint8_t drive_;
    uint16_t sectorsPerTrack_;
    uint16_t heads_;
};

#endif
