// The user-path rules (sanitize, refuse, resolve) and the file operations
// built on them, against arbitrary bytes and root ids. Every path the rules
// hand to the environment is recorded and judged by a check of its own:
// the path is normalised here the way Windows opens it, and must lie
// component by component (letter case ignored) below the base folder the
// operation works in. A path the rules refuse may lead to no change at all,
// and no operation may ask the environment for more than a few things.
//
// Input: byte 0 chooses how the environment answers (file present, folder
// creation succeeding), bytes 1-4 are the root id (little-endian), the rest
// is the relative path; a zero byte in it splits off a second path, the
// target of a rename.
//
// CheckPathRules returns an empty text when every rule held, else what was
// broken; the fuzz target aborts on it, the corpus test reports it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/env.h"
#include "core/global.h"
#include "files/paths.h"

namespace korvel::fuzzing {

// The answers byte and the root id come first; longer inputs teach nothing
// new and only slow the run.
inline constexpr size_t kMinPathInput = 5;
inline constexpr size_t kMaxPathInput = 65536;
// Environment calls one operation may make: a resolve asks for two full
// paths, an append for an existence test, two more full paths, a folder and
// the write; and finding where a path really lies may ask a few questions
// for each folder level of the deepest path handed over, walking up to the
// part that exists. Work bounded by the path, never more.
inline constexpr int kMaxEnvCallsPerOperation = 8;
inline constexpr int kMaxEnvCallsPerFolderLevel = 4;

inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

inline bool IsDeviceBase(std::string name) {
  // The part before the first dot, trailing blanks dropped, names a device
  // in any folder.
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = LowerAscii(c);
  static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"};
  for (const char* d : kDevices)
    if (name == d) return true;
  // COM1..COM9 and LPT1..LPT9, superscript 1, 2 and 3 included: the ports
  // the system's path parser turns into devices. COM0 and LPT0, which its
  // naming guide also lists as reserved, it opens as plain files.
  if (name.size() == 4 && (name.compare(0, 3, "com") == 0 || name.compare(0, 3, "lpt") == 0)) {
    unsigned char digit = static_cast<unsigned char>(name[3]);
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

// The folders a drive-absolute path names, lower case, after the rewriting
// Windows applies when it opens the path. Reads every doubtful component the
// way that would reach furthest out: a component of only dots and blanks
// climbs like "..". Null when the path is no plain drive path (UNC, device,
// drive-relative, relative), or names a stream or a device.
inline std::optional<std::vector<std::string>> OwnNormalisation(std::string_view path) {
  std::string p(path);
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.size() < 3 || !((p[0] | 0x20) >= 'a' && (p[0] | 0x20) <= 'z') || p[1] != ':' || p[2] != '\\')
    return std::nullopt;
  std::vector<std::string> parts = {std::string(1, LowerAscii(p[0])) + ":"};
  size_t at = 3;
  while (at <= p.size()) {
    size_t end = p.find('\\', at);
    if (end == std::string::npos) end = p.size();
    std::string component = p.substr(at, end - at);
    at = end + 1;
    if (component.find(':') != std::string::npos) return std::nullopt;
    for (char c : component)
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    std::string core = component;
    while (!core.empty() && (core.back() == '.' || core.back() == ' ')) core.pop_back();
    if (component.empty() || component == ".") continue;
    if (component == ".." || core.empty()) {
      if (parts.size() > 1) parts.pop_back();
      continue;
    }
    if (IsDeviceBase(core)) return std::nullopt;
    for (char& c : core) c = LowerAscii(c);
    parts.push_back(core);
  }
  return parts;
}

// True when path lies below base (or is base itself, when allowed).
inline bool InsideBase(std::string_view path, std::string_view base, bool base_allowed) {
  auto p = OwnNormalisation(path);
  auto b = OwnNormalisation(base);
  if (!p || !b || p->size() < b->size()) return false;
  for (size_t i = 0; i < b->size(); ++i)
    if ((*p)[i] != (*b)[i]) return false;
  return p->size() > b->size() || base_allowed;
}

// An environment that answers as told, resolves full paths as
// GetFullPathNameA does, and judges and records every path it is handed.
class PathRulesEnv final : public Env {
 public:
  // What an operation may touch: the base folder, and whether it may write.
  void Expect(std::string base, bool base_allowed, bool may_change) {
    base_ = std::move(base);
    base_allowed_ = base_allowed;
    may_change_ = may_change;
    calls_ = 0;
    levels_ = 0;
  }
  int calls() const { return calls_; }
  const std::string& violation() const { return violation_; }
  std::vector<std::string> seen;  // every path handed over, for the record

  bool file_present = false;
  bool folders_succeed = true;

  bool FileExists(const std::string& path) override { return Judge(path, false) && file_present; }
  bool DirectoryExists(const std::string& path) override { return Judge(path, false); }
  bool CreateDirectories(const std::string& path) override {
    return Judge(path, true) && folders_succeed;
  }
  bool ReadFile(const std::string& path, std::string*) override {
    Judge(path, false);
    return false;
  }
  bool WriteFile(const std::string& path, const std::string&) override { return Judge(path, true); }
  bool AppendFile(const std::string& path, const std::string&) override { return Judge(path, true); }
  bool RemoveFile(const std::string& path) override { return Judge(path, true) && file_present; }
  bool RenameFile(const std::string& from, const std::string& to) override {
    bool both = Judge(from, true);
    return Judge(to, true) && both && file_present;
  }
  int64_t FileSize(const std::string& path) override { return Judge(path, false) ? 0 : -1; }
  bool FullPath(const std::string& path, std::string* full) override {
    NoteLevels(path);
    Count();
    return ResolveLikeWindows(path, full);
  }
  LocalTime Now() override { return LocalTime{2026, 1, 1, 0, 0, 0, 0}; }
  char DateSeparator() override { return '/'; }
  char TimeSeparator() override { return ':'; }

  void Fail(const std::string& what) {
    if (violation_.empty()) violation_ = what;
  }

  // GetFullPathNameA on a machine whose current folder is C:\Cwd: "." and
  // ".." collapse (never above the root), a component ending in one dot
  // loses it, the last component loses its trailing dots and blanks;
  // "\\?\" paths stay as they are; UNC and "\\.\" roots are kept.
  static bool ResolveLikeWindows(std::string_view in, std::string* out) {
    std::string p(in);
    if (p.empty()) return false;
    if (p.compare(0, 4, "\\\\?\\") == 0) {
      *out = p;
      return true;
    }
    for (char& c : p)
      if (c == '/') c = '\\';
    std::string root;
    std::string rest;
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
      // \\server\share\ or \\.\device\: the first two components are the root.
      size_t a = p.find('\\', 2);
      size_t b = a == std::string::npos ? std::string::npos : p.find('\\', a + 1);
      root = p.substr(0, b == std::string::npos ? p.size() : b);
      rest = b == std::string::npos ? "" : p.substr(b + 1);
    } else if (p.size() >= 2 && p[1] == ':') {
      root = p.substr(0, 2);
      rest = p.size() >= 3 && p[2] == '\\' ? p.substr(3)
             : LowerAscii(p[0]) == 'c' ? "Cwd\\" + p.substr(2)
                                       : p.substr(2);
    } else if (p[0] == '\\') {
      root = "C:";
      rest = p.substr(1);
    } else {
      root = "C:";
      rest = "Cwd\\" + p;
    }
    bool ends_in_separator = !rest.empty() && rest.back() == '\\';
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= rest.size()) {
      size_t end = rest.find('\\', at);
      if (end == std::string::npos) end = rest.size();
      std::string component = rest.substr(at, end - at);
      bool last = end == rest.size();
      at = end + 1;
      if (component.empty() || component == ".") continue;
      if (component == "..") {
        if (!parts.empty()) parts.pop_back();
        continue;
      }
      if (last && !ends_in_separator) {
        while (!component.empty() && (component.back() == '.' || component.back() == ' '))
          component.pop_back();
      } else if (component.size() >= 2 && component.back() == '.' &&
                 component[component.size() - 2] != '.') {
        component.pop_back();
      }
      if (!component.empty()) parts.push_back(component);
    }
    *out = root;
    for (const std::string& part : parts) *out += "\\" + part;
    if (parts.empty() || ends_in_separator) *out += "\\";
    return true;
  }

 private:
  void Count() {
    const int most = kMaxEnvCallsPerOperation + kMaxEnvCallsPerFolderLevel * levels_;
    if (++calls_ > most)
      Fail("an operation asked the environment more than " + std::to_string(most) + " times");
  }
  void NoteLevels(const std::string& path) {
    levels_ = std::max(levels_, static_cast<int>(std::count(path.begin(), path.end(), '\\')));
  }
  // Records path; false (and a violation) when it lies outside the base or
  // the operation may not change anything.
  bool Judge(const std::string& path, bool changes) {
    NoteLevels(path);
    Count();
    seen.push_back(path);
    if (changes && !may_change_) {
      Fail("a refused path led to a change: " + path);
      return false;
    }
    // Questions about the base folder itself are fine (the rules ask where
    // it really lies); changing it only where the operation may.
    if (!InsideBase(path, base_, changes ? base_allowed_ : true)) {
      Fail("outside " + base_ + ": " + path);
      return false;
    }
    return true;
  }

  std::string base_;
  bool base_allowed_ = false;
  bool may_change_ = false;
  int calls_ = 0;
  int levels_ = 0;  // of the deepest path handed over in this operation
  std::string violation_;
};

inline const Folders& PathRulesFolders() {
  static const Folders folders = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs",
                                             "C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
  return folders;
}

// The base folder a root id names, worked out here rather than asked for.
inline const std::string& ExpectedBase(int32_t root_id) {
  const Folders& f = PathRulesFolders();
  return root_id == 1 ? f.data : root_id == 2 ? f.game : f.user_root;
}

inline std::string CheckPathRules(const uint8_t* data, size_t size) {
  if (size < kMinPathInput || size > kMaxPathInput) return "";
  PathRulesEnv env;
  SetEnv(&env);
  struct Restore {
    ~Restore() { SetEnv(nullptr); }
  } restore;
  GetFolders() = PathRulesFolders();
  env.file_present = data[0] & 1;
  env.folders_succeed = !(data[0] & 2);
  int32_t root_id;
  std::memcpy(&root_id, data + 1, 4);
  std::string_view rest(reinterpret_cast<const char*>(data + 5), size - 5);
  size_t cut = rest.find('\0');
  std::string_view first = rest.substr(0, cut);
  std::string_view second = cut == std::string_view::npos ? first : rest.substr(cut + 1);
  const std::string& user_root = PathRulesFolders().user_root;

  if (BaseFolder(root_id) != ExpectedBase(root_id))
    return "root " + std::to_string(root_id) + " gave the base " + BaseFolder(root_id);

  // Resolving alone: what is accepted lies inside and begins with the base.
  for (int32_t root : {root_id, 0}) {
    env.Expect(ExpectedBase(root), false, false);
    for (std::string_view path : {first, second}) {
      std::optional<std::string> full = ResolveUserPath(path, root);
      if (full && (!InsideBase(*full, ExpectedBase(root), false) ||
                   full->compare(0, ExpectedBase(root).size(), ExpectedBase(root)) != 0))
        env.Fail("accepted outside " + ExpectedBase(root) + ": " + *full);
      if (!env.violation().empty()) return env.violation();
    }
  }
  env.Expect(user_root, false, false);
  const bool first_ok = ResolveUserPath(first, 0).has_value();
  const bool second_ok = ResolveUserPath(second, 0).has_value();

  env.Expect(ExpectedBase(root_id), false, false);
  bool exists = UserFileExists(first, root_id);
  if (exists && !ResolveUserPath(first, root_id)) env.Fail("a refused path exists");

  env.Expect(user_root, false, first_ok);
  if (DeleteUserFile(first) && !first_ok) env.Fail("a refused path was deleted");

  env.Expect(user_root, false, first_ok && second_ok);
  if (RenameUserFile(first, second) && !(first_ok && second_ok))
    env.Fail("a rename with a refused path succeeded");

  env.Expect(user_root, true, first_ok);
  AppendUserText(first, "line", true);

  // Folder creation takes sanitized folders as callers pass them; the root
  // itself is a folder it may make.
  env.Expect(user_root, true, true);
  EnsureUserFolder(FolderOfSanitized(Sanitize(first)));
  if (!env.violation().empty()) return env.violation();

  // The rewriting is finished in one call: a second finds nothing to do.
  std::string once = Sanitize(first);
  if (Sanitize(once) != once) return "sanitizing twice changed " + once;
  return "";
}

}  // namespace korvel::fuzzing
