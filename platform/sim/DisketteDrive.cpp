// Drive A: as its volume handle sees it: the lock, the geometry and media-type queries,
// formatting and raw writes.
#include <cstring>

#include "platform/sim/Devices.h"
#include "platform/sim/MediaTypes.h"

namespace sim {
namespace detail {
namespace {

const DWORD kErrorUnrecognizedMedia = 1785;  // a format the medium in the drive cannot take

// What the medium in the drive is: a 1.44 MB diskette when the drive takes those, else the
// largest kind it lists.
DISK_GEOMETRY MediumGeometry(const Diskette& a)
{
    const DISK_GEOMETRY* best = nullptr;
    for (const DISK_GEOMETRY& g : a.mediaTypes) {
        if (g.MediaType == F3_1Pt44_512) return g;
        if (!best || Capacity(g) > Capacity(*best)) best = &g;
    }
    return best ? *best : Geometry1440K();
}

BOOL LockVolume(Machine* m, std::uint64_t key)
{
    // The file system refuses a second lock, even to the handle that holds the first.
    if (m->scenario.a.lockRefused || m->lockHolder != 0) return Fail(ERROR_ACCESS_DENIED);
    m->lockHolder = key;
    return TRUE;
}

BOOL UnlockVolume(Machine* m, std::uint64_t key)
{
    if (m->lockHolder != key) return Fail(kErrorNotLocked);
    m->lockHolder = 0;
    return TRUE;
}

BOOL DriveGeometry(const Diskette& a, const IoBuffers& io, DWORD* returned)
{
    if (io.outSize < sizeof(DISK_GEOMETRY)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    const DISK_GEOMETRY g = MediumGeometry(a);
    std::memcpy(io.out, &g, sizeof g);
    *returned = sizeof g;
    return TRUE;
}

BOOL MediaTypes(const Diskette& a, const IoBuffers& io, DWORD* returned)
{
    if (a.mediaTypesRefused) return Fail(kErrorInvalidFunction);
    const std::size_t fit = io.outSize / sizeof(DISK_GEOMETRY);
    if (fit == 0 && !a.mediaTypes.empty()) return Fail(ERROR_INSUFFICIENT_BUFFER);
    const std::size_t n = fit < a.mediaTypes.size() ? fit : a.mediaTypes.size();
    if (n) std::memcpy(io.out, a.mediaTypes.data(), n * sizeof(DISK_GEOMETRY));
    // The override models a driver that misreports the count; the bytes copied still stop
    // at the caller's buffer, so the program has to check the count against its own size.
    *returned = a.mediaTypesBytesOverride >= 0
                    ? static_cast<DWORD>(a.mediaTypesBytesOverride)
                    : static_cast<DWORD>(n * sizeof(DISK_GEOMETRY));
    return TRUE;
}

DWORD ReadDword(const std::uint8_t* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Windows fails a format of a mounted volume that nobody has locked; the sim is stricter
// and asks for the lock on this very handle, which is how the program has to do it.
BOOL FormatTracks(Machine* m, std::uint64_t key, const IoBuffers& io, DWORD* returned)
{
    Diskette& a = m->scenario.a;
    if (m->lockHolder != key) return Fail(ERROR_ACCESS_DENIED);
    if (io.inSize < sizeof(FORMAT_PARAMETERS)) return Fail(ERROR_INVALID_PARAMETER);
    // Read as plain numbers: the caller's media type need not be a valid enumerator.
    const DWORD type = ReadDword(io.in + offsetof(FORMAT_PARAMETERS, MediaType));
    const DWORD firstCyl = ReadDword(io.in + offsetof(FORMAT_PARAMETERS, StartCylinderNumber));
    const DWORD lastCyl = ReadDword(io.in + offsetof(FORMAT_PARAMETERS, EndCylinderNumber));
    const DWORD firstHead = ReadDword(io.in + offsetof(FORMAT_PARAMETERS, StartHeadNumber));
    const DWORD lastHead = ReadDword(io.in + offsetof(FORMAT_PARAMETERS, EndHeadNumber));

    const DISK_GEOMETRY* g = nullptr;
    for (const DISK_GEOMETRY& t : a.mediaTypes)
        if (DWORD(t.MediaType) == type) g = &t;
    if (!g) return Fail(ERROR_INVALID_PARAMETER);
    if (firstCyl > lastCyl || LONGLONG(lastCyl) >= g->Cylinders.QuadPart ||
        firstHead > lastHead || lastHead >= g->TracksPerCylinder)
        return Fail(ERROR_INVALID_PARAMETER);
    const std::uint64_t tracks = std::uint64_t(lastCyl - firstCyl + 1) * (lastHead - firstHead + 1);
    if (io.outSize < tracks * sizeof(BAD_TRACK_NUMBER)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (Capacity(*g) > Capacity(MediumGeometry(a))) return Fail(kErrorUnrecognizedMedia);
    if (a.formatRefusedAtCylinder >= 0 && DWORD(a.formatRefusedAtCylinder) >= firstCyl &&
        DWORD(a.formatRefusedAtCylinder) <= lastCyl)
        return Fail(ERROR_WRITE_FAULT);

    const std::uint64_t trackBytes = std::uint64_t(g->SectorsPerTrack) * g->BytesPerSector;
    const std::uint64_t begin = (std::uint64_t(firstCyl) * g->TracksPerCylinder + firstHead) * trackBytes;
    const std::uint64_t end = (std::uint64_t(lastCyl) * g->TracksPerCylinder + lastHead + 1) * trackBytes;
    if (end > a.bytes.size()) return Fail(kErrorSectorNotFound);
    for (DWORD c = firstCyl; c <= lastCyl; ++c) {
        for (DWORD head = firstHead; head <= lastHead; ++head) {
            const std::uint64_t at = (std::uint64_t(c) * g->TracksPerCylinder + head) * trackBytes;
            std::memset(a.bytes.data() + at, a.formatFiller, trackBytes);
        }
    }
    SaveDiskette(m, begin, end - begin);
    *returned = 0;  // no bad tracks
    return TRUE;
}

}  // namespace

BOOL DisketteIoControl(Machine* m, std::uint64_t key, Handle*, DWORD code,
                       const IoBuffers& io, DWORD* returned)
{
    const Diskette& a = m->scenario.a;
    switch (code) {
    case FSCTL_LOCK_VOLUME:
        if (!a.medium) return Fail(ERROR_NOT_READY);
        return LockVolume(m, key);
    case FSCTL_UNLOCK_VOLUME:
        return UnlockVolume(m, key);
    case FSCTL_DISMOUNT_VOLUME:
        if (!a.medium) return Fail(ERROR_NOT_READY);
        return TRUE;
    case IOCTL_DISK_GET_DRIVE_GEOMETRY:
        if (!a.medium) return Fail(ERROR_NOT_READY);
        return DriveGeometry(a, io, returned);
    case IOCTL_DISK_GET_MEDIA_TYPES:
        // Answered by the drive, not the medium: it works with the drive empty.
        return MediaTypes(a, io, returned);
    case IOCTL_DISK_FORMAT_TRACKS:
        if (!a.medium) return Fail(ERROR_NOT_READY);
        return FormatTracks(m, key, io, returned);
    default:
        return Fail(kErrorInvalidFunction);
    }
}

BOOL DisketteWrite(Machine* m, std::uint64_t key, Handle* h, const std::uint8_t* data,
                   DWORD size, DWORD* written)
{
    Diskette& a = m->scenario.a;
    const int step = ++h->writes;
    // A locked volume takes writes only through the handle that locked it.
    if (m->lockHolder != 0 && m->lockHolder != key) return Fail(ERROR_ACCESS_DENIED);
    if (!a.medium) return Fail(ERROR_NOT_READY);
    // Raw volume I/O moves whole sectors only.
    if (size % 512 != 0 || h->position % 512 != 0) return Fail(ERROR_INVALID_PARAMETER);
    if (h->position + size > a.bytes.size()) return Fail(kErrorSectorNotFound);
    DWORD count = size;
    if (step == a.writeFailsAtStep) {
        if (!a.writeShort) return Fail(ERROR_WRITE_FAULT);
        count = size / 2 / 512 * 512;
    }
    if (count) std::memcpy(a.bytes.data() + h->position, data, count);
    SaveDiskette(m, h->position, count);
    h->position += count;
    *written = count;
    return TRUE;
}

}  // namespace detail
}  // namespace sim
