// The simulated PC behind pc.h: a Windows version, physical drives 0..3 that answer the
// SMART pass-through requests, diskette drive A: backed by a 1.44 MB file, the process
// token and the restart request. Every pc:: call is recorded in the trace (Trace.h).
//
// A scenario is loaded from a small text file (see res/scenarios/default.scn for the
// format), or built in code by tests.
//
// What each pc:: call leaves in the trace, besides fn, device, result and lastError:
//   CreateFileA            text path, code creation disposition, arg1 access, arg2 share mode,
//                          arg3 flags and attributes; result the handle (-1: failed)
//   DeviceIoControl        handle, code IOCTL, arg1 in-buffer size, arg2 out-buffer size,
//                          arg3 bytes returned, in the input bytes
//   WriteFile              handle, arg1 bytes asked for, arg3 bytes written, offset the
//                          position written at, in the data
//   CloseHandle            handle
//   LocalAlloc / LocalFree code flags, arg1 size / handle the block; result the block
//   GetVersionExA          arg1 dwOSVersionInfoSize as the caller set it
//   OpenProcessToken       handle process, code desired access, arg3 the token handle
//   LookupPrivilegeValueA  text privilege name, arg1 1 when a system name was given,
//                          arg3 the LUID's low part
//   AdjustTokenPrivileges  handle token, arg1 DisableAllPrivileges, arg2 BufferLength, in
//                          the TOKEN_PRIVILEGES bytes
//   ExitWindowsEx          code flags, arg1 dwReserved
//   GetCurrentProcess, GetLastError: result only.
// A call is recorded when it returns, so whatever the OnCall hook causes comes before it.
#ifndef VFLASH_PLATFORM_SIM_SIMPC_H
#define VFLASH_PLATFORM_SIM_SIMPC_H

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "platform/sim/Trace.h"

namespace sim {

typedef std::array<std::uint8_t, 512> IdentifyBlock;

// The size of the diskette medium and of its backing file: a 1.44 MB diskette.
const std::size_t kDisketteBytes = 1474560;
// The LUID that LookupPrivilegeValueA gives SeShutdownPrivilege (Windows' value, too).
const DWORD kShutdownPrivilegeLuid = 19;

// An IDENTIFY block whose serial (words 10-19), firmware (23-26) and model (27-46) fields
// hold the given texts, space-padded and in on-wire order (characters swapped in pairs).
// Longer texts are cut to 20, 8 and 40 characters. Every other byte is zero.
IdentifyBlock MakeIdentifyBlock(const std::string& model, const std::string& firmware,
                                const std::string& serial);

enum class DriveState {
    Absent,           // CreateFileA fails: ERROR_FILE_NOT_FOUND
    OpenRefused,      // CreateFileA fails: ERROR_ACCESS_DENIED
    SmartRefused,     // opens; SMART_GET_VERSION fails
    IdentifyRefused,  // opens, reports its version; SMART_RCV_DRIVE_DATA fails
    Identifies        // answers SMART_RCV_DRIVE_DATA with `identify`
};

struct PhysicalDrive {
    DriveState state = DriveState::Absent;
    bool atapi = false;        // sets bit 4+n of bIDEDeviceMap
    IdentifyBlock identify{};  // the block it returns
};

// The 720 KB and 1.44 MB 3.5-inch media types, as a diskette driver lists them.
DISK_GEOMETRY Geometry720K();
DISK_GEOMETRY Geometry1440K();

struct Diskette {
    bool drivePresent = true;  // \\.\A: opens at all
    bool medium = true;        // a diskette is in the drive: the geometry query answers
    bool lockRefused = false;  // FSCTL_LOCK_VOLUME fails (ERROR_ACCESS_DENIED)
    // The list IOCTL_DISK_GET_MEDIA_TYPES answers; the default lists 720 KB, then 1.44 MB.
    std::vector<DISK_GEOMETRY> mediaTypes{Geometry720K(), Geometry1440K()};
    bool mediaTypesRefused = false;
    // When >= 0, the byte count that the media-type query reports instead of 24 per entry
    // (to model a driver that answers an odd or too large count).
    long long mediaTypesBytesOverride = -1;
    int formatRefusedAtCylinder = -1;  // IOCTL_DISK_FORMAT_TRACKS fails for this cylinder
    int writeFailsAtStep = -1;         // the s-th WriteFile (from 1) of a handle fails...
    bool writeShort = false;           // ...or, when set, writes half the bytes and succeeds
    std::uint8_t formatFiller = 0xF6;  // bytes of a formatted cylinder
    int msPerCylinder = 0;             // time each format request and each write takes
    std::string file;                  // backing file (1474560 bytes); empty: memory only
    // The medium's contents (1474560 bytes). Reset loads them from `file` when that exists
    // with the right size, keeps them when there is no file and they have the right size,
    // and zero-fills them otherwise.
    std::vector<std::uint8_t> bytes;
};

struct Scenario {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    DWORD major = 5, minor = 1, build = 2600;
    std::string csdVersion;                           // szCSDVersion: "Service Pack 2"
    WORD servicePackMajor = 0, servicePackMinor = 0;  // the OSVERSIONINFOEXA fields
    bool accepts156 = true;  // GetVersionExA takes an OSVERSIONINFOEXA
    bool accepts148 = true;  // ...and an OSVERSIONINFOA
    PhysicalDrive drives[4];
    int ideDeviceMapOverride = -1;  // when >= 0, bIDEDeviceMap as given, not derived
    Diskette a;
    bool tokenOpenRefused = false;
    bool privilegeHeld = true;     // false: AdjustTokenPrivileges succeeds, last error 1300
    bool restartAccepted = true;   // ExitWindowsEx's answer
};

// Parses a scenario file's text; on a syntax error returns false and says why in *error
// ("line 7: ..."). A relative diskette file path is resolved against `baseDir` when that is
// given; LoadScenarioFile passes the scenario file's own directory.
bool ParseScenario(const std::string& text, Scenario* out, std::string* error);
bool ParseScenario(const std::string& text, const std::string& baseDir, Scenario* out,
                   std::string* error);
bool LoadScenarioFile(const std::string& path, Scenario* out, std::string* error);

// Replaces the simulated PC's state (closes nothing: handles of the old state become
// invalid, and no later handle reuses their values) and clears the trace. It also forgets
// FailCall and OnCall, so set those after it, and clears the calling thread's last error.
// Not to be called while other threads make pc:: calls.
void Reset(const Scenario& scenario);
// Read access for tests (not thread-safe against running calls).
const Scenario& Current();

// What the PC holds now.
int OpenHandleCount();            // device, volume and token handles not yet closed
int OpenTokenCount();             // ...of which token handles (the program keeps its own)
bool DisketteLocked();            // a volume handle holds the lock
std::size_t LiveLocalAllocs();    // LocalAlloc blocks not yet freed
int RestartRequests();            // ExitWindowsEx calls that were accepted or refused
UINT LastRestartFlags();
bool ShutdownPrivilegeEnabled();

// Fault and event injection. `failCall`, when >= 1, makes the n-th pc:: call counted from
// the last Reset (1-based) fail as Windows would (returns its failure value, sets a last
// error) without doing anything else, except that an injected CloseHandle failure still
// closes the handle (see PcCalls.cpp). GetCurrentProcess and GetLastError are counted but
// cannot fail. `onCall` runs on the calling thread just before each call is answered;
// pc:: calls that the hook itself makes are answered without running it again, and the
// thread's last error is as it was before the hook ran.
void FailCall(long n);
void OnCall(std::function<void(const Call& call)> hook);

// Saves the diskette's bytes to its backing file (done after every format and write too).
void FlushDiskette();

}  // namespace sim

#endif
