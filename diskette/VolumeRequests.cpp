// The requests sent to the diskette volume. Every one is synchronous, with no overlapped
// structure; the byte count lands in a scratch variable that only the media-type query
// reads.
//
//   FSCTL_LOCK_VOLUME (0x90018), no buffers: succeeds only when no other handle has the
//     volume open for use; the lock lasts until FSCTL_UNLOCK_VOLUME or the handle closes.
//     Formatting a volume that others may read would pull it from under them.
//   FSCTL_UNLOCK_VOLUME (0x9001C), FSCTL_DISMOUNT_VOLUME (0x90020), no buffers: after a
//     complete write, so the file system forgets what it knew of the old diskette.
//   IOCTL_DISK_GET_DRIVE_GEOMETRY (0x70000), out DISK_GEOMETRY (24 bytes): fails when no
//     diskette is in the drive; this is how the program asks for one.
//   IOCTL_DISK_GET_MEDIA_TYPES (0x70C00), out up to 20 DISK_GEOMETRY: the formats the
//     drive can write, 24 bytes each, in the driver's order.
//   IOCTL_DISK_FORMAT_TRACKS (0x7C018), in FORMAT_PARAMETERS (20 bytes), out one
//     BAD_TRACK_NUMBER per track of the range: formats the cylinder and head range.
#include "diskette/DisketteWriter.h"

#include <cstring>

#include "app/Messages.h"
#include "diskette/ProgressReport.h"
#include "platform/pc.h"

DISK_GEOMETRY g_mediaTypes[MAX_MEDIA_TYPES];
DWORD g_nMediaTypes = 0;

namespace {

BOOL VolumeControl(HANDLE hVolume, DWORD dwCode, LPVOID pIn, DWORD nIn, LPVOID pOut, DWORD nOut,
                   DWORD* pnReturned)
{
    DWORD nScratch = 0;
    return pc::DeviceIoControl(hVolume, dwCode, pIn, nIn, pOut, nOut,
                               pnReturned ? pnReturned : &nScratch, nullptr);
}

}  // namespace

BOOL LockVolume(HANDLE hVolume)
{
    return VolumeControl(hVolume, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, nullptr);
}

BOOL UnlockVolume(HANDLE hVolume)
{
    return VolumeControl(hVolume, FSCTL_UNLOCK_VOLUME, nullptr, 0, nullptr, 0, nullptr);
}

BOOL DismountVolume(HANDLE hVolume)
{
    return VolumeControl(hVolume, FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0, nullptr);
}

BOOL QueryDriveGeometry(HANDLE hVolume, DISK_GEOMETRY* pGeometry)
{
    return VolumeControl(hVolume, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, pGeometry,
                         sizeof(DISK_GEOMETRY), nullptr);
}

DWORD QueryMediaTypes(HANDLE hVolume)
{
    DWORD nReturned = 0;
    if (!VolumeControl(hVolume, IOCTL_DISK_GET_MEDIA_TYPES, nullptr, 0, g_mediaTypes,
                       sizeof g_mediaTypes, &nReturned)) {
        g_nMediaTypes = 0;
        return 0;
    }
    // A partial entry is no entry, and a driver that claims more than the table holds
    // cannot have written more than the table: the count never reaches past it.
    DWORD nTypes = nReturned / sizeof(DISK_GEOMETRY);
    g_nMediaTypes = nTypes < MAX_MEDIA_TYPES ? nTypes : MAX_MEDIA_TYPES;
    return g_nMediaTypes;
}

BOOL FormatAllCylinders(HANDLE hVolume, const DISK_GEOMETRY* pType)
{
    const DWORD nTracks = pType->TracksPerCylinder;
    const DWORD nBadTracksSize = 2 * nTracks;  // one BAD_TRACK_NUMBER per track, never read
    HLOCAL hBadTracks = pc::LocalAlloc(LMEM_ZEROINIT, nBadTracksSize);
    if (hBadTracks == nullptr) return FALSE;

    FORMAT_PARAMETERS params;
    std::memset(&params, 0, sizeof params);
    params.MediaType = pType->MediaType;
    params.StartHeadNumber = 0;
    params.EndHeadNumber = nTracks - 1;

    const DWORD nCylinders = pType->Cylinders.LowPart;
    for (DWORD c = 0; c < nCylinders; ++c) {
        if (!ReportStep(PROGRESS_PHASE_FORMAT, c + 1, nCylinders)) {
            pc::LocalFree(hBadTracks);
            return FALSE;
        }
        params.StartCylinderNumber = c;
        params.EndCylinderNumber = c;
        if (!VolumeControl(hVolume, IOCTL_DISK_FORMAT_TRACKS, &params, sizeof params,
                           hBadTracks, nBadTracksSize, nullptr)) {
            pc::LocalFree(hBadTracks);
            return FALSE;
        }
    }
    pc::LocalFree(hBadTracks);
    return TRUE;
}
