// What the start-up program needs from the machine, as small interfaces. The real-mode
// build implements them over port I/O and the BIOS (../realmode); the host tests
// implement them over simulated devices. Everything in core/ is freestanding C++ so that
// both builds compile the very same logic.
#ifndef VFLASH_STARTUP_CORE_HARDWARE_H
#define VFLASH_STARTUP_CORE_HARDWARE_H

#include <stdint.h>

namespace hw {

class Ports {
public:
    virtual uint8_t In8(uint16_t port) = 0;
    virtual void Out8(uint16_t port, uint8_t value) = 0;
    virtual uint16_t In16(uint16_t port) = 0;
    virtual void Out16(uint16_t port, uint16_t value) = 0;

protected:
    ~Ports() = default;
};

// The BIOS timer: 18.2 ticks a second. Only differences between readings are used, and
// only as upper bounds on waits; a stopped clock would make a wait endless, so every
// wait also counts its polls (see ata::Waiter).
class Clock {
public:
    static const uint32_t kTicksPerSecond = 18;  // 18.2, rounded down: waits only get longer
    virtual uint32_t Ticks() = 0;

protected:
    ~Clock() = default;
};

class Console {
public:
    virtual void Put(char c) = 0;

protected:
    ~Console() = default;
};

// The boot diskette, by 512-byte sector number from 0.
class Diskette {
public:
    static const uint16_t kSectorSize = 512;
    // Reads `count` sectors into `buffer`; false when the drive reported an error.
    virtual bool Read(uint32_t lba, uint16_t count, uint8_t* buffer) = 0;

protected:
    ~Diskette() = default;
};

// Memory for a firmware payload, which is larger than the program's own segment.
class Memory {
public:
    virtual uint32_t Size() = 0;
    virtual void Write(uint32_t offset, const void* src, uint16_t count) = 0;
    virtual void Read(uint32_t offset, void* dst, uint16_t count) = 0;

protected:
    ~Memory() = default;
};

}  // namespace hw

#endif
