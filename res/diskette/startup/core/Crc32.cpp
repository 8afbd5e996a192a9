#include "Crc32.h"

namespace crc32 {

// Half-byte table: 64 bytes of constants instead of a 1 KB table, at two lookups a byte,
// which still checks a few hundred kilobytes in well under a second on a 386.
uint32_t Update(uint32_t crc, const void* data, uint32_t count)
{
    static const uint32_t kNibble[16] = {
        0x00000000, 0x1DB71064, 0x3B6E20C8, 0x26D930AC, 0x76DC4190, 0x6B6B51F4, 0x4DB26158, 0x5005713C,
        0xEDB88320, 0xF00F9344, 0xD6D6A3E8, 0xCB61B38C, 0x9B64C2B0, 0x86D3D2D4, 0xA00AE278, 0xBDBDF21C,
    };
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (count--) {
        crc ^= *p++;
        crc = (crc >> 4) ^ kNibble[crc & 15];
        crc = (crc >> 4) ^ kNibble[crc & 15];
    }
    return crc;
}

}  // namespace crc32
