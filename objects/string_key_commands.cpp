// Keyboard scan codes to characters and back, through the engine's keyboard
// routine and its key-character table.
#include <optional>
#include <string>

#include "base/engine.h"
#include "core/command_args.h"
#include "core/handlers.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_csc(CommandCall& call) {
  cscArgs args(call);
  if (args.Scancode() < 0 || args.Scancode() > 255) return;
  uint32_t code = GetEngine().ScanCodeToChar(static_cast<uint32_t>(args.Scancode()),
                                             args.CaseUP() != 0);
  call.SetResult(static_cast<double>(code));
  std::string* target = ResolveTarget(call.script_form_id(), args.StringID(), args.Global());
  if (!target) return;
  char character = static_cast<char>(code & 0xFF);
  if (args.Append() != 0)
    *target += character;
  else
    target->assign(1, character);
}

void Cmd_rcsc(CommandCall& call) {
  rcscArgs args(call);
  std::optional<std::string> text = ResolveSource(args.StringID());
  if (!text || args.Position() < 1 || static_cast<size_t>(args.Position()) > text->size()) return;
  uint8_t character = static_cast<uint8_t>((*text)[static_cast<size_t>(args.Position()) - 1]);
  call.SetResultInt(static_cast<int32_t>(GetEngine().CharToScanCode(character)));
}

}  // namespace korvel
