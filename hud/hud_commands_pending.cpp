// HUD surface and text commands: not built yet. The frame has written each
// command's default result and the command changes nothing; a command leaves
// this file when its behaviour is built.
#include "core/handlers.h"

namespace korvel {

void Cmd_NewHudS(CommandCall&) {}
void Cmd_DelHudS(CommandCall&) {}
void Cmd_HudS_X(CommandCall&) {}
void Cmd_HudS_SclX(CommandCall&) {}
void Cmd_HudS_Show(CommandCall&) {}
void Cmd_HudS_Opac(CommandCall&) {}
void Cmd_HudS_Align(CommandCall&) {}
void Cmd_AutoSclHudS(CommandCall&) {}
void Cmd_HudS_Y(CommandCall&) {}
void Cmd_HudSEsp(CommandCall&) {}
void Cmd_HudSProtect(CommandCall&) {}
void Cmd_HudsInfo(CommandCall&) {}
void Cmd_DelAllHudSs(CommandCall&) {}
void Cmd_HudS_L(CommandCall&) {}
void Cmd_HudS_SclY(CommandCall&) {}
void Cmd_NewHudT(CommandCall&) {}
void Cmd_DelHudT(CommandCall&) {}
void Cmd_HudT_X(CommandCall&) {}
void Cmd_HudT_SclX(CommandCall&) {}
void Cmd_HudT_Show(CommandCall&) {}
void Cmd_HudT_Opac(CommandCall&) {}
void Cmd_HudT_Align(CommandCall&) {}
void Cmd_AutoSclHudT(CommandCall&) {}
void Cmd_HudT_Y(CommandCall&) {}
void Cmd_HudTEsp(CommandCall&) {}
void Cmd_HudTProtect(CommandCall&) {}
void Cmd_HudTInfo(CommandCall&) {}
void Cmd_DelAllHudTs(CommandCall&) {}
void Cmd_HudT_L(CommandCall&) {}
void Cmd_HudT_SclY(CommandCall&) {}
void Cmd_SetHudT(CommandCall&) {}
void Cmd_HudT_Text(CommandCall&) {}
void Cmd_HudS_Tex(CommandCall&) {}

}  // namespace korvel
