// Process-wide flags shared between the query, the save/load handlers and
// the HUD.
#pragma once

namespace korvel {

struct ProcessFlags {
  bool hud_variant = false;    // set by the query for "Qarn_Tovi_Korvel_HUD.dll"
  bool data_reset = false;     // set by the event callback and the reset point
  bool hud_suspended = false;  // set by the reset point, cleared by the event callback
};

ProcessFlags& GetFlags();

}  // namespace korvel
