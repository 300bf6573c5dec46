// The one place that writes into the game's code and import table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel {

// x86 encodings written at patch sites.
inline constexpr uint8_t kOpNop = 0x90;         // 90: NOP
inline constexpr uint8_t kOpCallRel32 = 0xE8;   // E8 xxxxxxxx: CALL rel32
inline constexpr uint8_t kOpGroup5 = 0xFF;      // FF 25 xxxxxxxx: JMP [abs32]
inline constexpr uint8_t kModRmJmpAbs = 0x25;

// Makes the 4 bytes at address writable, stores value and restores the old
// protection. When the first protection change fails nothing is written
// and the result is false.
bool Patch4(void* address, uint32_t value);

// Writes bytes over a code site of at least 4 bytes with overlapping 4-byte
// patches, after checking that the site holds what the game is expected to
// have there (a 0 in mask skips that byte of expected). Refuses (false,
// nothing written) when the site differs.
bool PatchSite(uint8_t* site, const uint8_t* expected, const uint8_t* mask, const uint8_t* bytes,
               size_t size);

// The rel32 operand of a CALL or JMP at from (the instruction's first byte)
// of the given length to target.
uint32_t Rel32(const void* from, size_t instruction_length, const void* target);

}  // namespace korvel
