#include "diskette/DisketteWriter.h"

#include <cstdio>
#include <cstring>

#include "app/FlashDlg.h"
#include "app/Messages.h"
#include "diskette/ProgressReport.h"
#include "platform/pc.h"

namespace {

// The raw volume path "\\.\A:" of a drive string. False, and nothing built, when the drive
// string does not fit: it is never cut short into a different device name.
bool BuildVolumePath(const char* pszDrive, char (&szPath)[MAX_PATH])
{
    int n = std::snprintf(szPath, sizeof szPath, "\\\\.\\%s", pszDrive);
    return n > 0 && n < static_cast<int>(sizeof szPath);
}

// The first four steps of both operations: open, lock, geometry, media types. Returns the
// open, locked handle, or INVALID_HANDLE_VALUE with *pnResult set (and nothing open).
HANDLE OpenDisketteVolume(const char* pszDrive, int* pnResult)
{
    char szPath[MAX_PATH];
    *pnResult = DISKETTE_FAILED;
    if (!BuildVolumePath(pszDrive, szPath)) return INVALID_HANDLE_VALUE;

    HANDLE hVolume = pc::CreateFileA(szPath, GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     0, nullptr);
    if (hVolume == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;

    if (!LockVolume(hVolume)) {
        // An empty drive has no volume to lock and refuses as "not ready": that is a
        // missing diskette, not another program holding one.
        const bool bNoDiskette = pc::GetLastError() == ERROR_NOT_READY;
        pc::CloseHandle(hVolume);
        *pnResult = bNoDiskette ? DISKETTE_FAILED : DISKETTE_LOCK_REFUSED;
        return INVALID_HANDLE_VALUE;
    }
    DISK_GEOMETRY geometry;
    if (!QueryDriveGeometry(hVolume, &geometry) || QueryMediaTypes(hVolume) == 0) {
        pc::CloseHandle(hVolume);  // the lock ends with the handle
        return INVALID_HANDLE_VALUE;
    }
    *pnResult = DISKETTE_OK;
    return hVolume;
}

// Whether media type `type` can take an image of `nImageSize` bytes. Its capacity must
// reach the image's length, computed without wrapping so a huge type never passes for a
// small one; and it must not exceed it either: the write pass covers the whole capacity
// from the image, which must never be read past its end, and an image laid on a larger
// format would not match the geometry its own boot sector describes.
bool TakesImage(const DISK_GEOMETRY& type, DWORD nImageSize)
{
    unsigned long long perCylinder = 0;
    unsigned long long capacity = 0;
    if (__builtin_mul_overflow(static_cast<unsigned long long>(type.TracksPerCylinder),
                               static_cast<unsigned long long>(type.SectorsPerTrack),
                               &perCylinder) ||
        __builtin_mul_overflow(perCylinder,
                               static_cast<unsigned long long>(type.BytesPerSector),
                               &perCylinder) ||
        __builtin_mul_overflow(perCylinder,
                               static_cast<unsigned long long>(type.Cylinders.LowPart),
                               &capacity))
        return false;
    // Progress counts cylinders in 16 bits.
    return capacity == nImageSize && type.Cylinders.LowPart <= 0xFFFF;
}

}  // namespace

int PrepareDiskette(const char* pszDrive)
{
    int nResult;
    HANDLE hVolume = OpenDisketteVolume(pszDrive, &nResult);
    if (hVolume == INVALID_HANDLE_VALUE) return nResult;
    pc::CloseHandle(hVolume);  // ready; the lock ends with the handle
    return DISKETTE_OK;
}

int WriteDisketteImage(const char* pszDrive)
{
    // Without an image there is nothing to write: the volume is not even opened.
    if (g_pActiveDlg == nullptr || g_pActiveDlg->m_pImage == nullptr) return DISKETTE_FAILED;

    int nResult;
    HANDLE hVolume = OpenDisketteVolume(pszDrive, &nResult);
    if (hVolume == INVALID_HANDLE_VALUE) return nResult;

    const DWORD nImageSize = g_pActiveDlg->m_nImageSize;
    const DISK_GEOMETRY* pType = nullptr;
    for (DWORD i = 0; i < g_nMediaTypes && pType == nullptr; ++i)
        if (TakesImage(g_mediaTypes[i], nImageSize)) pType = &g_mediaTypes[i];
    if (pType == nullptr) {
        pc::CloseHandle(hVolume);
        return DISKETTE_FAILED;
    }

    if (!FormatAllCylinders(hVolume, pType)) {
        pc::CloseHandle(hVolume);
        return DISKETTE_FAILED;
    }

    const BYTE* pImage = g_pActiveDlg->m_pImage;
    const DWORD nCylinders = pType->Cylinders.LowPart;
    const DWORD nPerCylinder =
        pType->TracksPerCylinder * pType->SectorsPerTrack * pType->BytesPerSector;
    for (DWORD s = 1; s <= nCylinders; ++s) {
        if (!ReportStep(PROGRESS_PHASE_WRITE, s, nCylinders)) {
            pc::CloseHandle(hVolume);
            return DISKETTE_FAILED;
        }
        DWORD nWritten = 0;
        if (!pc::WriteFile(hVolume, pImage + (s - 1) * nPerCylinder, nPerCylinder, &nWritten,
                           nullptr) ||
            nWritten != nPerCylinder) {
            pc::CloseHandle(hVolume);
            return DISKETTE_FAILED;
        }
    }

    DismountVolume(hVolume);
    UnlockVolume(hVolume);
    pc::CloseHandle(hVolume);
    return DISKETTE_OK;
}
