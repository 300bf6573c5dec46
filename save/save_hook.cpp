#include "save/save_hook.h"

#include "base/env.h"
#include "save/cosave_io.h"
#include "save/cosave_registries.h"
#include "save/save_header_probe.h"

namespace korvel {

std::string ExtensionOf(std::string_view name) {
  size_t dot = name.find_last_of('.');
  size_t separator = name.find_last_of("\\:");
  if (dot == std::string_view::npos ||
      (separator != std::string_view::npos && dot < separator))
    return std::string();
  std::string extension(name.substr(dot));
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return extension;
}

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
  size_t length = name.size() - ExtensionOf(name).size();
  return std::string(name.substr(0, length)) + std::string(extension);
}

std::string CoSaveNameOf(std::string_view save_name) {
  return ReplaceExtension(save_name, ".korvel");
}

SaveTraffic& GetSaveTraffic() {
  static SaveTraffic traffic;
  return traffic;
}

OpenKind SaveTraffic::BeforeOpen(std::string_view name, uint32_t access) {
  if (ExtensionOf(name) != ".ess") return OpenKind::kOther;
  if (access == kGenericRead) {
    load_name_ = std::string(name);
    ProbeSaveHeader(load_name_);
    return OpenKind::kLoad;
  }
  if (access == (kGenericRead | kGenericWrite)) {
    if (!write_armed_) return OpenKind::kOther;
    save_name_ = std::string(name);
    return OpenKind::kSave;
  }
  write_armed_ = access == kGenericWrite;
  return OpenKind::kOther;
}

void SaveTraffic::AfterOpen(OpenKind kind, std::string_view, uintptr_t handle) {
  // A failed open returns an invalid handle, which is never closed as a save.
  bool valid = handle != 0 && handle != static_cast<uintptr_t>(-1);
  if (kind == OpenKind::kLoad) load_handle_ = valid ? handle : 0;
  if (kind == OpenKind::kSave) save_handle_ = valid ? handle : 0;
}

void OnSaveRenamed(std::string_view existing, std::string_view renamed) {
  std::string extension = ExtensionOf(existing);
  // A save put back under an ".ess" name gets the co-save name a load of
  // it looks for (X.bak -> X.ess carries X.bak.korvel to X.korvel, not
  // X.ess.korvel, which nothing would ever read).
  std::string target = ExtensionOf(renamed) == ".ess" ? CoSaveNameOf(renamed)
                                                       : std::string(renamed) + ".korvel";
  Env& env = GetEnv();
  if (extension == ".ess")
    env.RenameFile(CoSaveNameOf(existing), target);
  else if (extension == ".bak")
    env.RenameFile(std::string(existing) + ".korvel", target);
}

void OnSaveDeleted(std::string_view name) {
  std::string extension = ExtensionOf(name);
  Env& env = GetEnv();
  if (extension == ".ess")
    env.RemoveFile(CoSaveNameOf(name));
  else if (extension == ".bak")
    env.RemoveFile(std::string(name) + ".korvel");
}

}  // namespace korvel
