// The mod commands: a mod's EspID by name, references between load orders,
// and a mod's file name as a string.
#include <string>

#include "core/command_args.h"
#include "core/handlers.h"
#include "mods/esp_registry.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_GetEsp(CommandCall& call) {
  GetEspArgs args(call);
  EspRegistry& mods = GetMods();
  if (!args.Filename().empty()) {
    call.SetResultInt(mods.EspIdOfName(args.Filename()));
  } else if (args.StringID() != -1) {
    if (std::optional<std::string> name = ResolveSource(args.StringID()))
      call.SetResultInt(mods.EspIdOfName(*name));
  } else if (call.script_form_id() != 0) {
    call.SetResultInt(call.CallerEspId());
  }
}

void Cmd_ModRefEsp(CommandCall& call) {
  ModRefEspArgs args(call);
  uint32_t form_id = args.ValueFormId();
  if (form_id == 0) return;
  int32_t position = GetMods().PositionOfEspId(args.EspID());
  if (position < 0) {
    call.SetResultRef(form_id);
    return;
  }
  uint32_t index = GetMods().record(position).current_mod_index;
  call.SetResultRef((form_id & 0x00FFFFFFu) | (index << 24));
}

void Cmd_GetRefEsp(CommandCall& call) {
  uint32_t form_id = GetRefEspArgs(call).ValueFormId();
  if (form_id != 0) call.SetResultInt(GetMods().EspIdOfModIndex(form_id >> 24));
}

void Cmd_EspToString(CommandCall& call) {
  EspToStringArgs args(call);
  std::string name = GetMods().NameOfEspId(args.EspID());
  int32_t id = args.StringID();
  if (IsTemporary(id)) {
    Temporary(id) = name;
    return;
  }
  std::string* target = ResolveTarget(call.script_form_id(), id, args.Global());
  if (!target) return;
  if (args.LowerCase() != 0)
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  *target = std::move(name);
}

}  // namespace korvel
