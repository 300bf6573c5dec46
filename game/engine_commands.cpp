// Engine commands: ending the game, references as integers, menus and the
// library's own state.
#include <cstdlib>

#include "base/engine.h"
#include "base/flags.h"
#include "core/global.h"
#include "core/command_args.h"
#include "core/handlers.h"

namespace korvel {

void Cmd_Halt(CommandCall&) {
  LogAppend({"Halt function called!"});
  std::exit(kHaltExitCode);
}

void Cmd_RefToLong(CommandCall& call) {
  call.SetResultInt(static_cast<int32_t>(RefToLongArgs(call).ValueFormId()));
}

void Cmd_LongToRef(CommandCall& call) {
  call.SetResultRef(static_cast<uint32_t>(LongToRefArgs(call).Value()));
}

void Cmd_KillMenu(CommandCall& call) {
  uint16_t menu_type = static_cast<uint16_t>(KillMenuArgs(call).MenuType() & 0xFFFF);
  bool closed = GetEngine().CloseMenu(menu_type);
  call.SetResultInt(closed ? 0 : 1);
}

void Cmd_IsKorvelDataReset(CommandCall& call) { call.SetResultInt(GetFlags().data_reset ? 1 : 0); }

void Cmd_IsHUDEnabled(CommandCall& call) { call.SetResultInt(GetFlags().hud_variant ? 1 : 0); }

}  // namespace korvel
