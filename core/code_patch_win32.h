// The one place that writes into the game's code and import table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel {

// x86 encodings written at patch sites.
inline constexpr uint8_t kOpNop = 0x90;         // 90: NOP
inline constexpr uint8_t kOpCallRel32 = 0xE8;   // E8 xxxxxxxx: CALL rel32
inline constexpr uint8_t kOpGroup5 = 0xFF;      // FF 25 xxxxxxxx: JMP [abs32] (i386),
inline constexpr uint8_t kModRmJmpAbs = 0x25;   //   JMP [RIP+disp32] (x86-64)

// Makes the 4 bytes at address writable, stores value and restores the old
// protection. When the first protection change fails nothing is written
// and the result is false.
bool Patch4(void* address, uint32_t value);

// Replaces a pointer-sized import-table slot (4 bytes on i386, 8 on
// x86-64) in one write; false and nothing written when the slot cannot be
// made writable.
bool PatchPointer(void** slot, void* value);

// Writes bytes over a code site of at least 4 bytes with overlapping 4-byte
// patches, after checking that the site holds what the game is expected to
// have there (a 0 in mask skips that byte of expected). Refuses (false,
// nothing written) when the site differs.
bool PatchSite(uint8_t* site, const uint8_t* expected, const uint8_t* mask, const uint8_t* bytes,
               size_t size);

// True when the site holds expected (a 0 in mask skips that byte).
bool SiteMatches(const uint8_t* site, const uint8_t* expected, const uint8_t* mask, size_t size);

// The rel32 operand of a CALL or JMP at from (the instruction's first byte)
// of the given length to target, or of a RIP-relative operand ending at
// from + instruction_length. Only meaningful when FitsRel32 holds.
uint32_t Rel32(const void* from, size_t instruction_length, const void* target);
bool FitsRel32(const void* from, size_t instruction_length, const void* target);

// A target a CALL or JMP rel32 at site can reach that leads to target: the
// target itself when it lies within reach (always on i386), else a jump
// (JMP [RIP+0] with the 64-bit address after it) placed in memory near
// the site. nullptr when no memory within reach can be had: the caller
// must then leave the site alone.
void* ReachableJump(const void* site, void* target);

// A pointer-sized cell holding target, placed where a RIP-relative operand
// at site can reach it (on i386 any address will do). nullptr when none can
// be had.
void** ReachableCell(const void* site, void* target);

}  // namespace korvel
