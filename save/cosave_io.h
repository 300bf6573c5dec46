// The co-save beside a game save: gathering the registries into a co-save
// and restoring them from one, through the environment's files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// Values kept across loads.
struct CoSaveState {
  uint32_t save_match = 0;  // of the game save last probed
  bool mismatch_shown = false;
};
CoSaveState& GetCoSaveState();

// Reads the save match value from a game save's header (0xFFFFFFFF when it
// cannot be read).
void ProbeSaveHeader(const std::string& save_name);
// Writes the co-save of a game save that has just been written.
void WriteCoSave(const std::string& save_name);
// Reads the co-save of a game save that has just been loaded; the
// registries have been cleared. Clears the data-reset flag on success.
void ReadCoSave(const std::string& save_name);

// Clears strings (with the temporaries), arrays and name overrides.
void ClearAllObjects();

}  // namespace korvel
