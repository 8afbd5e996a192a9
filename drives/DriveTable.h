// What the program learns about the hard disks at physical drive numbers 0 to 3: for each
// a device handle, a flag word and the three identity strings of its IDENTIFY block.
#ifndef VFLASH_DRIVES_DRIVETABLE_H
#define VFLASH_DRIVES_DRIVETABLE_H

#include "fw/String.h"
#include "platform/win32.h"

#define DRIVE_SLOTS 4

// Flag bits of m_dwFlags. They are only ever OR-ed in, and after one scan of a fresh table
// a slot's bits form a run from DRIVE_OPENED upward.
#define DRIVE_OPENED 0x01        // the device path opened
#define DRIVE_SMART_OK 0x02      // the driver answered SMART_GET_VERSION
#define DRIVE_IDENTIFIED 0x04    // IDENTIFY succeeded; the strings are stored
#define DRIVE_MAKER_MATCH 0x08   // the model names the maker
#define DRIVE_FAMILY_MATCH 0x10  // ...and the firmware is of a family this update is for
#define DRIVE_NEEDS_UPDATE 0x20  // ...and at the revision level it replaces

// Byte offsets and lengths of the string fields of an IDENTIFY block. IDENTIFY DEVICE and
// IDENTIFY PACKET DEVICE put them at the same words.
#define IDENTIFY_SERIAL_OFFSET 20    // words 10-19
#define IDENTIFY_SERIAL_LENGTH 20
#define IDENTIFY_FIRMWARE_OFFSET 46  // words 23-26
#define IDENTIFY_FIRMWARE_LENGTH 8
#define IDENTIFY_MODEL_OFFSET 54     // words 27-46
#define IDENTIFY_MODEL_LENGTH 40

// ATA strings hold two characters per 16-bit word, the first in the high byte; read as
// bytes every pair stands swapped. Swaps each pair of the `nLength`-byte field in place. An
// odd last byte has no partner and stays as it is.
void SwapAtaString(BYTE* pField, WORD nLength);

class CDriveTable {
public:
    CDriveTable();
    ~CDriveTable();
    CDriveTable(const CDriveTable&) = delete;
    CDriveTable& operator=(const CDriveTable&) = delete;

    // Probes drive numbers 0 to 3 over SMART pass-through and fills the slots. Runs once on
    // a fresh table; every failure only ends the work on that drive number.
    void ScanDrives();

    // Sends one IDENTIFY (`bCommand` 0xEC or 0xA1) to drive `bDriveNumber` through the open
    // `hDrive`. `pRequest` (at least 35 bytes) and `pReply` (531 bytes) are zero-filled by
    // the caller. Returns the platform's success flag.
    BOOL ReadIdentifyData(HANDLE hDrive, SENDCMDINPARAMS* pRequest, SENDCMDOUTPARAMS* pReply,
                          BYTE bCommand, BYTE bDriveNumber);

    // Takes the three identity strings of `pBlock` (512 bytes, swapped in place) into slot
    // `bDriveNumber` and applies the maker, family and update rules.
    void StoreIdentity(BYTE* pBlock, BYTE bDriveNumber);

    HANDLE m_hDrive[DRIVE_SLOTS];
    DWORD m_dwFlags[DRIVE_SLOTS];
    CString m_strModel[DRIVE_SLOTS];
    CString m_strFirmware[DRIVE_SLOTS];
    CString m_strSerial[DRIVE_SLOTS];
    int m_nIdentified;
};

#endif
