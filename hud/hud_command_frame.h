// What the HUD commands share: the HUD of the HUD variant (in the plain
// variant every HUD command but IsHUDEnabled leaves its preset and touches
// nothing), and the caller as the access rule sees it.
#pragma once

#include <optional>
#include <string>

#include "base/command.h"
#include "base/flags.h"
#include "hud/hud_ops.h"
#include "objects/string_store.h"

namespace korvel {

// Runs fn(hud) in the HUD variant only.
template <class Fn>
void WithHud(Fn&& fn) {
  Hud* hud = GetHud();
  if (hud && GetFlags().hud_variant) fn(*hud);
}

inline HudCaller Caller(const CommandCall& call, int32_t global) {
  return {call.CallerEspId(), global};
}

}  // namespace korvel
