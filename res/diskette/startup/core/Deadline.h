// An upper bound on a wait for hardware. A drive that is missing, hung or half dead must
// cost the user some seconds, never the machine.
//
// Two bounds, whichever comes first: BIOS timer ticks, which measure real time, and a
// count of polls, in case the timer stands still (interrupts off, a broken BIOS). The poll
// bound is set generously — a status read takes about a microsecond on ISA timing, so
// kPollsPerTick polls take longer than a tick — so that on a working machine the timer
// always decides.
#ifndef VFLASH_STARTUP_CORE_DEADLINE_H
#define VFLASH_STARTUP_CORE_DEADLINE_H

#include <stdint.h>

#include "Hardware.h"

class Deadline {
public:
    static const uint32_t kPollsPerTick = 200000;

    Deadline(hw::Clock& clock, uint32_t ticks)
        : clock_(clock), last_(clock.Ticks()), ticksLeft_(ticks), pollsLeft_((ticks + 1) * kPollsPerTick)
    {
    }

    // Call once per poll; true once the wait has lasted long enough to give up.
    bool Expired()
    {
        // Ticks are counted as changes, not differences, so the midnight wrap of the
        // BIOS counter cannot make a wait end early or last forever.
        const uint32_t now = clock_.Ticks();
        if (now != last_) {
            last_ = now;
            if (ticksLeft_ == 0) return true;
            --ticksLeft_;
        }
        if (pollsLeft_ == 0) return true;
        --pollsLeft_;
        return false;
    }

private:
    hw::Clock& clock_;
    uint32_t last_;
    uint32_t ticksLeft_;
    uint32_t pollsLeft_;
};

#endif
