#include "drives/DriveTable.h"

#include <cstring>

#include "drives/IdentityRules.h"

static_assert(identity::kMakerMatch == DRIVE_MAKER_MATCH &&
                  identity::kFamilyMatch == DRIVE_FAMILY_MATCH &&
                  identity::kNeedsUpdate == DRIVE_NEEDS_UPDATE,
              "the shared rules must set the table's own bits");

void SwapAtaString(BYTE* pField, WORD nLength)
{
    for (WORD i = 0; i + 1 < nLength; i += 2) {
        BYTE b = pField[i];
        pField[i] = pField[i + 1];
        pField[i + 1] = b;
    }
}

namespace {

// A field as text: up to its first NUL (or all of it), then without trailing spaces. Only
// the space character counts: leading and inner spaces, tabs and other bytes stay.
CString FieldText(const BYTE* pField, int nLength)
{
    const void* nul = std::memchr(pField, '\0', static_cast<size_t>(nLength));
    int n = nul ? static_cast<int>(static_cast<const BYTE*>(nul) - pField) : nLength;
    CString text(reinterpret_cast<const char*>(pField), n);
    text.TrimRight(' ');
    return text;
}

}  // namespace

CDriveTable::CDriveTable() : m_dwFlags{}, m_nIdentified(0)
{
    // m_hDrive holds nothing meaningful until the scan writes every slot of it.
}

CDriveTable::~CDriveTable()
{
    // The drive handles stay open: the platform closes them when the process ends.
}

void CDriveTable::StoreIdentity(BYTE* pBlock, BYTE bDriveNumber)
{
    if (bDriveNumber >= DRIVE_SLOTS) return;  // no such slot; nothing to store

    SwapAtaString(pBlock + IDENTIFY_MODEL_OFFSET, IDENTIFY_MODEL_LENGTH);
    m_strModel[bDriveNumber] = FieldText(pBlock + IDENTIFY_MODEL_OFFSET, IDENTIFY_MODEL_LENGTH);
    SwapAtaString(pBlock + IDENTIFY_FIRMWARE_OFFSET, IDENTIFY_FIRMWARE_LENGTH);
    m_strFirmware[bDriveNumber] =
        FieldText(pBlock + IDENTIFY_FIRMWARE_OFFSET, IDENTIFY_FIRMWARE_LENGTH);
    SwapAtaString(pBlock + IDENTIFY_SERIAL_OFFSET, IDENTIFY_SERIAL_LENGTH);
    m_strSerial[bDriveNumber] = FieldText(pBlock + IDENTIFY_SERIAL_OFFSET, IDENTIFY_SERIAL_LENGTH);

    m_dwFlags[bDriveNumber] |=
        identity::RuleBits(m_strModel[bDriveNumber], m_strFirmware[bDriveNumber]);
}
