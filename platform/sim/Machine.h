// The simulated PC's state and the steps every pc:: call goes through, shared by the
// files that answer the calls. Not for the program or for tests: they use SimPc.h.
#ifndef VFLASH_PLATFORM_SIM_MACHINE_H
#define VFLASH_PLATFORM_SIM_MACHINE_H

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/sim/SimPc.h"
#include "platform/sim/SpinLock.h"

namespace sim {
namespace detail {

// Win32 error numbers that our host definitions do not carry (the program never names
// them); the values are Windows' own.
const DWORD kErrorInvalidFunction = 1;   // the device does not know the request
const DWORD kErrorSectorNotFound = 27;   // a write beyond the end of the medium
const DWORD kErrorNotLocked = 158;       // unlocking a volume that the handle did not lock
const DWORD kErrorNoAccess = 998;        // a buffer pointer that cannot be used

enum class Kind { Drive, Volume, Token };

struct Handle {
    Kind kind = Kind::Drive;
    int drive = -1;              // Kind::Drive: 0..3
    DWORD access = 0;            // the access it was opened (or the token asked) with
    bool open = true;
    std::uint64_t position = 0;  // Kind::Volume: where the next WriteFile lands
    int writes = 0;              // Kind::Volume: WriteFile calls made on it so far
    std::string device;          // as the trace names it
};

struct Machine {
    Scenario scenario;
    // Every handle given out since Reset, closed ones included, so that a stale handle
    // still names its device in the trace.
    std::map<std::uint64_t, Handle> handles;
    std::uint64_t lockHolder = 0;  // the volume handle holding the diskette's lock; 0: none
    bool fileWhole = false;        // the backing file holds all the medium's bytes already
    long calls = 0;                // pc:: calls since Reset
    long failCall = -1;
    std::function<void(const Call&)> hook;
    std::map<const void*, std::size_t> allocations;  // live LocalAlloc blocks and sizes
    bool shutdownEnabled = false;
    int restartRequests = 0;
    UINT lastRestartFlags = 0;
};

// The one simulated PC. Touch it only while holding Lock().
Machine& TheMachine();
SpinLock& Lock();

std::uint64_t Key(const void* handle);
std::int64_t AsResult(const void* handle);

// A fresh handle value: small integers from 0x100 up, never reused while the process runs.
std::uint64_t NewHandle();
// The handle's entry when it is open, else nullptr. Caller holds Lock().
Handle* FindOpen(std::uint64_t key);
// The device a handle refers to, open or not ("" when unknown), and where its next write
// lands. Takes Lock().
std::string DeviceOf(const void* handle, std::uint64_t* position = nullptr);

// The calling thread's last error.
void SetLastError(DWORD error);
DWORD LastError();
// Sets the last error and returns FALSE: the way each failing call ends.
BOOL Fail(DWORD error);

// Numbers the call, runs the OnCall hook and tells whether FailCall picked this call.
// Call it without holding Lock().
bool Admit(const Call& call);
// Notes the last error in the call and appends it to the trace.
void Finish(Call* call);

// Loads the diskette's bytes at Reset (DisketteDrive.cpp). Caller holds Lock().
void LoadDiskette(Machine* m);
// Writes the medium's bytes [offset, offset + length) to the backing file.
void SaveDiskette(Machine* m, std::uint64_t offset, std::uint64_t length);
// Spends the scenario's time per cylinder (without holding Lock()).
void DisketteDelay();
// Moves the blocks still allocated out of sight at Reset (LocalMemory.cpp).
void AbandonAllocations(Machine* m);

}  // namespace detail
}  // namespace sim

#endif
