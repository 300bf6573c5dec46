// Double precision for the x87 unit while the calculator works. The game's
// Direct3D 9 device runs the x87 at 24 bits, where 1/3 or 16777217 lose
// digits; scripts expect doubles.
#pragma once

#include <cstdint>

namespace korvel {

#if defined(__i386__) && (defined(__GNUC__) || defined(__clang__))

inline uint16_t ReadX87ControlWord() {
  uint16_t word;
  __asm__ __volatile__("fnstcw %0" : "=m"(word) : : "memory");
  return word;
}

inline void WriteX87ControlWord(uint16_t word) {
  __asm__ __volatile__("fldcw %0" : : "m"(word) : "memory");
}

// x87 control word fields.
constexpr uint16_t kX87ExceptionMasks = 0x003F;  // IM DM ZM OM UM PM
constexpr uint16_t kX87PrecisionField = 0x0300;  // PC
constexpr uint16_t kX87Precision53 = 0x0200;     // PC = 10b: double
constexpr uint16_t kX87RoundingField = 0x0C00;   // RC; 00b: to nearest

// For its lifetime: 53-bit precision, rounding to nearest, every exception
// masked (an overflow in a script's expression must not fault inside the
// game). Afterwards the exception flags raised meanwhile are cleared, so
// that the caller's own masks cannot turn them into a fault later, and the
// caller's control word is loaded again. The work must happen in calls the
// compiler cannot move across the guard: the asm statements clobber memory.
class DoublePrecisionScope {
 public:
  DoublePrecisionScope() : saved_(ReadX87ControlWord()) {
    WriteX87ControlWord(static_cast<uint16_t>(
        (saved_ & ~(kX87PrecisionField | kX87RoundingField)) | kX87Precision53 |
        kX87ExceptionMasks));
  }
  ~DoublePrecisionScope() {
    __asm__ __volatile__("fnclex" : : : "memory");
    WriteX87ControlWord(saved_);
  }
  DoublePrecisionScope(const DoublePrecisionScope&) = delete;
  DoublePrecisionScope& operator=(const DoublePrecisionScope&) = delete;

 private:
  uint16_t saved_;
};

#else

// SSE2 arithmetic, as on x86-64, is double precision already.
class DoublePrecisionScope {
 public:
  DoublePrecisionScope() = default;
  DoublePrecisionScope(const DoublePrecisionScope&) = delete;
  DoublePrecisionScope& operator=(const DoublePrecisionScope&) = delete;
};

#endif

}  // namespace korvel
