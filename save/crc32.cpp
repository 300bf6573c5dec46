#include "save/crc32.h"

#include <array>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define KORVEL_CRC32_FOLDING 1
#else
#define KORVEL_CRC32_FOLDING 0
#endif

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

#if KORVEL_CRC32_FOLDING

// Only the folding functions use the instructions; the rest of the library
// stays generic. A 32-bit caller (the game's own code among them) may hand
// over a stack aligned to 4 bytes only: the functions align their own.
#define KORVEL_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))
#if defined(__i386__)
#define KORVEL_FOLDING_ENTRY __attribute__((target("pclmul,sse4.1"), force_align_arg_pointer))
#else
#define KORVEL_FOLDING_ENTRY KORVEL_FOLDING_TARGET
#endif

namespace folding = crc32_folding;

static_assert(folding::kConstants.by4_first == folding::FoldConstant(544));
static_assert(folding::kConstants.by4_second == folding::FoldConstant(480));
static_assert(folding::kConstants.by1_first == folding::FoldConstant(160));
static_assert(folding::kConstants.by1_second == folding::FoldConstant(96));
static_assert(folding::kConstants.last64 == folding::FoldConstant(64));
static_assert(folding::kConstants.quotient == folding::BarrettQuotient());
static_assert(folding::kConstants.polynomial == folding::ReflectedPolynomial());

// The block's first eight bytes times the constant's low half, plus its
// last eight times the high half.
KORVEL_FOLDING_TARGET inline __m128i Fold(__m128i block, __m128i constants) {
  return _mm_xor_si128(_mm_clmulepi64_si128(block, constants, 0x00),
                       _mm_clmulepi64_si128(block, constants, 0x11));
}

KORVEL_FOLDING_TARGET inline __m128i Load(const unsigned char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

KORVEL_FOLDING_TARGET inline __m128i Pair(uint64_t low, uint64_t high) {
  return _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
}

// Four lanes of 16 bytes folded forward 64 bytes at a time, joined into
// one, then 16 bytes at a time, then reduced to the register; what is left
// (under 16 bytes) goes through the table.
KORVEL_FOLDING_ENTRY uint32_t Folded(uint32_t crc, const unsigned char* p, size_t size) {
  constexpr size_t kStride = 64;
  if (size < kStride) return Serial(crc, p, size);
  const folding::Constants& k = folding::kConstants;
  const __m128i by4 = Pair(k.by4_first, k.by4_second);
  const __m128i by1 = Pair(k.by1_first, k.by1_second);
  __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = Load(p + 16), x2 = Load(p + 32), x3 = Load(p + 48);
  for (p += kStride, size -= kStride; size >= kStride; p += kStride, size -= kStride) {
    x0 = _mm_xor_si128(Fold(x0, by4), Load(p));
    x1 = _mm_xor_si128(Fold(x1, by4), Load(p + 16));
    x2 = _mm_xor_si128(Fold(x2, by4), Load(p + 32));
    x3 = _mm_xor_si128(Fold(x3, by4), Load(p + 48));
  }
  __m128i x = _mm_xor_si128(Fold(x0, by1), x1);
  x = _mm_xor_si128(Fold(x, by1), x2);
  x = _mm_xor_si128(Fold(x, by1), x3);
  for (; size >= 16; p += 16, size -= 16) x = _mm_xor_si128(Fold(x, by1), Load(p));
  // 128 bits to 96: the first eight bytes times x^96 onto the last eight.
  x = _mm_xor_si128(_mm_clmulepi64_si128(x, by1, 0x10), _mm_srli_si128(x, 8));
  // 96 to 64: the first four bytes times x^64 onto the other eight.
  const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), Pair(k.last64, 0), 0x00),
                    _mm_srli_si128(x, 4));
  // Barrett: q = floor(high half · floor(x^64 / P) / x^32), register =
  // low half of (x + q·P).
  const __m128i barrett = Pair(k.polynomial, k.quotient);
  __m128i q = _mm_and_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10), low32);
  x = _mm_xor_si128(x, _mm_clmulepi64_si128(q, barrett, 0x00));
  crc = static_cast<uint32_t>(_mm_extract_epi32(x, 1));
  return Serial(crc, p, size);
}

bool DetectCarrylessMultiply() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  return (c & bit_PCLMUL) != 0 && (c & bit_SSE4_1) != 0;
}

#else

uint32_t Folded(uint32_t crc, const unsigned char* p, size_t size) { return Serial(crc, p, size); }
bool DetectCarrylessMultiply() { return false; }

#endif

// Large buffers through the table are cut into three lanes of equal length
// that are run side by side, so the table look-ups of one lane overlap the
// others' instead of waiting on them. The lanes are joined by the
// linearity of the register: Update(c, A B) = Update(c, A)·x^(8|B|) ^
// Update(0, B).
constexpr size_t kMinLane = 1024;

uint32_t ByTable(uint32_t crc, const unsigned char* p, size_t size) {
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

// Below this the table is as quick as setting up the folding.
constexpr size_t kMinFolded = 64;

}  // namespace

bool Crc32HasCarrylessMultiply() {
  static const bool has = DetectCarrylessMultiply();
  return has;
}

uint32_t Crc32UpdateByTable(uint32_t crc, const void* data, size_t size) {
  return ByTable(crc, static_cast<const unsigned char*>(data), size);
}

uint32_t Crc32UpdateByFolding(uint32_t crc, const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  return Crc32HasCarrylessMultiply() ? Folded(crc, p, size) : ByTable(crc, p, size);
}

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  if (size >= kMinFolded && Crc32HasCarrylessMultiply()) return Folded(crc, p, size);
  return ByTable(crc, p, size);
}

}  // namespace korvel
