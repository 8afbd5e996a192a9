// The record of every platform call that the simulated PC and the headless window system
// answered, in the order they were made, across threads. Tests assert on it.
#ifndef VFLASH_PLATFORM_SIM_TRACE_H
#define VFLASH_PLATFORM_SIM_TRACE_H

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct Call {
    std::string fn;                 // Win32 name: "CreateFileA", "DeviceIoControl", "SendMessageA", ...
    std::string text;               // the path, message-box text, privilege name...; else empty
    std::uint64_t handle = 0;       // the handle or window the call was made on (0: none)
    std::uint32_t code = 0;         // IOCTL code, message number, flags: the call's main selector
    std::uint64_t arg1 = 0;         // wParam, access mask, byte count... (documented per call)
    std::uint64_t arg2 = 0;         // lParam, share mode, out-buffer size...
    std::uint64_t arg3 = 0;         // CreateFileA's flags, the bytes DeviceIoControl returned
                                    // or WriteFile wrote, the token handle... (per call)
    std::vector<std::uint8_t> in;   // the bytes the call was sent (input buffer, written data)
    std::uint64_t offset = 0;       // WriteFile: the position written at
    std::int64_t result = 0;        // what the call returned (handles as integers)
    std::string device;             // what the handle refers to: "PhysicalDrive2", "A:", ""
    std::uint32_t lastError = 0;    // the calling thread's last error once the call returned
    unsigned thread = 0;            // 0 for the first thread that made a call, 1 for the next...
};

// Appends one call (thread-safe) and returns its index. It numbers the calling thread
// itself: whatever `call.thread` holds is replaced.
std::size_t Record(Call call);
// A copy of the calls so far.
std::vector<Call> Calls();
// Forgets all calls and the thread numbering.
void ClearTrace();

}  // namespace sim

#endif
