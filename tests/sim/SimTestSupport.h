// Small helpers shared by the simulated PC's tests.
#ifndef VFLASH_TESTS_SIM_SIMTESTSUPPORT_H
#define VFLASH_TESTS_SIM_SIMTESTSUPPORT_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/pc.h"
#include "platform/sim/SimPc.h"

namespace simtest {

// A buffer of `size` bytes followed by a guard area, so a write past the size the callee
// was given is seen even without a sanitizer.
class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t size, std::uint8_t fill = 0xEE)
        : size_(size), bytes_(size + kGuard, fill), fill_(fill) {}
    std::uint8_t* data() { return bytes_.data(); }
    DWORD size() const { return static_cast<DWORD>(size_); }
    const std::uint8_t& operator[](std::size_t i) const { return bytes_[i]; }
    bool GuardIntact() const
    {
        for (std::size_t i = size_; i < bytes_.size(); ++i)
            if (bytes_[i] != fill_) return false;
        return true;
    }
    bool Untouched() const
    {
        for (std::uint8_t b : bytes_)
            if (b != fill_) return false;
        return true;
    }

private:
    static const std::size_t kGuard = 64;
    std::size_t size_;
    std::vector<std::uint8_t> bytes_;
    std::uint8_t fill_;
};

// Opens a device the way the program does.
inline HANDLE Open(const char* path)
{
    return pc::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
}

inline bool Ioctl(HANDLE h, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                  DWORD* returned)
{
    return pc::DeviceIoControl(h, code, const_cast<void*>(in), inSize, out, outSize, returned,
                               nullptr) != FALSE;
}

inline bool Ioctl(HANDLE h, DWORD code)
{
    DWORD returned = 0;
    return Ioctl(h, code, nullptr, 0, nullptr, 0, &returned);
}

// The calls in the trace made to `fn`.
inline std::vector<sim::Call> CallsTo(const std::string& fn)
{
    std::vector<sim::Call> out;
    for (const sim::Call& c : sim::Calls())
        if (c.fn == fn) out.push_back(c);
    return out;
}

// A machine with one identifying ATA drive and a 1.44 MB diskette in memory.
inline sim::Scenario SmallScenario()
{
    sim::Scenario s;
    s.drives[0].state = sim::DriveState::Identifies;
    s.drives[0].identify = sim::MakeIdentifyBlock("VELMORA QR-2040A", "QR31A409", "VQ1");
    return s;
}

}  // namespace simtest

#endif
