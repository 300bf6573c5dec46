// Process-wide flags shared between the query, the save/load handlers and
// the HUD.
#pragma once

namespace korvel {

struct ProcessFlags {
  bool hud_variant = false;    // set by the query for "Qarn_Tovi_Korvel_HUD.dll"
  bool data_reset = true;      // 0 only after a co-save was read to its end
  bool hud_suspended = true;   // set by the reset point, cleared by a load or the event callback
};

ProcessFlags& GetFlags();

}  // namespace korvel
