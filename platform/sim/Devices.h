// The devices behind the handles: the physical drives, the diskette volume and the token.
// Each function is called with Lock() held and answers one request the way the Windows
// driver would, setting the last error when it fails.
#ifndef VFLASH_PLATFORM_SIM_DEVICES_H
#define VFLASH_PLATFORM_SIM_DEVICES_H

#include <cstdint>
#include <string>

#include "platform/sim/Machine.h"

namespace sim {
namespace detail {

// A DeviceIoControl request's buffers, already checked to be usable for their sizes.
struct IoBuffers {
    const std::uint8_t* in;
    DWORD inSize;
    std::uint8_t* out;
    DWORD outSize;
};

// Opens "\\.\PhysicalDriveN" or "\\.\A:"; returns the handle's key, or 0 having set the
// last error.
std::uint64_t OpenDevice(Machine* m, const std::string& path, DWORD access);
// The device name the trace gives a path ("PhysicalDrive1", "A:"), or "".
std::string DeviceNameOf(const std::string& path);

BOOL DriveIoControl(Machine* m, Handle* h, DWORD code, const IoBuffers& io, DWORD* returned);
BOOL DisketteIoControl(Machine* m, std::uint64_t key, Handle* h, DWORD code,
                       const IoBuffers& io, DWORD* returned);
BOOL DisketteWrite(Machine* m, std::uint64_t key, Handle* h, const std::uint8_t* data,
                   DWORD size, DWORD* written);

}  // namespace detail
}  // namespace sim

#endif
