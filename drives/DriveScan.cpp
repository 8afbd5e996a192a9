// The drive scan: the drive table's whole contact with the disk driver.
//
// For each physical drive number the scan opens \\.\PhysicalDriveN and sends two SMART
// pass-through requests (the interface of the disk driver's SMART IOCTLs):
//
//   SMART_GET_VERSION (0x74080): no input; output GETVERSIONINPARAMS (24 bytes). Only
//     bIDEDeviceMap is read: bit n says an ATA device is at drive number n, bit 4+n an
//     ATAPI device, which answers only IDENTIFY PACKET DEVICE.
//   SMART_RCV_DRIVE_DATA (0x7C088): input SENDCMDINPARAMS carrying the task-file
//     registers of one IDENTIFY command; output SENDCMDOUTPARAMS whose bBuffer receives the
//     512-byte IDENTIFY block. Both lengths are 3 bytes more than the packed structures
//     need (32 and 528), the margin drivers of the time were known to expect.
//
// Nothing else is ever sent to a physical drive, and nothing is written to one.
#include <cstdio>
#include <cstring>

#include "drives/DriveTable.h"
#include "platform/pc.h"

namespace {

const DWORD kRequestLength = 35;  // SENDCMDINPARAMS as sent
const DWORD kReplyLength = 531;   // SENDCMDOUTPARAMS with the 512-byte block, as received

const BYTE kIdentifyDevice = 0xEC;        // IDENTIFY DEVICE (ATA)
const BYTE kIdentifyPacketDevice = 0xA1;  // IDENTIFY PACKET DEVICE (ATAPI)

}  // namespace

BOOL CDriveTable::ReadIdentifyData(HANDLE hDrive, SENDCMDINPARAMS* pRequest,
                                   SENDCMDOUTPARAMS* pReply, BYTE bCommand, BYTE bDriveNumber)
{
    pRequest->cBufferSize = IDENTIFY_BUFFER_SIZE;
    pRequest->irDriveRegs.bFeaturesReg = 0;
    pRequest->irDriveRegs.bSectorCountReg = 1;
    pRequest->irDriveRegs.bSectorNumberReg = 1;
    pRequest->irDriveRegs.bCylLowReg = 0;
    pRequest->irDriveRegs.bCylHighReg = 0;
    // Device/head: bits 7 and 5 set as ATA has always required; bit 4 selects the slave
    // device, the odd drive numbers on each channel.
    pRequest->irDriveRegs.bDriveHeadReg = static_cast<BYTE>(0xA0 | ((bDriveNumber & 1) << 4));
    pRequest->irDriveRegs.bCommandReg = bCommand;
    pRequest->bDriveNumber = bDriveNumber;

    DWORD nReturned = 0;
    return pc::DeviceIoControl(hDrive, SMART_RCV_DRIVE_DATA, pRequest, kRequestLength, pReply,
                               kReplyLength, &nReturned, nullptr);
}

void CDriveTable::ScanDrives()
{
    char szPath[32];
    GETVERSIONINPARAMS version;
    // The request area is a little larger than the request (see kRequestLength); both
    // areas are aligned for the structures that are laid over them.
    alignas(DWORD) BYTE request[kRequestLength + 1];
    alignas(DWORD) BYTE reply[kReplyLength + 1];
    SENDCMDINPARAMS* pRequest = reinterpret_cast<SENDCMDINPARAMS*>(request);
    SENDCMDOUTPARAMS* pReply = reinterpret_cast<SENDCMDOUTPARAMS*>(reply);

    for (int n = 0; n < DRIVE_SLOTS; ++n) {
        std::snprintf(szPath, sizeof szPath, "\\\\.\\PhysicalDrive%d", n);
        HANDLE hDrive = pc::CreateFileA(szPath, GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        m_hDrive[n] = hDrive;
        if (hDrive == INVALID_HANDLE_VALUE) continue;
        m_dwFlags[n] |= DRIVE_OPENED;

        std::memset(&version, 0, sizeof version);
        DWORD nReturned = 0;
        if (!pc::DeviceIoControl(hDrive, SMART_GET_VERSION, nullptr, 0, &version,
                                 sizeof version, &nReturned, nullptr))
            continue;
        m_dwFlags[n] |= DRIVE_SMART_OK;

        BYTE bCommand =
            ((version.bIDEDeviceMap >> n) & 0x10) ? kIdentifyPacketDevice : kIdentifyDevice;

        std::memset(request, 0, sizeof request);
        std::memset(reply, 0, sizeof reply);
        if (!ReadIdentifyData(hDrive, pRequest, pReply, bCommand, static_cast<BYTE>(n)))
            continue;
        m_dwFlags[n] |= DRIVE_IDENTIFIED;
        ++m_nIdentified;

        StoreIdentity(pReply->bBuffer, static_cast<BYTE>(n));
    }
}
