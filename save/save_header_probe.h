// The game save's header holds the save match value a co-save is checked
// against: at 42 a u8 length and its bytes, 2 bytes, a second u8 length and
// its bytes, 4 bytes, then the u32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// The first bytes of a save that always cover the match value.
inline constexpr size_t kSaveHeaderProbeBytes = 42 + 1 + 255 + 2 + 1 + 255 + 4 + 4;

// The save match value in the first bytes of a game save; kUnknownSaveMatch
// when they are too short to hold it.
uint32_t ProbeSaveMatch(std::string_view save_header);

// Reads the save match value from a game save's header into the co-save
// state (kUnknownSaveMatch when it cannot be read).
void ProbeSaveHeader(const std::string& save_name);

}  // namespace korvel
