// The INI commands: one profile-service call per command on base folder +
// sanitized path, nothing kept between calls. Writers and deleters work
// below the user-file root only; readers take a RootID.
#include <optional>
#include <string>
#include <vector>

#include "base/env.h"
#include "core/command_args.h"
#include "core/handlers.h"
#include "files/ini_values.h"
#include "files/paths.h"
#include "objects/string_store.h"

namespace korvel {
namespace {

constexpr size_t kValueCapacity = 2048;   // 2,047 characters and the zero
constexpr size_t kNamesCapacity = 16384;  // one block of section or key names

// Only the low 8 bits of a RootID choose the base folder.
int32_t RootOf(int32_t root_id) { return root_id & 0xFF; }

// The file, section and key a command names, each resolved from its
// StringID; nothing when one names no string.
struct IniPlace {
  std::string file, section, key;
};
std::optional<IniPlace> PlaceOf(int32_t file, int32_t section, int32_t key) {
  std::optional<std::string> f = ResolveSource(file), s, k;
  if (f) s = ResolveSource(section);
  if (s) k = ResolveSource(key);
  if (!k) return std::nullopt;
  return IniPlace{std::move(*f), std::move(*s), std::move(*k)};
}

// The value text, or fallback when the key or the file is missing or the
// path is refused.
std::string ReadValue(const IniPlace& at, const std::string& fallback, int32_t root_id) {
  std::optional<std::string> full = ResolveUserPath(at.file, RootOf(root_id));
  if (!full) return fallback;
  return GetEnv().ProfileString(*full, at.section, at.key, fallback, kValueCapacity);
}

std::vector<std::string> SectionNames(const std::string& file, int32_t root_id) {
  std::optional<std::string> full = ResolveUserPath(file, RootOf(root_id));
  if (!full) return {};
  return GetEnv().ProfileSectionNames(*full, kNamesCapacity);
}

// Creates the file's folder below the user-file root when missing, then
// writes; nothing when the path is refused or the folder cannot be made.
void WriteValue(const IniPlace& at, const std::string& value) {
  std::optional<std::string> full = ResolveUserPath(at.file, 0);
  if (!full || !EnsureUserFolder(FolderOfSanitized(Sanitize(at.file)))) return;
  Env& env = GetEnv();
  // The profile service makes a missing file by opening whatever has its
  // name, following a link that leads nowhere to its far end; so a missing
  // file is made here first, as a new file, and a taken name refuses.
  bool made = false;
  if (!env.FileExists(*full)) {
    if (!env.CreateNewFile(*full, "")) return;
    made = true;
  }
  if (!env.SetProfileString(*full, at.section, at.key, value) && made) env.RemoveFile(*full);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
    char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

void Cmd_IniReadInt(CommandCall& call) {
  IniReadIntArgs args(call);
  std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key());
  if (!at) return;
  std::optional<int32_t> value = ParseIniInt(ReadValue(*at, "", args.RootID()));
  call.SetResultInt(value.value_or(args.DefaultValue()));
}

void Cmd_IniReadFloat(CommandCall& call) {
  IniReadFloatArgs args(call);
  std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key());
  if (!at) return;
  std::optional<double> value = ParseIniFloat(ReadValue(*at, "", args.RootID()));
  call.SetResult(value ? static_cast<double>(static_cast<float>(*value))
                       : static_cast<double>(args.DefaultValue()));
}

void Cmd_IniReadRef(CommandCall& call) {
  IniReadRefArgs args(call);
  std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key());
  if (!at) return;
  uint32_t fallback = args.DefaultValueFormId();
  std::optional<uint32_t> value = ParseIniRef(ReadValue(*at, IniRefText(fallback), args.RootID()));
  call.SetResultRef(value.value_or(fallback));
}

void Cmd_IniReadString(CommandCall& call) {
  IniReadStringArgs args(call);
  std::string* target = ResolveTarget(call.script_form_id(), args.Target(), args.Global());
  if (!target) return;
  std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key());
  if (!at) return;
  std::optional<std::string> fallback = ResolveSource(args.DefaultValue());
  if (!fallback) return;
  std::string text = ReadValue(*at, *fallback, args.RootID());
  // Reading cannot have moved the target: no string was created or destroyed.
  *target = std::move(text);
}

void Cmd_IniWriteInt(CommandCall& call) {
  IniWriteIntArgs args(call);
  if (std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key()))
    WriteValue(*at, IniIntText(args.Value()));
}

void Cmd_IniWriteFloat(CommandCall& call) {
  IniWriteFloatArgs args(call);
  if (std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key()))
    WriteValue(*at, IniFloatText(args.Value()));
}

void Cmd_IniWriteRef(CommandCall& call) {
  IniWriteRefArgs args(call);
  if (std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key()))
    WriteValue(*at, IniRefText(args.ValueFormId()));
}

void Cmd_IniWriteString(CommandCall& call) {
  IniWriteStringArgs args(call);
  std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key());
  if (!at) return;
  if (std::optional<std::string> value = ResolveSource(args.Value())) WriteValue(*at, *value);
}

void Cmd_IniKeyExists(CommandCall& call) {
  IniKeyExistsArgs args(call);
  std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key());
  if (!at) return;
  std::optional<std::string> full = ResolveUserPath(at->file, RootOf(args.RootID()));
  if (!full) return;
  std::vector<std::string> keys = GetEnv().ProfileKeyNames(*full, at->section, kNamesCapacity);
  bool found = at->key.empty() ? !keys.empty() : false;
  for (const std::string& key : keys)
    if (!at->key.empty() && SameIgnoringCase(key, at->key)) found = true;
  call.SetResultInt(found ? 1 : 0);
}

void Cmd_IniDelKey(CommandCall& call) {
  IniDelKeyArgs args(call);
  std::optional<IniPlace> at = PlaceOf(args.Filename(), args.Section(), args.Key());
  if (!at) return;
  std::optional<std::string> full = ResolveUserPath(at->file, 0);
  // Deleting from a missing file would only create an empty one.
  if (!full || !GetEnv().FileExists(*full)) return;
  if (at->key.empty())
    GetEnv().DeleteProfileSection(*full, at->section);
  else
    GetEnv().DeleteProfileKey(*full, at->section, at->key);
}

void Cmd_IniGetNthSection(CommandCall& call) {
  IniGetNthSectionArgs args(call);
  std::string* target = ResolveTarget(call.script_form_id(), args.String(), args.Global());
  if (!target) return;
  std::optional<std::string> file = ResolveSource(args.Filename());
  if (!file) return;
  std::vector<std::string> names = SectionNames(*file, args.RootID());
  int32_t nth = args.Nth();
  *target = nth >= 1 && static_cast<size_t>(nth) <= names.size() ? names[static_cast<size_t>(nth - 1)]
                                                                  : std::string();
}

void Cmd_IniSectionsCount(CommandCall& call) {
  IniSectionsCountArgs args(call);
  std::optional<std::string> file = ResolveSource(args.Filename());
  if (!file) return;
  call.SetResultInt(static_cast<int32_t>(SectionNames(*file, args.RootID()).size()));
}

}  // namespace korvel
