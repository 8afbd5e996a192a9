// The firmware file that the diskette carries for one drive family, named FAMILY.FW
// (e.g. QN.FW). Our own format; all numbers little-endian:
//
//   offset size
//      0     8  magic "VFLASHFW"
//      8     2  format version, 1
//     10     2  header size, 128: the payload starts here
//     12     2  family code, as the first two characters of the drive's revision ("QN")
//     14    40  model text the payload is made for, NUL padded; must equal the drive's
//               model (trailing spaces removed) exactly
//     54     8  revision the payload installs, NUL padded (shown to the user)
//     62     2  flags: bit 0 = this family takes DOWNLOAD MICROCODE even where IDENTIFY
//               does not announce it; other bits zero
//     64     4  payload length in bytes: a non-zero multiple of 512
//     68     4  CRC-32 of the payload
//     72    52  zero
//    124     4  CRC-32 of bytes 0..123
//    128        payload
//
// Both checksums and every field are checked before a single byte goes to a drive.
// The same code writes the header (mkfirmware) and reads it (the start-up program).
#ifndef VFLASH_STARTUP_CORE_FIRMWAREFILE_H
#define VFLASH_STARTUP_CORE_FIRMWAREFILE_H

#include <stdint.h>

#include "Hardware.h"

namespace fwfile {

const uint16_t kHeaderSize = 128;
const uint16_t kVersion = 1;
const uint16_t kFlagUnannouncedOk = 0x0001;
const unsigned kModelSize = 40;
const unsigned kRevisionSize = 8;

struct Header {
    char family[3];
    char model[kModelSize + 1];
    char revision[kRevisionSize + 1];
    uint16_t flags;
    uint32_t payloadLength;
    uint32_t payloadCrc;
};

// Writes a header for `h` (family, model, revision, flags, payloadLength, payloadCrc)
// into `out`. The texts must fit; returns false when one does not.
bool Encode(const Header& h, uint8_t out[kHeaderSize]);

enum class Verdict {
    kGood,
    kNotAFirmwareFile,  // magic, version or header size wrong
    kHeaderDamaged,     // header checksum wrong
    kWrongFamily,
    kWrongModel,
    kBadLength,         // payload length zero, not whole blocks, or not the file's size
    kPayloadDamaged,    // payload checksum wrong
};

// Reads and checks the header at the start of `file` (`fileSize` bytes were loaded).
// On kGood and on the family and model verdicts `h` is filled in.
Verdict CheckHeader(hw::Memory& file, uint32_t fileSize, Header* h);

// True when the file at `file` was made for the drive reporting `model` and
// `firmware`, and its payload is intact. Runs CheckHeader first.
Verdict Check(hw::Memory& file, uint32_t fileSize, const char* model, const char* firmware, Header* h);

}  // namespace fwfile

#endif
