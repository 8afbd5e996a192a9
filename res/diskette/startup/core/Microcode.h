// Sending new microcode with DOWNLOAD MICROCODE (92h), PIO data-out, polled.
#ifndef VFLASH_STARTUP_CORE_MICROCODE_H
#define VFLASH_STARTUP_CORE_MICROCODE_H

#include <stdint.h>

#include "Ata.h"

namespace ata {

// The subcommands (features register) used, from the drive's IDENTIFY words.
enum class Transfer : uint8_t {
    kNone = 0x00,       // the drive does not offer the command
    kSegmented = 0x03,  // several commands, each naming its offset; IDENTIFY word 119 bit 4
    kWhole = 0x07,      // one command carrying everything; IDENTIFY word 83 bit 0
};

struct Plan {
    Transfer transfer;
    uint16_t blocksPerCommand;  // for kSegmented
};

// `unannouncedOk`: the firmware file says its family takes kWhole even where IDENTIFY
// does not announce the command (drives built before the announcement bit, or that leave
// it clear); only then is a drive without the bit sent anything.
Plan ChoosePlan(const uint16_t* identify, bool unannouncedOk);

enum class Sent {
    kDone,      // every block taken, the drive reported no error
    kRefused,   // the drive reported an error, or ended the transfer early
    kNoAnswer,  // the drive stayed busy past the bound
};

struct Outcome {
    Sent sent;
    uint8_t status;  // last status read
    uint8_t error;   // error register when the drive refused
    uint32_t blocks;  // blocks the drive took
};

// Sends `blocks` 512-byte blocks read from `payload` at `offset`. The position must hold
// the drive the payload was checked against.
Outcome Download(hw::Ports& io, hw::Clock& clock, const Position& p, const Plan& plan, hw::Memory& payload,
                 uint32_t offset, uint32_t blocks);

}  // namespace ata

#endif
