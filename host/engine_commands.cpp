// Engine and message commands: ending the game, references as integers,
// the screen, menus, messages and message boxes, the library's own state.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "host/flags.h"
#include "host/global.h"
#include "host/handlers.h"
#include "host/engine.h"
#include "save/cosave_io.h"
#include "hud/screen.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_Halt(CommandCall&) {
  LogAppend({"Halt function called!"});
  std::exit(kHaltExitCode);
}

void Cmd_RefToLong(CommandCall& call) {
  call.SetResultInt(static_cast<int32_t>(call.FormId(0)));
}

void Cmd_LongToRef(CommandCall& call) {
  call.SetResultRef(static_cast<uint32_t>(call.Int(0)));
}

void Cmd_ScreenInfo(CommandCall& call) {
  switch (call.Int(0)) {
    case 0: call.SetResultInt(GetScreen().width); break;
    case 1: call.SetResultInt(GetScreen().height); break;
    case 2: call.SetResultInt(GetCoSaveState().saved_screen_width); break;
    case 3: call.SetResultInt(GetCoSaveState().saved_screen_height); break;
    default: call.SetResultInt(0); break;
  }
}

void Cmd_KillMenu(CommandCall& call) {
  bool closed = GetEngine().CloseMenu(static_cast<uint16_t>(call.Int(0) & 0xFFFF));
  call.SetResultInt(closed ? 0 : 1);
}

void Cmd_StringMsg(CommandCall& call) {
  std::optional<std::string> text = ResolveSource(call.Int(0));
  if (!text || text->empty()) return;
  if (call.Int(1) == 0)
    GetEngine().ShowMessage(*text);
  else
    GetEngine().ConsolePrint(*text);
}

void Cmd_StringMsgBox(CommandCall& call) {
  std::vector<std::string> texts;
  for (size_t i = 0; i <= 10; ++i) {
    std::optional<std::string> text = ResolveSource(call.Int(i));
    if (!text) return;
    texts.push_back(std::move(*text));
  }
  Engine& engine = GetEngine();
  void* ref = call.calling_ref();
  bool ref_owns = ref && !(engine.FormFlags(ref) & kFormFlagNotMessageBoxOwner);
  uint32_t owner = ref_owns ? engine.FormId(ref) : call.script_form_id();
  std::vector<std::string> buttons(texts.begin() + 1, texts.end());
  engine.MessageBoxWithButtons(texts[0], owner, buttons);
}

void Cmd_PauseBox(CommandCall& call) {
  std::optional<std::string> text = ResolveSource(call.Int(0));
  if (!text) return;
  GetEngine().NoticeBox(text->empty() ? "PAUSE" : *text, "");
}

void Cmd_IsKorvelDataReset(CommandCall& call) { call.SetResultInt(GetFlags().data_reset ? 1 : 0); }

void Cmd_IsHUDEnabled(CommandCall& call) { call.SetResultInt(GetFlags().hud_variant ? 1 : 0); }

}  // namespace korvel
