// Turns a file name such as "STARTUP.BIN" into the 11-byte form a FAT directory entry
// stores ("STARTUP BIN"). Only the plain 8.3 subset is accepted: the boot sector and the
// start-up program compare names byte for byte and know nothing of long names or case.
#ifndef VFLASH_TOOLS_MKDISKETTE_SHORTNAME_H
#define VFLASH_TOOLS_MKDISKETTE_SHORTNAME_H

#include <array>
#include <string>

namespace mkdiskette {

using ShortName = std::array<char, 11>;

// Throws std::invalid_argument with a message that names `name` when it is not a valid
// upper-case 8.3 name.
ShortName ToShortName(const std::string& name);

// The volume label is 11 characters, space padded; same character rules as a name.
ShortName ToVolumeLabel(const std::string& label);

}  // namespace mkdiskette

#endif
