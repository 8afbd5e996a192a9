#include "platform/host/ResFile.h"

#include "platform/host/LeReader.h"

namespace host {

namespace {

// 0xFFFF followed by an ordinal, or a NUL-terminated UTF-16 string.
ResId ReadId(LeReader& r)
{
    ResId id;
    std::uint16_t first = r.Word();
    if (first == 0xFFFF) {
        id.id = r.Word();
        return id;
    }
    id.isInt = false;
    if (first != 0) id.name = r.String(first);
    return id;
}

}  // namespace

std::vector<ResEntry> ParseResFile(const std::uint8_t* bytes, std::size_t size)
{
    std::vector<ResEntry> entries;
    LeReader r(bytes, size);
    while (r.Left() >= 32) {
        const std::size_t start = r.Offset();
        std::uint32_t dataSize = r.Dword();
        std::uint32_t headerSize = r.Dword();
        ResEntry e;
        e.type = ReadId(r);
        e.name = ReadId(r);
        // DataVersion, MemoryFlags and LanguageId follow, DWORD-aligned.
        r.AlignDword();
        r.Dword();
        r.Word();
        e.language = r.Word();
        const std::size_t left = size - start;
        if (!r.ok() || headerSize < 32 || headerSize > left || dataSize > left - headerSize) break;
        e.data = bytes + start + headerSize;
        e.size = dataSize;
        // The file opens with an empty entry that only marks the format.
        if (!(e.type.isInt && e.type.id == 0)) entries.push_back(e);
        std::size_t step = headerSize + ((dataSize + 3u) & ~3u);
        if (step > left) break;
        r.Skip(start + step - r.Offset());
    }
    return entries;
}

}  // namespace host
