// The co-save file beside a game save: written after the game has written
// the save, read after the game has really loaded it.
#pragma once

#include <cstdint>
#include <string>

namespace korvel {

// Values kept across loads.
struct CoSaveState {
  uint32_t save_match = 0;  // of the game save last probed
  bool mismatch_shown = false;
};
CoSaveState& GetCoSaveState();

// Writes the co-save of a game save that has just been written; on a failed
// write no partial co-save stays and the player is told.
void WriteCoSaveFile(const std::string& save_name);
// Reads the co-save of a game save that has just been loaded; the
// registries have been cleared. Clears the data-reset flag on success and
// tells the player why it failed otherwise.
void ReadCoSaveFile(const std::string& save_name);

}  // namespace korvel
