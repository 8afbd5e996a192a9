#include "Microcode.h"

namespace ata {
namespace {

// Words 83, 86 and 119 are only meaningful when bits 15:14 read 01b; older drives leave
// them 0000h or FFFFh.
bool Valid(uint16_t word) { return (word & 0xC000) == 0x4000; }

// Segment size when the drive states no preference: 64 KB, the size most drives with
// offset downloads were built around.
const uint16_t kDefaultSegmentBlocks = 128;

// Words 234/235 (minimum and maximum blocks per segmented command): 0 and FFFFh mean
// "not stated".
bool Stated(uint16_t word) { return word != 0 && word != 0xFFFF; }

}  // namespace

Plan ChoosePlan(const uint16_t* id, bool unannouncedOk)
{
    Plan plan = {Transfer::kNone, 0};
    if (Valid(id[119]) && (id[119] & 0x0010)) {
        uint16_t blocks = kDefaultSegmentBlocks;
        if (Stated(id[235]) && blocks > id[235]) blocks = id[235];
        if (Stated(id[234]) && blocks < id[234]) blocks = id[234];
        plan.transfer = Transfer::kSegmented;
        plan.blocksPerCommand = blocks;
    } else if ((Valid(id[83]) && (id[83] & 0x0001)) || unannouncedOk) {
        plan.transfer = Transfer::kWhole;
    }
    return plan;
}

namespace {

// Hands over `count` blocks of one command. After each block the drive has to be
// ready for the next one (DRQ) or report; after the last it has to be done.
Outcome SendBlocks(hw::Ports& io, hw::Clock& clock, const Position& p, hw::Memory& payload, uint32_t offset,
                   uint32_t count, Outcome done)
{
    uint16_t block[256];
    for (uint32_t i = 0; i <= count; ++i) {
        const bool last = i == count;
        if (!WaitNotBusy(io, clock, p, last ? kActivateTicks : kBlockTicks, &done.status)) {
            done.sent = Sent::kNoAnswer;
            return done;
        }
        const bool reported = done.status & (kStatusError | kStatusFault);
        // Wanting data after the last block, or none before it, ends the transfer as
        // surely as an error does: the drive and we no longer agree on its length.
        const bool wantsData = done.status & kStatusDrq;
        if (reported || wantsData == last) {
            done.sent = Sent::kRefused;
            done.error = io.In8(p.base + kError);
            return done;
        }
        if (last) break;
        payload.Read(offset + i * 512, block, sizeof block);
        for (int w = 0; w < 256; ++w) io.Out16(p.base + kData, block[w]);
        ++done.blocks;
    }
    done.sent = Sent::kDone;
    return done;
}

void Issue(hw::Ports& io, const Position& p, Transfer t, uint32_t count, uint32_t blockOffset)
{
    io.Out8(p.base + kFeatures, static_cast<uint8_t>(t));
    io.Out8(p.base + kCount, static_cast<uint8_t>(count));  // block count, low byte...
    io.Out8(p.base + kLbaLow, static_cast<uint8_t>(count >> 8));  // ...and high byte
    io.Out8(p.base + kLbaMid, static_cast<uint8_t>(blockOffset));  // segment offset in
    io.Out8(p.base + kLbaHigh, static_cast<uint8_t>(blockOffset >> 8));  // blocks
    io.Out8(p.base + kCommand, kCmdDownloadMicrocode);
    for (int i = 0; i < 4; ++i) io.In8(p.control);
}

}  // namespace

Outcome Download(hw::Ports& io, hw::Clock& clock, const Position& p, const Plan& plan, hw::Memory& payload,
                 uint32_t offset, uint32_t blocks)
{
    Outcome done = {Sent::kRefused, 0, 0, 0};
    if (plan.transfer == Transfer::kNone || blocks == 0 || blocks > 0xFFFF) return done;

    io.Out8(p.control, kControlNoInterrupts);
    Select(io, p);
    if (!WaitNotBusy(io, clock, p, kCommandTicks, &done.status)) {
        done.sent = Sent::kNoAnswer;
        return done;
    }
    const uint32_t step = plan.transfer == Transfer::kWhole ? blocks : plan.blocksPerCommand;
    for (uint32_t at = 0; at < blocks; at += step) {
        const uint32_t count = blocks - at < step ? blocks - at : step;
        Issue(io, p, plan.transfer, count, plan.transfer == Transfer::kWhole ? 0 : at);
        done = SendBlocks(io, clock, p, payload, offset + at * 512, count, done);
        if (done.sent != Sent::kDone) return done;
    }
    return done;
}

}  // namespace ata
