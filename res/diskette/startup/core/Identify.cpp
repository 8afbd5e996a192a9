#include "Identify.h"

namespace ata {
namespace {

// Signatures a packet device leaves in LBA mid/high when it aborts IDENTIFY DEVICE:
// parallel ATAPI, and a SATA ATAPI device behind a legacy-mode controller.
bool IsPacketSignature(uint8_t mid, uint8_t high)
{
    return (mid == 0x14 && high == 0xEB) || (mid == 0x69 && high == 0x96);
}

}  // namespace

void AtaString(const uint16_t* words, unsigned count, char* out)
{
    for (unsigned i = 0; i < count; ++i) {
        out[2 * i] = static_cast<char>(words[i] >> 8);
        out[2 * i + 1] = static_cast<char>(words[i] & 0xFF);
    }
    unsigned n = 2 * count;
    out[n] = 0;
    while (n > 0 && (out[n - 1] == ' ' || out[n - 1] == 0)) out[--n] = 0;
}

void Identify(hw::Ports& io, hw::Clock& clock, const Position& p, Identity* id)
{
    id->found = Found::kNothing;
    id->model[0] = 0;
    id->firmware[0] = 0;

    io.Out8(p.control, kControlNoInterrupts);
    Select(io, p);
    uint8_t status = io.In8(p.base + kStatus);
    // No drive pulls the bus to all ones, and an empty slave position reads all zeros.
    if (status == 0x00 || status == 0xFF) return;
    if (!WaitNotBusy(io, clock, p, kCommandTicks, &status)) {
        id->found = Found::kNoAnswer;
        return;
    }

    // Clear the signature registers first, so that values left by an earlier command
    // cannot pass for a packet device's signature.
    io.Out8(p.base + kFeatures, 0);
    io.Out8(p.base + kCount, 0);
    io.Out8(p.base + kLbaLow, 0);
    io.Out8(p.base + kLbaMid, 0);
    io.Out8(p.base + kLbaHigh, 0);
    io.Out8(p.base + kCommand, kCmdIdentifyDevice);
    for (int i = 0; i < 4; ++i) io.In8(p.control);
    if (!WaitNotBusy(io, clock, p, kCommandTicks, &status)) {
        id->found = Found::kNoAnswer;
        return;
    }
    if (status & kStatusError) {
        const uint8_t mid = io.In8(p.base + kLbaMid);
        const uint8_t high = io.In8(p.base + kLbaHigh);
        id->found = IsPacketSignature(mid, high) ? Found::kAtapi : Found::kRejected;
        return;
    }
    // Neither data nor an error: the command went to a position where nobody listens,
    // and the status came from the other device of the channel.
    if (!(status & kStatusDrq)) return;

    for (int i = 0; i < 256; ++i) id->words[i] = io.In16(p.base + kData);
    if (!WaitNotBusy(io, clock, p, kCommandTicks, &status) || (status & (kStatusError | kStatusDrq))) {
        id->found = Found::kRejected;
        return;
    }
    AtaString(id->words + 27, 20, id->model);
    AtaString(id->words + 23, 4, id->firmware);
    id->found = Found::kAtaDisk;
}

}  // namespace ata
