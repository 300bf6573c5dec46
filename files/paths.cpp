#include "files/paths.h"

#include "base/env.h"
#include "core/global.h"

namespace korvel {
namespace {

constexpr int32_t kRootData = 1;
constexpr int32_t kRootGame = 2;

// One left-to-right pass; the replacement text is not searched again.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::string out;
  size_t at = 0;
  for (size_t found; (found = text.find(from, at)) != std::string::npos; at = found + from.size()) {
    out.append(text, at, found - at);
    out.append(to);
  }
  out.append(text, at, std::string::npos);
  text = std::move(out);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  return true;
}

bool IsDeviceName(std::string_view component) {
  // The name before the first dot, without trailing blanks, as Windows
  // matches device names.
  std::string base(component.substr(0, component.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = Lower(c);
  if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" ||
      base == "conout$" || base == "clock$")
    return true;
  if (base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0)) {
    unsigned char d = static_cast<unsigned char>(base[3]);
    // COM1..COM9, also the superscript digits Windows accepts (0xB9, 0xB2, 0xB3).
    return (d >= '1' && d <= '9') || d == 0xB9 || d == 0xB2 || d == 0xB3;
  }
  return false;
}

}  // namespace

const std::string& BaseFolder(int32_t root_id) {
  const Folders& f = GetFolders();
  if (root_id == kRootData) return f.data;
  if (root_id == kRootGame) return f.game;
  return f.user_root;
}

std::string Sanitize(std::string_view relative) {
  std::string path(relative);
  for (;;) {
    std::string before = path;
    ReplaceAll(path, "/", "\\");
    ReplaceAll(path, "\\..\\", "\\");
    if (path.compare(0, 3, "..\\") == 0) path.erase(0, 3);
    if (path == before) return path;
  }
}

const char* RefusalOf(std::string_view path) {
  if (path.compare(0, 2, "\\\\") == 0) return "UNC or device prefix";
  for (char c : path) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20) return "control character";
    if (c == ':') return "drive or stream";
    if (c == '<' || c == '>' || c == '|' || c == '"') return "reserved character";
  }
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view component = path.substr(start, end - start);
    // "." names the folder it stands in, as an empty component does.
    if (!component.empty() && component != ".") {
      if (component == "..") return "parent reference";
      if (component.back() == '.' || component.back() == ' ') return "ends in a dot or a space";
      if (IsDeviceName(component)) return "device name";
    }
    start = end + 1;
  }
  return nullptr;
}

std::optional<std::string> ResolveUserPath(std::string_view relative, int32_t root_id) {
  std::string sanitized = Sanitize(relative);
  if (RefusalOf(sanitized)) return std::nullopt;
  const std::string& base = BaseFolder(root_id);
  std::string full = base + sanitized;
  // The last word: the path the system really opens must lie inside the base.
  std::string resolved, resolved_base;
  Env& env = GetEnv();
  if (!env.FullPath(full, &resolved) || !env.FullPath(base, &resolved_base)) return std::nullopt;
  if (resolved_base.empty() || resolved_base.back() != '\\') resolved_base += '\\';
  if (resolved.size() <= resolved_base.size() || !StartsWithIgnoreCase(resolved, resolved_base))
    return std::nullopt;
  return full;
}

bool UserFileExists(std::string_view relative, int32_t root_id) {
  std::optional<std::string> full = ResolveUserPath(relative, root_id);
  return full && GetEnv().FileExists(*full);
}

bool EnsureUserFolder(std::string_view folder) {
  const std::string& root = BaseFolder(0);
  if (folder.empty()) return GetEnv().CreateDirectories(root);
  std::optional<std::string> full = ResolveUserPath(folder, 0);
  return full && GetEnv().CreateDirectories(*full);
}

bool DeleteUserFile(std::string_view relative) {
  std::optional<std::string> full = ResolveUserPath(relative, 0);
  return full && GetEnv().RemoveFile(*full);
}

bool RenameUserFile(std::string_view from, std::string_view to) {
  std::optional<std::string> old_path = ResolveUserPath(from, 0);
  std::optional<std::string> new_path = ResolveUserPath(to, 0);
  return old_path && new_path && GetEnv().RenameFile(*old_path, *new_path);
}

void AppendUserText(std::string_view relative, std::string_view text, bool line_break) {
  std::optional<std::string> full = ResolveUserPath(relative, 0);
  if (!full) return;
  Env& env = GetEnv();
  if (!env.FileExists(*full)) {
    std::string sanitized = Sanitize(relative);
    size_t cut = sanitized.find_last_of('\\');
    std::string folder = cut == std::string::npos ? std::string() : sanitized.substr(0, cut);
    if (!EnsureUserFolder(folder)) return;
  }
  std::string data(text);
  if (line_break) data += "\r\n";
  env.AppendFile(*full, data);
}

}  // namespace korvel
