#include "save/crc32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
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

// A copy of bytes at a given distance from a 16-byte boundary, in a block
// that ends right after them: a read past the end is caught.
class Placed {
 public:
  Placed(const unsigned char* bytes, size_t size, size_t offset)
      : block_(new unsigned char[offset + size + 1]), at_(block_.get() + offset) {
    std::copy(bytes, bytes + size, at_);
  }
  const unsigned char* data() const { return at_; }

 private:
  std::unique_ptr<unsigned char[]> block_;
  unsigned char* at_;
};

// Each way of computing it, by name.
struct Method {
  const char* name;
  uint32_t (*update)(uint32_t, const void*, size_t);
};
const Method kMethods[] = {
    {"public", &Crc32Update},
    {"table", &Crc32UpdateByTable},
    {"folding", &Crc32UpdateByFolding},
};

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
      {std::string(64, '\0'), 0x758D6336},
      {std::string(100, 'a'), 0xAF707A64},
  };
  for (const Method& m : kMethods)
    for (const Case& c : cases)
      EXPECT_EQ(~m.update(0xFFFFFFFFu, c.text.data(), c.text.size()), c.crc)
          << m.name << " " << c.text.size();
}

// Every method against the bitwise definition: random lengths up to 4096
// at random alignments, the lengths where the methods change step (eight
// bytes, the 16-byte blocks, the 64-byte stride, the three table lanes),
// and 16 MB.
TEST(Crc32, MatchesTheBitwiseDefinition) {
  const std::vector<unsigned char> data = Noise(4096 + 64, 7);
  std::mt19937 random(20261209);
  std::vector<std::pair<size_t, size_t>> cases;  // length, offset
  for (int i = 0; i < 1500; ++i)
    cases.push_back({random() % 4097, random() % 16});
  for (size_t length : {0,  1,  7,  8,  9,  15, 16, 17,  31,  32,   48,   63,   64,   65,  79,
                        80, 95, 96, 127, 128, 129, 191, 192, 1000, 3071, 3072, 3073, 3087, 4096})
    for (size_t offset : {0, 1, 3, 8, 15}) cases.push_back({length, offset});
  for (const auto& [length, offset] : cases) {
    const unsigned char* source = data.data() + (length * 31 + offset) % 64;
    Placed placed(source, length, offset);
    const uint32_t expected = BitwiseCrc32(source, length);
    for (const Method& m : kMethods)
      ASSERT_EQ(~m.update(0xFFFFFFFFu, placed.data(), length), expected)
          << m.name << " length " << length << " offset " << offset;
  }
  const std::vector<unsigned char> large = Noise(16u << 20, 11);
  const uint32_t expected = BitwiseCrc32(large.data(), large.size());
  for (const Method& m : kMethods)
    for (size_t offset : {0, 5}) {
      Placed placed(large.data(), large.size() - offset, offset);
      const uint32_t want = offset == 0 ? expected : BitwiseCrc32(large.data(), large.size() - offset);
      EXPECT_EQ(~m.update(0xFFFFFFFFu, placed.data(), large.size() - offset), want)
          << m.name << " 16 MB, offset " << offset;
    }
}

// The running value can be carried across any split of the buffer, and
// a running value other than the initial one enters the folding right.
TEST(Crc32, UpdatesCarryAcrossSplits) {
  const std::vector<unsigned char> data = Noise(20000, 99);
  const uint32_t whole = BitwiseCrc32(data.data(), data.size());
  for (const Method& m : kMethods) {
    for (size_t split : {0, 1, 3, 8, 63, 64, 517, 3072, 9999, 16928, 19936, 20000}) {
      uint32_t crc = m.update(0xFFFFFFFFu, data.data(), split);
      crc = m.update(crc, data.data() + split, data.size() - split);
      EXPECT_EQ(~crc, whole) << m.name << " split at " << split;
    }
    // Many small steps, and steps of 4 KiB as the co-save takes them.
    for (size_t step : {13, 4096}) {
      uint32_t crc = 0xFFFFFFFFu;
      for (size_t at = 0; at < data.size(); at += step)
        crc = m.update(crc, data.data() + at, std::min(step, data.size() - at));
      EXPECT_EQ(~crc, whole) << m.name << " steps of " << step;
    }
  }
}

// x^e mod P reflected as the register holds it (bit 31 is x^0), by
// multiplying x^0 by x e times: independent of the derivation in the
// header, which works on the polynomial unreflected.
uint32_t ReflectedPower(unsigned e) {
  uint32_t r = 1u << 31;
  for (unsigned i = 0; i < e; ++i) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
  return r;
}

// The carry-less product of two polynomials of degree below 64, as
// (high, low) halves.
std::pair<uint64_t, uint64_t> CarrylessProduct(uint64_t a, uint64_t b) {
  uint64_t high = 0, low = 0;
  for (int i = 0; i < 64; ++i)
    if (b & (uint64_t{1} << i)) {
      low ^= a << i;
      if (i != 0) high ^= a >> (64 - i);
    }
  return {high, low};
}

TEST(Crc32, FoldingConstantsFollowFromThePolynomial) {
  namespace f = crc32_folding;
  // The constants in use are the derivation's.
  EXPECT_EQ(f::kConstants.by4_first, f::FoldConstant(544));
  EXPECT_EQ(f::kConstants.by4_second, f::FoldConstant(480));
  EXPECT_EQ(f::kConstants.by1_first, f::FoldConstant(160));
  EXPECT_EQ(f::kConstants.by1_second, f::FoldConstant(96));
  EXPECT_EQ(f::kConstants.last64, f::FoldConstant(64));
  EXPECT_EQ(f::kConstants.quotient, f::BarrettQuotient());
  EXPECT_EQ(f::kConstants.polynomial, f::ReflectedPolynomial());
  // The derivation agrees with the register's own arithmetic.
  for (unsigned e : {0u, 1u, 31u, 32u, 33u, 64u, 96u, 160u, 480u, 544u, 1000u})
    EXPECT_EQ(f::FoldConstant(e), uint64_t{ReflectedPower(e)} << 1) << "x^" << e;
  EXPECT_EQ(f::ReflectedPolynomial(), (uint64_t{0xEDB88320u} << 1) | 1);
  // floor(x^64 / P) = q: q·P differs from x^64 only below x^32.
  const uint64_t q = f::Reflect(f::BarrettQuotient(), 33);
  const auto [high, low] = CarrylessProduct(q, f::kPolynomialNormal);
  EXPECT_EQ(high, 1u);
  EXPECT_EQ(low >> 32, 0u);
}

}  // namespace
}  // namespace korvel
