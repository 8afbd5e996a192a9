// Fuzzes the drive scan with arbitrary driver answers: which opens and requests succeed,
// the device map, and the 512 bytes of every IDENTIFY block. The scan must never read or
// write outside its buffers, whatever a driver returns, and the table must stay coherent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "drives/DriveTable.h"
#include "fw/WinApp.h"
#include "platform/pc.h"
#include "platform/win.h"

namespace {

const std::uint8_t* g_data;
std::size_t g_size;

std::uint8_t Take()
{
    if (g_size == 0) return 0;
    --g_size;
    return *g_data++;
}

}  // namespace

// The three calls the scan makes, answered from the fuzz input.
namespace pc {

HANDLE CreateFileA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    return (Take() & 1) ? reinterpret_cast<HANDLE>(0x100) : INVALID_HANDLE_VALUE;
}

BOOL DeviceIoControl(HANDLE, DWORD code, LPVOID in, DWORD nIn, LPVOID out, DWORD nOut, LPDWORD pnRet,
                     LPOVERLAPPED)
{
    if (!(Take() & 1)) return FALSE;
    if (code == SMART_GET_VERSION) {
        if (nOut < sizeof(GETVERSIONINPARAMS)) std::abort();
        static_cast<GETVERSIONINPARAMS*>(out)->bIDEDeviceMap = Take();
        *pnRet = sizeof(GETVERSIONINPARAMS);
        return TRUE;
    }
    if (code != SMART_RCV_DRIVE_DATA || nIn != 35 || nOut != 531 || in == nullptr) std::abort();
    std::uint8_t* reply = static_cast<std::uint8_t*>(out);
    // A driver may fill any part of the reply, the bytes after the block included.
    for (DWORD i = 0; i < nOut; ++i) reply[i] = Take();
    *pnRet = nOut;
    return TRUE;
}

}  // namespace pc

// CString::LoadString's resources; the scan loads none.
HINSTANCE AfxGetResourceHandle() { return nullptr; }
namespace win {
int LoadStringA(HINSTANCE, UINT, LPSTR buffer, int max)
{
    if (max > 0) buffer[0] = '\0';
    return 0;
}
}  // namespace win

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    g_data = data;
    g_size = size;
    CDriveTable table;
    table.ScanDrives();

    int identified = 0;
    for (int n = 0; n < DRIVE_SLOTS; ++n) {
        DWORD f = table.m_dwFlags[n];
        if (f & ~0x3Fu) std::abort();           // no stray bits
        if (f & (f + 1)) std::abort();           // a run from DRIVE_OPENED upward
        if (f & DRIVE_IDENTIFIED) ++identified;
        if (table.m_strModel[n].GetLength() > 40 || table.m_strFirmware[n].GetLength() > 8 ||
            table.m_strSerial[n].GetLength() > 20)
            std::abort();
    }
    if (identified != table.m_nIdentified) std::abort();
    return 0;
}
