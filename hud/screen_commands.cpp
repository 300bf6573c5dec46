// ScreenInfo: the screen now and as the co-save last read stored it.
#include "core/command_args.h"
#include "core/handlers.h"
#include "hud/screen.h"

namespace korvel {

void Cmd_ScreenInfo(CommandCall& call) {
  switch (ScreenInfoArgs(call).InfoType()) {
    case 0: call.SetResultInt(GetScreen().width); break;
    case 1: call.SetResultInt(GetScreen().height); break;
    case 2: call.SetResultInt(GetSavedScreen().width); break;
    case 3: call.SetResultInt(GetSavedScreen().height); break;
    default: call.SetResultInt(0); break;
  }
}

}  // namespace korvel
