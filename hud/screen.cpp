#include "hud/screen.h"

namespace korvel {

ScreenSize& GetScreen() {
  static ScreenSize screen;
  return screen;
}

}  // namespace korvel
