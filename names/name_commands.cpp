// The name commands: fixed names with their undo, and names read or set
// without being recorded.
#include <optional>
#include <string>

#include "base/engine.h"
#include "core/handlers.h"
#include "objects/string_store.h"
#include "names/names.h"

namespace korvel {
namespace {

void Fix(CommandCall& call, int32_t string_id, void* base) {
  std::optional<std::string> text = ResolveSource(string_id);
  if (text) GetNames().SetOverride(call.calling_ref(), base, *text);
}

void SetUnrecorded(CommandCall& call, int32_t string_id, void* base) {
  std::optional<std::string> text = ResolveSource(string_id);
  if (text) GetEngine().SetName(call.calling_ref(), base, *text);
}

void GetInto(CommandCall& call, int32_t target, int32_t global, void* base) {
  std::string name = GetEngine().GetName(call.calling_ref(), base);
  if (std::string* s = ResolveTarget(call.script_form_id(), target, global)) *s = std::move(name);
}

void* ObjectOrCaller(CommandCall& call, void* object) { return object ? object : call.calling_ref(); }

}  // namespace

void Cmd_FixName(CommandCall& call) { Fix(call, call.Int(1), call.Form(0)); }
void Cmd_FixNameEx(CommandCall& call) { Fix(call, call.Int(0), call.Form(1)); }
void Cmd_ResetName(CommandCall& call) { GetNames().ResetOverride(ObjectOrCaller(call, call.Form(0))); }
void Cmd_HasFixedName(CommandCall& call) {
  call.SetResultInt(GetNames().HasOverride(ObjectOrCaller(call, call.Form(0))) ? 1 : 0);
}
void Cmd_StringSetName(CommandCall& call) { SetUnrecorded(call, call.Int(1), call.Form(0)); }
void Cmd_StringSetNameEx(CommandCall& call) { SetUnrecorded(call, call.Int(0), call.Form(1)); }
void Cmd_StringGetName(CommandCall& call) { GetInto(call, call.Int(1), call.Int(2), call.Form(0)); }
void Cmd_StringGetNameEx(CommandCall& call) { GetInto(call, call.Int(0), call.Int(1), call.Form(2)); }

// Reserved maintenance command. Sub-command 1 replaces the ending of the
// fixed names of a form (Arg 1) or of the forms whose base it is: Arg 2 is
// the old ending, Arg 3 the new one.
void Cmd_KrvlSpcl(CommandCall& call) {
  uint32_t target = static_cast<uint32_t>(call.Int(1));
  if (call.Int(0) != 1 || target == 0) return;
  std::optional<std::string> old_end = ResolveSource(call.Int(2));
  std::optional<std::string> new_end = ResolveSource(call.Int(3));
  if (!old_end || !new_end) return;
  Engine& engine = GetEngine();
  for (const auto& record : GetNames().records()) {
    void* form = engine.LookupForm(record->FormID);
    // A record whose form no longer exists is left as it is.
    if (!form) continue;
    if (record->FormID != target && engine.FormId(engine.GetBaseObject(form)) != target) continue;
    const std::string& name = record->Name;
    if (name.size() < old_end->size() ||
        name.compare(name.size() - old_end->size(), old_end->size(), *old_end) != 0)
      continue;
    std::string renamed = name.substr(0, name.size() - old_end->size()) + *new_end;
    engine.SetName(form, form, renamed);
    record->Name = renamed;
  }
}

}  // namespace korvel
