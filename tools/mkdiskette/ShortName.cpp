#include "ShortName.h"

#include <stdexcept>

namespace mkdiskette {
namespace {

// Upper-case letters, digits and the punctuation that every FAT driver accepts. Lower
// case is refused rather than folded: a name that changes on the way in would not be
// found by the start-up program, which looks names up exactly.
bool IsNameChar(char c)
{
    if (c >= 'A' && c <= 'Z') return true;
    if (c >= '0' && c <= '9') return true;
    for (char ok : std::string("!#$%&'()-@^_`{}~"))
        if (c == ok) return true;
    return false;
}

[[noreturn]] void Bad(const std::string& what, const std::string& name)
{
    throw std::invalid_argument(what + ": \"" + name + "\"");
}

}  // namespace

ShortName ToShortName(const std::string& name)
{
    ShortName out;
    out.fill(' ');
    const std::string::size_type dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8) Bad("file name needs 1 to 8 characters before the dot", name);
    if (ext.size() > 3) Bad("file name extension is longer than 3 characters", name);
    if (dot != std::string::npos && ext.empty()) Bad("file name ends with a dot", name);
    for (char c : base + ext)
        if (!IsNameChar(c)) Bad("file name is not upper-case 8.3", name);
    for (std::string::size_type i = 0; i < base.size(); ++i) out[i] = base[i];
    for (std::string::size_type i = 0; i < ext.size(); ++i) out[8 + i] = ext[i];
    return out;
}

ShortName ToVolumeLabel(const std::string& label)
{
    ShortName out;
    out.fill(' ');
    if (label.empty() || label.size() > out.size()) Bad("volume label needs 1 to 11 characters", label);
    for (std::string::size_type i = 0; i < label.size(); ++i) {
        if (!IsNameChar(label[i]) && label[i] != ' ') Bad("volume label is not upper case", label);
        out[i] = label[i];
    }
    return out;
}

}  // namespace mkdiskette
