// CRC-32 as in zip and Ethernet (reflected polynomial EDB88320h, initial and final value
// FFFFFFFFh), so a firmware file's checksum can be checked with everyday tools too.
#ifndef VFLASH_STARTUP_CORE_CRC32_H
#define VFLASH_STARTUP_CORE_CRC32_H

#include <stdint.h>

namespace crc32 {

const uint32_t kStart = 0xFFFFFFFFu;

// Feeds `count` bytes into a running value; start with kStart, finish with Finish().
uint32_t Update(uint32_t crc, const void* data, uint32_t count);
inline uint32_t Finish(uint32_t crc) { return crc ^ 0xFFFFFFFFu; }
inline uint32_t Of(const void* data, uint32_t count) { return Finish(Update(kStart, data, count)); }

}  // namespace crc32

#endif
