// The hostile-path corpus against real Windows path resolution: every path
// is refused or resolves inside its base folder as the corpus says, and
// writing through it creates nothing outside the user-file root.
//
// Usage: paths_corpus.exe CORPUS [USER-FILE-ROOT]
// The user-file root is created when missing; without it a sandbox folder
// beside the program is used. The game and data folders, a sibling folder
// that must stay empty and a few sentinel files are made next to the root.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/env_win32.h"
#include "core/global.h"
#include "files/paths.h"

namespace {

int passed = 0, failed = 0;

void Check(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

// "%HH" decoded to a byte and "%%" to "%".
std::string Decode(const std::string& text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
      decoded += '%';
      ++i;
    } else if (text[i] == '%' && i + 2 < text.size()) {
      decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// A corpus line: the path and, after a tab, what it must become ("*":
// refused or inside; no tab: refused).
struct CorpusLine {
  std::string path;
  bool has_expectation = false;
  std::string expected;
};

std::vector<CorpusLine> Corpus(const char* file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<CorpusLine> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    CorpusLine entry;
    size_t tab = line.find('\t');
    entry.path = Decode(line.substr(0, tab));
    if (tab != std::string::npos) {
      entry.has_expectation = true;
      entry.expected = Decode(line.substr(tab + 1));
    }
    lines.push_back(entry);
  }
  return lines;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return Lower(text).rfind(Lower(prefix), 0) == 0;
}

// A short printable form of a path for failure lines.
std::string Shown(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (out.size() > 120) return out + "...";
    if (c < 0x20 || c >= 0x7F) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Every file and folder below folder (ending in "\"), with its full path
// (folders ending in "\"); depth bounds the descent (0: this folder only).
void Walk(const std::string& folder, int depth, std::set<std::string>* files) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      files->insert(Lower(folder + name + "\\"));
      if (depth > 0) Walk(folder + name + "\\", depth - 1, files);
    } else {
      files->insert(Lower(folder + name));
    }
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

std::string FullPathOf(const std::string& path) {
  char buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// The path's folder names, lower-cased, with "." dropped and ".." taking
// back the name before it: a reading of "inside" that asks the system
// nothing, beside the system's own resolution.
std::vector<std::string> NamesOf(const std::string& path) {
  std::vector<std::string> names;
  std::string name;
  for (char c : path + "\\") {
    if (c != '\\' && c != '/') {
      name += c;
      continue;
    }
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(Lower(name));
    }
    name.clear();
  }
  return names;
}

bool NamesSomethingBelow(const std::string& path, const std::string& base) {
  std::vector<std::string> inner = NamesOf(path), outer = NamesOf(base);
  return inner.size() > outer.size() && std::equal(outer.begin(), outer.end(), inner.begin());
}

// The shared file operations through the real system calls.
void FileOperations(korvel::Env& env, const korvel::Folders& f) {
  const std::string file = f.user_root + "new\\deeper\\file.txt";
  env.RemoveFile(file);
  korvel::AppendUserText("new/deeper/file.txt", "one", true);
  korvel::AppendUserText("new\\deeper\\file.txt", "two", false);
  std::string text;
  Check(env.ReadFile(file, &text) && text == "one\r\ntwo", "append creates folders and appends");
  Check(env.FileSize(file) == 8, "file size after two appends");
  Check(korvel::UserFileExists("..\\new\\deeper\\file.txt", 0), "file exists");
  Check(!korvel::UserFileExists("new\\deeper", 0), "a folder is no file");

  env.RemoveFile(f.user_root + "other.txt");
  env.RemoveFile(f.user_root + "moved.txt");
  korvel::AppendUserText("other.txt", "o", false);
  Check(!korvel::RenameUserFile("other.txt", "new/deeper/file.txt"), "rename onto a file fails");
  Check(env.ReadFile(file, &text) && text == "one\r\ntwo", "rename target kept");
  Check(env.ReadFile(f.user_root + "other.txt", &text) && text == "o", "rename source kept");
  Check(korvel::RenameUserFile("other.txt", "moved.txt"), "rename to a free name");
  Check(korvel::DeleteUserFile("moved.txt") && !korvel::DeleteUserFile("moved.txt"),
        "delete once, then missing");

  std::string deep;
  for (int i = 0; i < 60; ++i) deep += "d\\";
  Check(korvel::EnsureUserFolder(deep) && env.DirectoryExists(f.user_root + deep),
        "ensure folder creates every missing parent");
  Check(korvel::EnsureUserFolder(deep), "ensure folder on an existing folder");
  Check(!korvel::EnsureUserFolder("new\\deeper\\file.txt\\sub"), "no folder below a file");

  // The query's duplicate check: the plug-in inside the data folder.
  Check(korvel::UserFileExists("\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", 1),
        "the plug-in file below the data folder");
  Check(!korvel::UserFileExists("\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", 2),
        "not below the game folder");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: paths_corpus CORPUS [USER-FILE-ROOT]\n");
    return 2;
  }
  korvel::Env& env = *korvel::Win32Env();
  korvel::SetEnv(&env);

  std::string root;
  if (argc == 3) {
    root = FullPathOf(argv[2]);
  } else {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    root = korvel::FolderPart(exe) + "paths-sandbox\\User Files";
  }
  while (!root.empty() && root.back() == '\\') root.pop_back();
  if (root.size() < 4) {
    std::fprintf(stderr, "the user-file root must be a folder below a drive root\n");
    return 2;
  }
  const std::string parent = korvel::FolderPart(root);
  korvel::GetFolders() = korvel::MakeFolders(parent + "game\\Veldmark.exe", parent + "docs",
                                             parent + "game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
  korvel::Folders& f = korvel::GetFolders();
  f.user_root = root + "\\";
  const std::string sibling = parent + "sibling\\";
  for (const std::string& folder : {f.user_root, f.data, sibling})
    Check(env.CreateDirectories(folder), "folder created: " + folder);
  // Sentinels outside the user-file root that no path may touch.
  const std::vector<std::string> sentinels = {parent + "secret.txt", f.game + "secret.txt",
                                              f.data + "secret.txt"};
  for (const std::string& s : sentinels) env.WriteFile(s, "sentinel");
  env.CreateDirectories(f.data + "Qarn\\Plugins");
  env.WriteFile(f.data + "Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", "dll");

  // What exists outside the root before: the sandbox, the top of its drive,
  // the current folder and the program's folder.
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::vector<std::pair<std::string, int>> watched = {
      {parent, 16}, {parent.substr(0, 3), 0}, {std::string(current) + "\\", 0},
      {korvel::FolderPart(exe), 0}};
  std::set<std::string> before;
  for (const auto& [folder, depth] : watched) Walk(folder, depth, &before);

  std::vector<CorpusLine> corpus = Corpus(argv[1]);
  Check(corpus.size() >= 100, "the corpus holds at least 100 paths");
  CorpusLine empty;
  corpus.push_back(empty);  // the empty path: refused
  for (const CorpusLine& line : corpus) {
    for (int32_t root_id : {0, 1, 2}) {
      std::optional<std::string> full = korvel::ResolveUserPath(line.path, root_id);
      const std::string& base = korvel::BaseFolder(root_id);
      const std::string shown = Shown(line.path) + " (RootID " + std::to_string(root_id) + ")";
      if (!line.has_expectation) {
        Check(!full, "refused: " + shown + " -> " + Shown(full.value_or("")));
      } else if (line.expected != "*") {
        Check(full && *full == base + line.expected,
              "rewritten: " + shown + " -> " + Shown(full.value_or("(refused)")));
      }
      if (!full) continue;
      std::string resolved = FullPathOf(*full);
      Check(resolved.size() > base.size() && StartsWith(resolved, base),
            "inside its root: " + shown + " -> " + Shown(resolved));
      Check(NamesSomethingBelow(*full, base),
            "below its root by name: " + shown + " -> " + Shown(*full));
    }
    env.AppendFile(f.user_root + "kept.txt", "");
    korvel::AppendUserText(line.path, "x", true);
    korvel::RenameUserFile("kept.txt", line.path);
    korvel::DeleteUserFile(line.path);
  }

  FileOperations(env, f);

  std::set<std::string> after;
  for (const auto& [folder, depth] : watched) Walk(folder, depth, &after);
  for (const std::string& file : after) {
    if (before.count(file) || StartsWith(file, f.user_root)) continue;
    Check(false, "created outside the user-file root: " + Shown(file));
  }
  std::set<std::string> in_sibling;
  Walk(sibling, 16, &in_sibling);
  Check(in_sibling.empty(), "the sibling folder stays empty");
  for (const std::string& s : sentinels) {
    std::string data;
    Check(env.ReadFile(s, &data) && data == "sentinel", "sentinel untouched: " + s);
  }
  Check(after.count(Lower(f.user_root + "kept.txt")) == 1, "the walk sees the user-file root");

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
