// Diskette media types by the names that scenario files use for them.
#ifndef VFLASH_PLATFORM_SIM_MEDIATYPES_H
#define VFLASH_PLATFORM_SIM_MEDIATYPES_H

#include <cstdint>
#include <string>

#include "platform/win32.h"

namespace sim {

DISK_GEOMETRY MakeGeometry(MEDIA_TYPE type, LONGLONG cylinders, DWORD heads,
                           DWORD sectorsPerTrack, DWORD bytesPerSector);

// "360K", "1.2M", "720K", "1.44M", "2.88M" (any letter case).
bool MediaTypeByName(const std::string& name, DISK_GEOMETRY* out);

// A MEDIA_TYPE by its enumerator name ("F3_1Pt44_512", exact case) or its number (0-12).
bool MediaTypeCode(const std::string& word, MEDIA_TYPE* out);

std::uint64_t BytesPerCylinder(const DISK_GEOMETRY& g);
std::uint64_t Capacity(const DISK_GEOMETRY& g);

}  // namespace sim

#endif
