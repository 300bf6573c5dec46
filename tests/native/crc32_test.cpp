#include "save/crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {
namespace {

// One bit at a time, straight from the polynomial.
uint32_t BitwiseCrc32(const unsigned char* p, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

std::vector<unsigned char> Noise(size_t n, uint32_t seed) {
  std::vector<unsigned char> v(n);
  for (auto& c : v) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<unsigned char>(seed >> 24);
  }
  return v;
}

TEST(Crc32, KnownValues) {
  struct Case {
    std::string text;
    uint32_t crc;
  } cases[] = {
      {"", 0x00000000},
      {"a", 0xE8B7BE43},
      {"abc", 0x352441C2},
      {"123456789", 0xCBF43926},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339},
      {std::string(32, '\0'), 0x190A55AD},
      {std::string(32, '\xFF'), 0xFF6CAB0B},
  };
  for (const Case& c : cases) EXPECT_EQ(Crc32(c.text.data(), c.text.size()), c.crc) << c.text;
}

// Lengths around the eight-byte steps and around the size from which the
// buffer is run in three lanes, at every alignment.
TEST(Crc32, MatchesTheBitwiseDefinition) {
  const std::vector<unsigned char> data = Noise((1u << 20) + 64, 7);
  const size_t lengths[] = {1,    7,    8,    9,    15,   16,    17,    1000,   3071,
                            3072, 3073, 3087, 3088, 3100, 10000, 65537, 1u << 20};
  for (size_t length : lengths)
    for (size_t offset : {0, 1, 3, 5}) {
      const unsigned char* p = data.data() + offset;
      EXPECT_EQ(Crc32(p, length), BitwiseCrc32(p, length)) << length << "+" << offset;
    }
}

// The running value can be carried across any split of the buffer.
TEST(Crc32, UpdatesCarryAcrossSplits) {
  const std::vector<unsigned char> data = Noise(20000, 99);
  const uint32_t whole = BitwiseCrc32(data.data(), data.size());
  for (size_t split : {0, 1, 3, 8, 517, 3072, 9999, 16928, 20000}) {
    uint32_t crc = Crc32Update(0xFFFFFFFFu, data.data(), split);
    crc = Crc32Update(crc, data.data() + split, data.size() - split);
    EXPECT_EQ(~crc, whole) << split;
  }
  // Many small steps.
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t at = 0; at < data.size(); at += 13)
    crc = Crc32Update(crc, data.data() + at, std::min<size_t>(13, data.size() - at));
  EXPECT_EQ(~crc, whole);
}

}  // namespace
}  // namespace korvel
