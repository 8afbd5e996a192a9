// The ATA task-file interface of the legacy IDE channels, polled, interrupts off.
#ifndef VFLASH_STARTUP_CORE_ATA_H
#define VFLASH_STARTUP_CORE_ATA_H

#include <stdint.h>

#include "Hardware.h"

namespace ata {

// Command block registers, as offsets from the channel's base port.
const uint16_t kData = 0, kError = 1, kFeatures = 1, kCount = 2, kLbaLow = 3, kLbaMid = 4,
               kLbaHigh = 5, kDevice = 6, kStatus = 7, kCommand = 7;

const uint8_t kStatusBusy = 0x80, kStatusReady = 0x40, kStatusFault = 0x20, kStatusDrq = 0x08,
              kStatusError = 0x01;
const uint8_t kControlNoInterrupts = 0x02;  // nIEN: we poll, the BIOS's IRQ handler stays idle

const uint8_t kCmdIdentifyDevice = 0xEC;
const uint8_t kCmdDownloadMicrocode = 0x92;

// One of the four positions of the two legacy channels.
struct Position {
    uint16_t base;     // 1F0h or 170h
    uint16_t control;  // 3F6h or 376h: device control on write, alternate status on read
    uint8_t device;    // 0 master, 1 slave
    const char* name;
};

extern const Position kPositions[4];

// How long a device may stay busy, in BIOS ticks (18 a second).
const uint32_t kCommandTicks = 5 * 18;    // to take a command or hand over IDENTIFY data
const uint32_t kBlockTicks = 10 * 18;     // to take one 512-byte block of microcode
const uint32_t kActivateTicks = 60 * 18;  // to store and switch to new microcode

// Selects the position's device and waits the 400 ns a device may take to show its status.
void Select(hw::Ports& io, const Position& p);

// Waits until BSY clears; false when `ticks` ran out first. `status` gets the last read.
bool WaitNotBusy(hw::Ports& io, hw::Clock& clock, const Position& p, uint32_t ticks, uint8_t* status);

}  // namespace ata

#endif
