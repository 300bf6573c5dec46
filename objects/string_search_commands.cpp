// The string commands that compare, search, insert, replace and sanitize.
// Sources are read first (copies), so a command whose source and target are
// the same string sees the text as it was before the edit.
#include <optional>
#include <string>

#include "base/env.h"
#include "core/command_args.h"
#include "core/handlers.h"
#include "objects/string_edit.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_StringCmp(CommandCall& call) {
  StringCmpArgs args(call);
  std::optional<std::string> a = ResolveSource(args.StringID1());
  if (!a) return;
  std::optional<std::string> b = ResolveSource(args.StringID2());
  if (!b) return;
  call.SetResultInt(CompareTexts(*a, *b, args.CaseSensitive() != 0));
}

void Cmd_StringPos(CommandCall& call) {
  StringPosArgs args(call);
  if (args.Start() <= 0) return;
  std::optional<std::string> substring = ResolveSource(args.Substring());
  if (!substring) return;
  std::optional<std::string> text = ResolveSource(args.StringID());
  if (!text) return;
  call.SetResultInt(FindPosition(*substring, *text, args.Start(), args.End(),
                                 args.IgnoreCase() != 0, args.FindLast() != 0));
}

void Cmd_StringIns(CommandCall& call) {
  StringInsArgs args(call);
  if (args.Start() < 1 || args.Length() < 0) return;
  std::optional<std::string> substring = ResolveSource(args.Substring());
  if (!substring) return;
  if (std::string* target = ResolveTarget(call.script_form_id(), args.StringID(), args.Global()))
    InsertText(*target, *substring, args.Start(), args.Length());
}

void Cmd_StringRep(CommandCall& call) {
  StringRepArgs args(call);
  if (args.Start() <= 0) return;
  std::optional<std::string> pattern = ResolveSource(args.OrgSubstring());
  if (!pattern) return;
  std::optional<std::string> replacement = ResolveSource(args.NewSubstring());
  if (!replacement) return;
  std::string* target = ResolveTarget(call.script_form_id(), args.StringID(), args.Global());
  if (!target) return;
  uint8_t upper[256];
  if (args.IgnoreCase() != 0) GetEnv().UpperCaseTable(upper);
  // Work on a copy: a refused edit leaves the string as it was.
  std::string edited = *target;
  if (ReplaceInWindow(edited, *pattern, *replacement, args.Start(), args.End(),
                      args.IgnoreCase() != 0 ? upper : nullptr, args.ReplaceAll() != 0))
    *target = std::move(edited);
}

void Cmd_SanString(CommandCall& call) {
  SanStringArgs args(call);
  std::optional<std::string> allowed = ResolveSource(args.SanSet());
  if (!allowed) return;
  if (std::string* target = ResolveTarget(call.script_form_id(), args.Target(), args.Global()))
    *target = Sanitize(*target, *allowed, args.MaxLength(), args.IgnoreCase() != 0);
}

}  // namespace korvel
