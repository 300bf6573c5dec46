#include "save/crc32.h"

#include <array>

namespace korvel {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

// table[0] is the classic 256-entry byte table; table[k][b] is the CRC of
// byte b followed by k zero bytes, which lets eight bytes be folded at
// once with the same result as eight single steps.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t c = b;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? kPolynomial ^ (c >> 1) : c >> 1;
    t[0][b] = c;
  }
  for (uint32_t b = 0; b < 256; ++b)
    for (size_t k = 1; k < 8; ++k) t[k][b] = t[0][t[k - 1][b] & 0xFF] ^ (t[k - 1][b] >> 8);
  return t;
}

constexpr Tables kTables = MakeTables();

// Little-endian: the first byte is the low byte (one load on x86).
inline uint32_t Load32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Eight bytes in one step.
inline uint32_t Fold8(uint32_t crc, const unsigned char* p) {
  uint32_t lo = Load32(p) ^ crc, hi = Load32(p + 4);
  return kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
         kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
         kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
}

uint32_t Serial(uint32_t crc, const unsigned char* p, size_t size) {
  for (; size >= 8; p += 8, size -= 8) crc = Fold8(crc, p);
  while (size--) crc = kTables[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return crc;
}

// Polynomials modulo the CRC polynomial, bit-reflected as the register
// holds them: bit 31 is x^0.
uint32_t MultiplyMod(uint32_t a, uint32_t b) {
  uint32_t product = 0;
  for (uint32_t m = 1u << 31; m != 0; m >>= 1) {
    if (a & m) product ^= b;
    b = (b & 1) ? (b >> 1) ^ kPolynomial : b >> 1;
  }
  return product;
}

// x^(8 * bytes): running a register over that many zero bytes multiplies
// it by this.
uint32_t ZeroBytesOperator(size_t bytes) {
  uint32_t result = 1u << 31;      // x^0
  uint32_t square = 1u << 23;      // x^8
  for (; bytes != 0; bytes >>= 1) {
    if (bytes & 1) result = MultiplyMod(result, square);
    square = MultiplyMod(square, square);
  }
  return result;
}

// Large buffers are cut into three lanes of equal length that are run
// side by side, so the table look-ups of one lane overlap the others'
// instead of waiting on them. The lanes are joined by the linearity of the
// register: Update(c, A B) = Update(c, A)·x^(8|B|) ^ Update(0, B).
constexpr size_t kMinLane = 1024;

}  // namespace

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  if (size >= 3 * kMinLane) {
    size_t lane = size / 3 / 16 * 16;
    const unsigned char *a = p, *b = p + lane, *c = p + 2 * lane, *end = p + lane;
    uint32_t ca = crc, cb = 0, cc = 0;
    for (; a < end; a += 16, b += 16, c += 16) {
      ca = Fold8(ca, a);
      cb = Fold8(cb, b);
      cc = Fold8(cc, c);
      ca = Fold8(ca, a + 8);
      cb = Fold8(cb, b + 8);
      cc = Fold8(cc, c + 8);
    }
    uint32_t shift = ZeroBytesOperator(lane);
    crc = MultiplyMod(MultiplyMod(ca, shift) ^ cb, shift) ^ cc;
    p += 3 * lane;
    size -= 3 * lane;
  }
  return Serial(crc, p, size);
}

}  // namespace korvel
