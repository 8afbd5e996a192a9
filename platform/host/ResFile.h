// Reading a compiled resource file (.res, the format windres and rc write): a sequence of
// entries, each a header naming its type, name and language, then its data.
#ifndef VFLASH_PLATFORM_HOST_RESFILE_H
#define VFLASH_PLATFORM_HOST_RESFILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// A type or name: an integer id, or a string (stored here in ASCII).
struct ResId {
    bool isInt = true;
    std::uint16_t id = 0;
    std::string name;
    bool operator==(const ResId& o) const
    {
        return isInt == o.isInt && (isInt ? id == o.id : name == o.name);
    }
};

struct ResEntry {
    ResId type;
    ResId name;
    std::uint16_t language = 0;
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
};

// Parses `bytes`. Stops at the first malformed entry; the entries before it stand.
std::vector<ResEntry> ParseResFile(const std::uint8_t* bytes, std::size_t size);

}  // namespace host

#endif
