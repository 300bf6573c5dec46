// MyCRC32: the standard reflected CRC-32 (polynomial 0xEDB88320, initial
// value 0xFFFFFFFF, final complement), the same values as zlib's crc32.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel {

// One table step per byte, crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8),
// without the initial or final complement (the running value).
uint32_t Crc32Update(uint32_t crc, const void* data, size_t size);

// The CRC-32 of a whole buffer.
inline uint32_t Crc32(const void* data, size_t size) {
  return ~Crc32Update(0xFFFFFFFFu, data, size);
}

}  // namespace korvel
