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

namespace {

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

// Whether path is folder or lies below it, whole components compared and
// letter case ignored: "root2" is not inside "root".
bool WithinFolder(const std::string& path, const std::string& folder, bool equal_allowed) {
  std::string p = WithoutTrailingSeparators(path), f = WithoutTrailingSeparators(folder);
  if (!StartsWithIgnoreCase(p, f)) return false;
  if (p.size() == f.size()) return equal_allowed;
  return f.back() == '\\' || p[f.size()] == '\\';
}

}  // namespace

RealBase::RealBase(int32_t root_id) {
  if (root_id == kRootData || root_id == kRootGame) return;
  Env& env = GetEnv();
  if (!env.FullPath(BaseFolder(root_id), &resolved_base_) || resolved_base_.empty()) {
    // Not even resolvable as text: nothing below it can be reached.
    confined_ = true;
    base_found_ = FinalPathResult::kUnreachable;
    return;
  }
  resolved_base_ = WithoutTrailingSeparators(resolved_base_);
  confined_ = true;
  // "C:" alone would name the drive's current folder, not its top.
  std::string opened = resolved_base_.back() == ':' ? resolved_base_ + '\\' : resolved_base_;
  base_found_ = env.FinalPath(opened, &real_base_);
}

bool RealBase::Holds(const std::string& resolved, bool base_allowed) const {
  if (!confined_) return true;
  Env& env = GetEnv();
  switch (base_found_) {
    case FinalPathResult::kMissing:
      // Nothing lies below a base that does not exist yet; what is created
      // there is created folder by folder and file by file, never through
      // a link.
      return true;
    case FinalPathResult::kUnreachable:
      return false;
    case FinalPathResult::kFound:
    case FinalPathResult::kUnknown:
      break;
  }
  std::string path = WithoutTrailingSeparators(resolved);
  if (!WithinFolder(path, resolved_base_, base_allowed)) return false;
  if (base_found_ == FinalPathResult::kUnknown) {
    // No final paths on this system: every part below the base must be a
    // plain file or folder, no link or junction.
    for (; path.size() > resolved_base_.size(); path.resize(path.find_last_of('\\')))
      if (env.IsLink(path)) return false;
    return true;
  }
  bool is_target = true;
  for (; path.size() > resolved_base_.size(); path.resize(path.find_last_of('\\'))) {
    std::string real;
    switch (env.FinalPath(path, &real)) {
      case FinalPathResult::kFound:
        return WithinFolder(real, real_base_, base_allowed || !is_target);
      case FinalPathResult::kUnreachable:
      case FinalPathResult::kUnknown:
        return false;
      case FinalPathResult::kMissing:
        break;
    }
    is_target = false;
  }
  return true;  // nothing on the way below the base exists
}

namespace {

// base folder + sanitized path, and in *resolved its fully resolved form,
// when that lies below the base folder (or is the base folder itself, when
// base_allowed) and stays there as the file system resolves links.
std::optional<std::string> Resolve(std::string_view relative, int32_t root_id, bool base_allowed,
                                   std::string* resolved) {
  std::string sanitized = Sanitize(relative);
  if (RefusalOf(sanitized)) return std::nullopt;
  const std::string& base = BaseFolder(root_id);
  std::string full = base + sanitized;
  // The last word: the path the system really opens must lie inside the base.
  std::string resolved_base;
  Env& env = GetEnv();
  if (!env.FullPath(full, resolved) || !env.FullPath(base, &resolved_base)) return std::nullopt;
  if (resolved_base.empty() || resolved_base.back() != '\\') resolved_base += '\\';
  std::string with_slash = *resolved;
  if (with_slash.empty() || with_slash.back() != '\\') with_slash += '\\';
  bool is_base = with_slash.size() == resolved_base.size();
  if (with_slash.size() < resolved_base.size() || (is_base && !base_allowed) ||
      !StartsWithIgnoreCase(with_slash, resolved_base))
    return std::nullopt;
  if (!RealBase(root_id).Holds(*resolved, base_allowed)) return std::nullopt;
  return full;
}

}  // namespace

std::optional<std::string> ResolveUserPath(std::string_view relative, int32_t root_id) {
  std::string resolved;
  return Resolve(relative, root_id, false, &resolved);
}

std::string FolderOfSanitized(std::string_view sanitized) {
  size_t cut = sanitized.find_last_of('\\');
  return cut == std::string_view::npos ? std::string() : std::string(sanitized.substr(0, cut));
}

bool UserFileExists(std::string_view relative, int32_t root_id) {
  std::optional<std::string> full = ResolveUserPath(relative, root_id);
  return full && GetEnv().FileExists(*full);
}

bool EnsureUserFolder(std::string_view folder) {
  const std::string& root = BaseFolder(0);
  if (folder.empty()) return GetEnv().CreateDirectories(root);
  // A folder that resolves to the root itself (".") names the root:
  // a file such as ".\fresh.txt" is created directly below it.
  std::string resolved;
  return Resolve(folder, 0, true, &resolved) && GetEnv().CreateDirectories(resolved);
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
  std::string data(text);
  if (line_break) data += "\r\n";
  if (env.FileExists(*full)) {
    env.AppendFile(*full, data);
    return;
  }
  if (!EnsureUserFolder(FolderOfSanitized(Sanitize(relative)))) return;
  // Made as a new file: a name already taken, by a link that leads nowhere
  // for one, makes nothing at all.
  env.CreateNewFile(*full, data);
}

}  // namespace korvel
