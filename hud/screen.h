// The game's back-buffer size, captured when the game creates its Direct3D
// device (HUD variant); 0 before that and in the plain variant.
#pragma once

#include <cstdint>

namespace korvel {

struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
};

ScreenSize& GetScreen();
// The back-buffer size stored in the co-save last read; 0 before one.
ScreenSize& GetSavedScreen();

// The HUD autoscale factor (1.0 until a co-save with a screen size is read).
float& GetHudScale();

}  // namespace korvel
