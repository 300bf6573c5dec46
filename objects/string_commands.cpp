// The string commands that create, set, measure, join, cut and convert.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "core/command_args.h"
#include "core/handlers.h"
#include "objects/owner_commands.h"
#include "objects/string_convert.h"
#include "objects/string_store.h"

namespace korvel {
namespace {

// No script string grows past this: a longer one would take a large part
// of the game's 32-bit address space.
constexpr size_t kMaxTextLength = 0x4000000;  // 64 MiB

// Writes text into the command's target string, when it is writable.
void WriteTarget(CommandCall& call, int32_t target, int32_t global, std::string text) {
  if (std::string* s = ResolveTarget(call.script_form_id(), target, global)) *s = std::move(text);
}

// Cuts or extends a text to length, filling with code-0 characters; false
// (text unchanged) when the length is beyond the limit or memory is short.
bool SetLength(std::string& text, int32_t length) {
  if (length < 0 || static_cast<size_t>(length) > kMaxTextLength) return false;
  try {
    text.resize(static_cast<size_t>(length), '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

void Cmd_CreateString(CommandCall& call) {
  CreateStringArgs args(call);
  call.SetResultInt(CreateString(args.EspID(), std::string(args.String()), args.Protected() != 0,
                                 args.RefuseZero() != 0));
}

void Cmd_DestroyString(CommandCall& call) {
  DestroyStringArgs args(call);
  int32_t id = args.StringID();
  if (GetStrings().MayAccess(call.script_form_id(), id, args.Global())) GetStrings().Destroy(id);
}

void Cmd_SetString(CommandCall& call) {
  SetStringArgs args(call);
  WriteTarget(call, args.StringID(), args.Global(), std::string(args.String()));
}

void Cmd_StringEsp(CommandCall& call) {
  StringEspArgs args(call);
  OwnerCommand(call, GetStrings(), args.StringID(), args.EspID(), args.Global());
}
void Cmd_StringProtect(CommandCall& call) {
  StringProtectArgs args(call);
  ProtectCommand(call, GetStrings(), args.StringID(), args.Protected());
}

void Cmd_StringLen(CommandCall& call) {
  StringLenArgs args(call);
  int32_t id = args.StringID(), length = args.Length();
  if (IsTemporary(id)) {
    std::string& text = Temporary(id);
    if (length >= 0) SetLength(text, length);
    call.SetResultInt(static_cast<int32_t>(text.size()));
    return;
  }
  if (id < 0 && length < 0) {
    TStringToken token = BuiltInLookup(id);
    if (token.Found) call.SetResultInt(static_cast<int32_t>(token.Text.size()));
    return;
  }
  StringR* s = GetStrings().Get(id);
  if (!s) return;
  if (length >= 0 && GetStrings().MayAccess(call.script_form_id(), id, args.Global()))
    SetLength(s->Text, length);
  call.SetResultInt(static_cast<int32_t>(s->Text.size()));
}

void Cmd_DestroyAllStrings(CommandCall& call) {
  int32_t esp = DestroyAllStringsArgs(call).EspID();
  GetStrings().DestroyAllOfOwner(esp, esp == call.CallerEspId());
}

void Cmd_StringCat(CommandCall& call) {
  StringCatArgs args(call);
  std::string sources;
  for (size_t i = StringCatParam::StringID1; i <= StringCatParam::StringID20; ++i) {
    std::optional<std::string> text = ResolveSource(args.IntAt(i));
    if (!text) return;
    if (sources.size() + text->size() > kMaxTextLength) return;
    sources += *text;
  }
  std::string* target = ResolveTarget(call.script_form_id(), args.StringID0(), args.Global());
  if (!target || target->size() + sources.size() > kMaxTextLength) return;
  target->append(sources);
}

void Cmd_CopyString(CommandCall& call) {
  CopyStringArgs args(call);
  std::optional<std::string> source = ResolveSource(args.Source());
  if (!source) return;
  int64_t position = std::max<int32_t>(args.Position(), 1);
  int64_t length = static_cast<int64_t>(source->size());
  int64_t count = args.Number() < 0 ? length + 1 - position : args.Number();
  std::string part;
  if (position <= length && count > 0)
    part = source->substr(static_cast<size_t>(position - 1), static_cast<size_t>(count));
  WriteTarget(call, args.Target(), args.Global(), std::move(part));
}

void Cmd_IntToString(CommandCall& call) {
  IntToStringArgs args(call);
  WriteTarget(call, args.StringID(), args.Global(), std::to_string(args.Value()));
}

void Cmd_FloatToString(CommandCall& call) {
  FloatToStringArgs args(call);
  WriteTarget(call, args.StringID(), args.Global(), FloatToFixed(args.Value(), args.Digits()));
}

void Cmd_RefToString(CommandCall& call) {
  RefToStringArgs args(call);
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08X", args.ReferenceFormId());
  WriteTarget(call, args.StringID(), args.Global(), hex);
}

void Cmd_StringToRef(CommandCall& call) {
  std::optional<std::string> text = ResolveSource(StringToRefArgs(call).StringID());
  uint32_t form_id;
  if (text && ParseFormIdText(*text, &form_id)) call.SetResultRef(form_id);
}

void Cmd_StringToInt(CommandCall& call) {
  std::optional<std::string> text = ResolveSource(StringToIntArgs(call).StringID());
  int32_t value;
  if (text && ParseInteger(*text, &value)) call.SetResultInt(value);
}

void Cmd_StringToFloat(CommandCall& call) {
  std::optional<std::string> text = ResolveSource(StringToFloatArgs(call).StringID());
  double value;
  if (text && ParseFloat(*text, &value)) call.SetResult(value);
}

}  // namespace korvel
