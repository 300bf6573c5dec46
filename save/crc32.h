// MyCRC32: the standard reflected CRC-32 (polynomial 0xEDB88320, initial
// value 0xFFFFFFFF, final complement), the same values as zlib's crc32.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel {

// One table step per byte, crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8),
// without the initial or final complement (the running value). Processors
// with a carry-less multiply fold 64 bytes at a time instead; the value is
// the same.
uint32_t Crc32Update(uint32_t crc, const void* data, size_t size);

// The CRC-32 of a whole buffer.
inline uint32_t Crc32(const void* data, size_t size) {
  return ~Crc32Update(0xFFFFFFFFu, data, size);
}

// The two methods behind Crc32Update, for checking one against the other:
// the table method runs everywhere, the folding method only where
// Crc32HasCarrylessMultiply() holds (elsewhere it runs the table method).
uint32_t Crc32UpdateByTable(uint32_t crc, const void* data, size_t size);
uint32_t Crc32UpdateByFolding(uint32_t crc, const void* data, size_t size);
// Whether this processor has PCLMULQDQ and SSE4.1, asked once.
bool Crc32HasCarrylessMultiply();

// The constants of the folding method, and how they follow from the
// polynomial.
//
// The register holds a polynomial bit-reflected: bit i is the coefficient
// of x^(31-i), and a 16-byte block loaded little-endian holds bit i as the
// coefficient of x^(127-i). Running a register c over a block B gives
// (c·x^128 + B·x^32) mod P, so blocks fold: a 128-bit remainder A = Ah·x^64
// + Al (Ah the first eight bytes) that stands D bits before block B can be
// replaced by Ah·(x^(D+64) mod P) + Al·(x^D mod P), which is less than 128
// bits wide, and added to B. A constant c is kept reflected in 33 bits
// (bit i the coefficient of x^(32-i)); the carry-less product of a 64-bit
// half and c then reads, in the 128-bit register, as half·c·x^32. So each
// constant is x^(D+64-32) or x^(D-32) mod P, reflected into 32 bits and
// shifted left by one:
//   fold by four blocks (D = 512): x^544 and x^480
//   fold by one block   (D = 128): x^160 and x^96
//   the last 96 bits to 64:        x^64
// The 64 bits left are reduced by Barrett's method with floor(x^64 / P)
// and P itself, both 33 bits reflected.
namespace crc32_folding {

// P with its x^32 term, not reflected.
inline constexpr uint64_t kPolynomialNormal = 0x104C11DB7u;

// The low `bits` bits of v in reverse order.
constexpr uint64_t Reflect(uint64_t v, int bits) {
  uint64_t r = 0;
  for (int i = 0; i < bits; ++i)
    if (v & (uint64_t{1} << i)) r |= uint64_t{1} << (bits - 1 - i);
  return r;
}

// x^exponent mod P, not reflected.
constexpr uint64_t PowerMod(unsigned exponent) {
  uint64_t r = 1;
  for (unsigned i = 0; i < exponent; ++i) {
    r <<= 1;
    if (r & (uint64_t{1} << 32)) r ^= kPolynomialNormal;
  }
  return r;
}

// x^exponent mod P as the folding method uses it.
constexpr uint64_t FoldConstant(unsigned exponent) { return Reflect(PowerMod(exponent), 32) << 1; }

// floor(x^64 / P), reflected into 33 bits: long division, a window on
// the dividend's terms x^degree .. x^(degree-32) sliding down from x^64.
constexpr uint64_t BarrettQuotient() {
  uint64_t window = uint64_t{1} << 32, quotient = 0;
  for (int degree = 64; degree >= 32; --degree) {
    if (window >> 32) {
      quotient |= uint64_t{1} << (degree - 32);
      window ^= kPolynomialNormal;
    }
    window <<= 1;
  }
  return Reflect(quotient, 33);
}

// P reflected into 33 bits.
constexpr uint64_t ReflectedPolynomial() { return Reflect(kPolynomialNormal, 33); }

struct Constants {
  uint64_t by4_first, by4_second;  // x^544, x^480
  uint64_t by1_first, by1_second;  // x^160, x^96
  uint64_t last64;                 // x^64
  uint64_t quotient;               // floor(x^64 / P)
  uint64_t polynomial;             // P
};

// What the folding method runs with; the tests and a static_assert hold
// them to the derivation above.
inline constexpr Constants kConstants = {
    0x154442BD4u, 0x1C6E41596u, 0x1751997D0u, 0x0CCAA009Eu,
    0x163CD6124u, 0x1F7011641u, 0x1DB710641u,
};

}  // namespace crc32_folding
}  // namespace korvel
