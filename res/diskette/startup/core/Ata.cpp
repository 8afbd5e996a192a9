#include "Ata.h"

#include "Deadline.h"

namespace ata {

const Position kPositions[4] = {
    {0x1F0, 0x3F6, 0, "Primary master"},
    {0x1F0, 0x3F6, 1, "Primary slave"},
    {0x170, 0x376, 0, "Secondary master"},
    {0x170, 0x376, 1, "Secondary slave"},
};

void Select(hw::Ports& io, const Position& p)
{
    io.Out8(p.base + kDevice, static_cast<uint8_t>(0xA0 | (p.device << 4)));
    // Reading the alternate status leaves any pending interrupt alone; four reads of an
    // ISA port take at least the 400 ns the device is given.
    for (int i = 0; i < 4; ++i) io.In8(p.control);
}

bool WaitNotBusy(hw::Ports& io, hw::Clock& clock, const Position& p, uint32_t ticks, uint8_t* status)
{
    Deadline deadline(clock, ticks);
    for (;;) {
        *status = io.In8(p.base + kStatus);
        if (!(*status & kStatusBusy)) return true;
        if (deadline.Expired()) return false;
    }
}

}  // namespace ata
