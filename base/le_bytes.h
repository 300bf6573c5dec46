// Little-endian loads and stores of fixed-width values, the one set every
// binary format of the library uses. The pointers need no alignment.
#pragma once

#include <bit>
#include <cstdint>

namespace korvel {

inline uint16_t LoadU16(const void* at) {
  const auto* b = static_cast<const unsigned char*>(at);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

inline uint32_t LoadU32(const void* at) {
  const auto* b = static_cast<const unsigned char*>(at);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

inline float LoadF32(const void* at) { return std::bit_cast<float>(LoadU32(at)); }

inline void StoreU16(void* at, uint16_t v) {
  auto* b = static_cast<unsigned char*>(at);
  b[0] = static_cast<unsigned char>(v);
  b[1] = static_cast<unsigned char>(v >> 8);
}

inline void StoreU32(void* at, uint32_t v) {
  auto* b = static_cast<unsigned char*>(at);
  b[0] = static_cast<unsigned char>(v);
  b[1] = static_cast<unsigned char>(v >> 8);
  b[2] = static_cast<unsigned char>(v >> 16);
  b[3] = static_cast<unsigned char>(v >> 24);
}

inline void StoreF32(void* at, float v) { StoreU32(at, std::bit_cast<uint32_t>(v)); }

}  // namespace korvel
