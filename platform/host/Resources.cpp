// The program's module and resources on the host: the very .res file that the Windows
// builds link, embedded in the host program (embed_res.S) and looked up by type and id as
// Windows does.
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

#include "platform/host/HostUi.h"
#include "platform/host/ResFile.h"
#include "platform/sim/Trace.h"
#include "platform/win.h"

extern "C" const std::uint8_t vflash_res_begin[];
extern "C" const std::uint8_t vflash_res_end[];

namespace {

const HMODULE kModule = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x400000));

std::mutex g_mu;
std::set<std::pair<int, int>> g_hidden;  // (type, id) pairs that tests took away
std::string g_moduleFileName = "C:\\VFLASH\\VFLASH.EXE";

const std::vector<host::ResEntry>& Entries()
{
    static const std::vector<host::ResEntry> entries = host::ParseResFile(
        vflash_res_begin, static_cast<std::size_t>(vflash_res_end - vflash_res_begin));
    return entries;
}

int IntOf(LPCSTR p) { return IS_INTRESOURCE(p) ? static_cast<int>(reinterpret_cast<std::uintptr_t>(p)) : -1; }

const host::ResEntry* Find(int type, int id)
{
    {
        std::lock_guard<std::mutex> lock(g_mu);
        if (g_hidden.count({type, id})) return nullptr;
    }
    for (const host::ResEntry& e : Entries())
        if (e.type.isInt && e.type.id == type && e.name.isInt && e.name.id == id) return &e;
    return nullptr;
}

void Record(const char* fn, std::uint32_t code, std::int64_t result)
{
    sim::Call c;
    c.fn = fn;
    c.code = code;
    c.result = result;
    sim::Record(c);
}

}  // namespace

namespace host {

void HideResource(int type, int id)
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_hidden.insert({type, id});
}

void RestoreResources()
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_hidden.clear();
}

void SetModuleFileName(const std::string& path)
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_moduleFileName = path;
}

bool FindResourceBytes(int type, int id, const std::uint8_t** data, std::size_t* size)
{
    const ResEntry* e = Find(type, id);
    if (!e) return false;
    *data = e->data;
    *size = e->size;
    return true;
}

}  // namespace host

namespace win {

HMODULE GetModuleHandleA(LPCSTR lpModuleName) { return lpModuleName ? nullptr : kModule; }

DWORD GetModuleFileNameA(HMODULE, LPSTR lpFilename, DWORD nSize)
{
    std::string name;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        name = g_moduleFileName;
    }
    if (nSize == 0) return 0;
    DWORD n = static_cast<DWORD>(name.size() < nSize - 1 ? name.size() : nSize - 1);
    std::memcpy(lpFilename, name.data(), n);
    lpFilename[n] = '\0';
    return n;
}

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
{
    const host::ResEntry* e = hModule == kModule ? Find(IntOf(lpType), IntOf(lpName)) : nullptr;
    Record("FindResourceA", static_cast<std::uint32_t>(IntOf(lpName)), e != nullptr);
    return const_cast<host::ResEntry*>(e);
}

HGLOBAL LoadResource(HMODULE, HRSRC hResInfo)
{
    const host::ResEntry* e = static_cast<const host::ResEntry*>(hResInfo);
    Record("LoadResource", 0, e != nullptr);
    return e ? const_cast<std::uint8_t*>(e->data) : nullptr;
}

LPVOID LockResource(HGLOBAL hResData)
{
    Record("LockResource", 0, hResData != nullptr);
    return hResData;
}

DWORD SizeofResource(HMODULE, HRSRC hResInfo)
{
    const host::ResEntry* e = static_cast<const host::ResEntry*>(hResInfo);
    DWORD size = e ? e->size : 0;
    Record("SizeofResource", 0, size);
    return size;
}

int LoadStringA(HINSTANCE, UINT uID, LPSTR lpBuffer, int cchBufferMax)
{
    // Strings live in blocks of 16: block id/16 + 1, each string a length word and UTF-16.
    int copied = 0;
    const host::ResEntry* e = Find(6, static_cast<int>(uID / 16 + 1));
    if (e && cchBufferMax > 0) {
        const std::uint8_t* p = e->data;
        const std::uint8_t* end = e->data + e->size;
        for (UINT i = 0; i < 16 && end - p >= 2; ++i) {
            std::size_t len = static_cast<std::size_t>(p[0] | (p[1] << 8));
            p += 2;
            if (static_cast<std::size_t>(end - p) < 2 * len) break;
            if (i == uID % 16) {
                for (std::size_t k = 0; k < len && copied < cchBufferMax - 1; ++k) {
                    unsigned ch = static_cast<unsigned>(p[2 * k] | (p[2 * k + 1] << 8));
                    lpBuffer[copied++] = static_cast<char>(ch < 0x80 ? ch : '?');
                }
                break;
            }
            p += 2 * len;
        }
    }
    if (cchBufferMax > 0) lpBuffer[copied] = '\0';
    Record("LoadStringA", uID, copied);
    return copied;
}

HICON LoadIconA(HINSTANCE, LPCSTR lpIconName)
{
    int id = IntOf(lpIconName);
    HICON icon = Find(14, id) ? reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x7000 + id)) : nullptr;
    Record("LoadIconA", static_cast<std::uint32_t>(id), reinterpret_cast<std::intptr_t>(icon));
    return icon;
}

void InitCommonControls() { Record("InitCommonControls", 0, 0); }

}  // namespace win
