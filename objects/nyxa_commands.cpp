// The string exchange with the sibling plug-in Nyxa. Without the sibling
// both commands keep their presets and say nothing.
#include <optional>
#include <string>

#include "base/engine.h"
#include "core/command_args.h"
#include "core/handlers.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_FromNyxa(CommandCall& call) {
  FromNyxaArgs args(call);
  std::string* target = ResolveTarget(call.script_form_id(), args.StringID(), args.Global());
  if (!target) return;
  Engine& engine = GetEngine();
  if (!engine.NyxaAvailable()) return;
  std::optional<std::string> text = engine.NyxaGetString(args.Nyxaid());
  *target = text ? std::move(*text) : std::string();
}

void Cmd_ToNyxa(CommandCall& call) {
  ToNyxaArgs args(call);
  std::optional<std::string> text = ResolveSource(args.StringID());
  if (!text) return;
  Engine& engine = GetEngine();
  if (!engine.NyxaAvailable()) return;
  call.SetResultInt(engine.NyxaSetString(*text, call.script()));
}

}  // namespace korvel
