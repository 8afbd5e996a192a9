#include "platform/host/ResFile.h"

#include <cstring>

namespace host {

namespace {

struct Reader {
    const std::uint8_t* p;
    const std::uint8_t* end;
    bool ok = true;

    std::uint16_t Word()
    {
        if (end - p < 2) { ok = false; return 0; }
        std::uint16_t v = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
        p += 2;
        return v;
    }
    std::uint32_t Dword()
    {
        std::uint32_t lo = Word();
        std::uint32_t hi = Word();
        return lo | (hi << 16);
    }
    // 0xFFFF followed by an ordinal, or a NUL-terminated UTF-16 string.
    ResId Id()
    {
        ResId id;
        std::uint16_t first = Word();
        if (first == 0xFFFF) {
            id.id = Word();
            return id;
        }
        id.isInt = false;
        for (std::uint16_t ch = first; ok && ch != 0; ch = Word())
            id.name += static_cast<char>(ch < 0x80 ? ch : '?');
        return id;
    }
};

}  // namespace

std::vector<ResEntry> ParseResFile(const std::uint8_t* bytes, std::size_t size)
{
    std::vector<ResEntry> entries;
    const std::uint8_t* p = bytes;
    const std::uint8_t* end = bytes + size;
    while (end - p >= 32) {
        Reader r{p, end};
        std::uint32_t dataSize = r.Dword();
        std::uint32_t headerSize = r.Dword();
        ResEntry e;
        e.type = r.Id();
        e.name = r.Id();
        // DataVersion, MemoryFlags and LanguageId follow, DWORD-aligned.
        r.p = p + ((r.p - p + 3) & ~static_cast<std::ptrdiff_t>(3));
        r.Dword();
        r.Word();
        e.language = r.Word();
        if (!r.ok || headerSize < 32 || headerSize > static_cast<std::size_t>(end - p) ||
            dataSize > static_cast<std::size_t>(end - p) - headerSize)
            break;
        e.data = p + headerSize;
        e.size = dataSize;
        // The file opens with an empty entry that only marks the format.
        if (!(e.type.isInt && e.type.id == 0)) entries.push_back(e);
        std::size_t step = headerSize + ((dataSize + 3u) & ~3u);
        if (step > static_cast<std::size_t>(end - p)) break;
        p += step;
    }
    return entries;
}

}  // namespace host
