// Finding out what sits at one position: nothing, an ATA disk, an ATAPI device, or
// something that does not answer.
#ifndef VFLASH_STARTUP_CORE_IDENTIFY_H
#define VFLASH_STARTUP_CORE_IDENTIFY_H

#include <stdint.h>

#include "Ata.h"

namespace ata {

enum class Found {
    kNothing,   // status 00h or FFh, or nobody answered IDENTIFY
    kAtaDisk,   // IDENTIFY DEVICE data read
    kAtapi,     // aborted IDENTIFY DEVICE with the packet signature: CD-ROM, tape, ...
    kNoAnswer,  // stayed busy past the bound
    kRejected,  // aborted IDENTIFY DEVICE without a packet signature
};

struct Identity {
    Found found;
    uint16_t words[256];  // IDENTIFY DEVICE data, for kAtaDisk
    char model[41];       // words 27-46, readable and without trailing spaces
    char firmware[9];     // words 23-26, the same way
};

void Identify(hw::Ports& io, hw::Clock& clock, const Position& p, Identity* id);

// ATA strings hold two characters a word, the first in the high byte. Writes `count`
// words' worth of characters to `out` (2 * count + 1 bytes), then cuts trailing spaces.
void AtaString(const uint16_t* words, unsigned count, char* out);

}  // namespace ata

#endif
