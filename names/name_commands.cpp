// The name commands: fixed names with their undo, and names read or set
// without being recorded.
#include <optional>
#include <string>

#include "base/engine.h"
#include "core/command_args.h"
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

void Cmd_FixName(CommandCall& call) {
  FixNameArgs args(call);
  Fix(call, args.StringID(), args.Reference());
}
void Cmd_FixNameEx(CommandCall& call) {
  FixNameExArgs args(call);
  Fix(call, args.StringID(), args.Reference());
}
void Cmd_ResetName(CommandCall& call) {
  GetNames().ResetOverride(ObjectOrCaller(call, ResetNameArgs(call).Reference()));
}
void Cmd_HasFixedName(CommandCall& call) {
  void* object = ObjectOrCaller(call, HasFixedNameArgs(call).Reference());
  call.SetResultInt(GetNames().HasOverride(object) ? 1 : 0);
}
void Cmd_StringSetName(CommandCall& call) {
  StringSetNameArgs args(call);
  SetUnrecorded(call, args.StringID(), args.Reference());
}
void Cmd_StringSetNameEx(CommandCall& call) {
  StringSetNameExArgs args(call);
  SetUnrecorded(call, args.StringID(), args.Reference());
}
void Cmd_StringGetName(CommandCall& call) {
  StringGetNameArgs args(call);
  GetInto(call, args.StringID(), args.Global(), args.Reference());
}
void Cmd_StringGetNameEx(CommandCall& call) {
  StringGetNameExArgs args(call);
  GetInto(call, args.StringID(), args.Global(), args.Reference());
}

// Reserved maintenance command. Sub-command 1 (Arg 0) replaces the ending
// of the fixed names of a form (Arg 1) or of the forms whose base it is:
// Arg 2 is the old ending, Arg 3 the new one.
void Cmd_KrvlSpcl(CommandCall& call) {
  KrvlSpclArgs args(call);
  uint32_t target = static_cast<uint32_t>(args.Arg1());
  if (args.Arg0() != 1 || target == 0) return;
  std::optional<std::string> old_end = ResolveSource(args.Arg2());
  std::optional<std::string> new_end = ResolveSource(args.Arg3());
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
