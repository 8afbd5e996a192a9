#include <cstddef>
#include <cstring>

#include "platform/sim/Devices.h"

namespace sim {
namespace detail {
namespace {

// The request and reply sizes without their one-byte bBuffer placeholders.
const std::size_t kSendCmdInBytes = offsetof(SENDCMDINPARAMS, bBuffer);
const std::size_t kSendCmdOutBytes = offsetof(SENDCMDOUTPARAMS, bBuffer) + IDENTIFY_BUFFER_SIZE;

BYTE IdeDeviceMap(const Scenario& s)
{
    if (s.ideDeviceMapOverride >= 0) return static_cast<BYTE>(s.ideDeviceMapOverride);
    BYTE map = 0;
    for (int n = 0; n < 4; ++n) {
        const PhysicalDrive& d = s.drives[n];
        if (d.state == DriveState::Absent || d.state == DriveState::OpenRefused) continue;
        map |= static_cast<BYTE>(d.atapi ? 0x10 << n : 0x01 << n);
    }
    return map;
}

BOOL GetVersion(const Machine& m, const IoBuffers& io, DWORD* returned)
{
    if (io.outSize < sizeof(GETVERSIONINPARAMS)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    GETVERSIONINPARAMS v;
    std::memset(&v, 0, sizeof v);
    v.bVersion = 1;
    v.bRevision = 1;
    v.bIDEDeviceMap = IdeDeviceMap(m.scenario);
    // SMART commands, ATA identify and ATAPI identify are all supported.
    v.fCapabilities = 7;
    std::memcpy(io.out, &v, sizeof v);
    *returned = sizeof v;
    return TRUE;
}

BOOL Identify(const PhysicalDrive& drive, const IoBuffers& io, DWORD* returned)
{
    if (drive.state == DriveState::IdentifyRefused) return Fail(ERROR_NOT_SUPPORTED);
    if (io.inSize < kSendCmdInBytes) return Fail(ERROR_INVALID_PARAMETER);
    if (io.outSize < kSendCmdOutBytes) return Fail(ERROR_INSUFFICIENT_BUFFER);
    const BYTE command = io.in[offsetof(SENDCMDINPARAMS, irDriveRegs) + offsetof(IDEREGS, bCommandReg)];
    // A drive aborts the identify command of the other kind of device, and this drive
    // answers no other command; the driver reports either as an unsupported request.
    if (command != (drive.atapi ? ATAPI_ID_CMD : ID_CMD)) return Fail(ERROR_NOT_SUPPORTED);

    std::memset(io.out, 0, offsetof(SENDCMDOUTPARAMS, bBuffer));
    const DWORD size = IDENTIFY_BUFFER_SIZE;
    std::memcpy(io.out + offsetof(SENDCMDOUTPARAMS, cBufferSize), &size, sizeof size);
    std::memcpy(io.out + offsetof(SENDCMDOUTPARAMS, bBuffer), drive.identify.data(),
                drive.identify.size());
    *returned = static_cast<DWORD>(kSendCmdOutBytes);
    return TRUE;
}

}  // namespace

BOOL DriveIoControl(Machine* m, Handle* h, DWORD code, const IoBuffers& io, DWORD* returned)
{
    const PhysicalDrive& drive = m->scenario.drives[h->drive];
    // The program only reads from the drives; anything else it asks is refused, and the
    // trace keeps the request so a test sees it.
    if (code != SMART_GET_VERSION && code != SMART_RCV_DRIVE_DATA)
        return Fail(kErrorInvalidFunction);
    if (drive.state == DriveState::SmartRefused) return Fail(kErrorInvalidFunction);
    return code == SMART_GET_VERSION ? GetVersion(*m, io, returned)
                                     : Identify(drive, io, returned);
}

}  // namespace detail
}  // namespace sim
