#include "hud/screen.h"

namespace korvel {

ScreenSize& GetScreen() {
  static ScreenSize screen;
  return screen;
}

ScreenSize& GetSavedScreen() {
  static ScreenSize screen;
  return screen;
}

float& GetHudScale() {
  static float scale = 1.0f;
  return scale;
}

}  // namespace korvel
