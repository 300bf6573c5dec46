// Messages to the player: the message line or console, message boxes with
// buttons, and the pause box.
#include <optional>
#include <string>
#include <vector>

#include "base/engine.h"
#include "core/command_args.h"
#include "core/handlers.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_StringMsg(CommandCall& call) {
  StringMsgArgs args(call);
  std::optional<std::string> text = ResolveSource(args.StringID());
  if (!text || text->empty()) return;
  if (args.ToConsole() == 0)
    GetEngine().ShowMessage(*text);
  else
    GetEngine().ConsolePrint(*text);
}

void Cmd_StringMsgBox(CommandCall& call) {
  StringMsgBoxArgs args(call);
  std::vector<std::string> texts;
  // The message, then the ten button labels.
  for (size_t i = StringMsgBoxParam::StringID0; i <= StringMsgBoxParam::StringID10; ++i) {
    std::optional<std::string> text = ResolveSource(args.IntAt(i));
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
  std::optional<std::string> text = ResolveSource(PauseBoxArgs(call).StringID());
  if (!text) return;
  GetEngine().NoticeBox(text->empty() ? "PAUSE" : *text, "");
}

}  // namespace korvel
