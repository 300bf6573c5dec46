// The mod commands: a mod's EspID by name, references between load orders,
// and a mod's file name as a string.
#include <string>

#include "core/handlers.h"
#include "mods/esp_registry.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_GetEsp(CommandCall& call) {
  EspRegistry& mods = GetMods();
  if (!call.Text().empty()) {
    call.SetResultInt(mods.EspIdOfName(call.Text()));
  } else if (call.Int(1) != -1) {
    if (std::optional<std::string> name = ResolveSource(call.Int(1)))
      call.SetResultInt(mods.EspIdOfName(*name));
  } else if (call.script_form_id() != 0) {
    call.SetResultInt(call.CallerEspId());
  }
}

void Cmd_ModRefEsp(CommandCall& call) {
  uint32_t form_id = call.FormId(0);
  if (form_id == 0) return;
  int32_t position = GetMods().PositionOfEspId(call.Int(1));
  if (position < 0) {
    call.SetResultRef(form_id);
    return;
  }
  uint32_t index = GetMods().record(position).current_mod_index;
  call.SetResultRef((form_id & 0x00FFFFFFu) | (index << 24));
}

void Cmd_GetRefEsp(CommandCall& call) {
  uint32_t form_id = call.FormId(0);
  if (form_id != 0) call.SetResultInt(GetMods().EspIdOfModIndex(form_id >> 24));
}

void Cmd_EspToString(CommandCall& call) {
  std::string name = GetMods().NameOfEspId(call.Int(1));
  int32_t id = call.Int(0);
  if (IsTemporary(id)) {
    Temporary(id) = name;
    return;
  }
  std::string* target = ResolveTarget(call.script_form_id(), id, call.Int(2));
  if (!target) return;
  if (call.Int(3) != 0)
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  *target = std::move(name);
}

}  // namespace korvel
