// The hostile-path corpus against real Windows path resolution: every path
// is refused or resolves inside its base folder, and writing through it
// creates nothing outside the user-file root.
//
// Usage: paths_corpus.exe CORPUS   (a sandbox folder is made beside the exe)
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/env_win32.h"
#include "host/global.h"
#include "host/paths.h"

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

std::vector<std::string> Corpus(const char* file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::string decoded;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') {
        decoded += '%';
        ++i;
      } else if (line[i] == '%' && i + 2 < line.size()) {
        decoded += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        decoded += line[i];
      }
    }
    lines.push_back(decoded);
  }
  return lines;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// Every file below folder, with its full path.
void Walk(const std::string& folder, std::vector<std::string>* files) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      Walk(folder + name + "\\", files);
    else
      files->push_back(folder + name);
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: paths_corpus CORPUS\n");
    return 2;
  }
  korvel::Env& env = *korvel::Win32Env();
  korvel::SetEnv(&env);
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string sandbox = korvel::FolderPart(exe) + "paths-sandbox\\";
  korvel::GetFolders() = korvel::MakeFolders(sandbox + "game\\Veldmark.exe", sandbox + "docs",
                                             sandbox + "game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
  const korvel::Folders& f = korvel::GetFolders();
  env.CreateDirectories(f.user_root);
  env.CreateDirectories(f.data);
  // Sentinels outside the user-file root that no path may touch.
  const std::vector<std::string> sentinels = {sandbox + "secret.txt", sandbox + "docs\\secret.txt",
                                              f.game + "secret.txt", f.data + "secret.txt"};
  for (const std::string& s : sentinels) env.WriteFile(s, "sentinel");

  std::vector<std::string> corpus = Corpus(argv[1]);
  Check(corpus.size() >= 100, "the corpus holds at least 100 paths");
  for (const std::string& path : corpus) {
    for (int32_t root : {0, 1, 2}) {
      std::optional<std::string> full = korvel::ResolveUserPath(path, root);
      if (!full) continue;
      char resolved[MAX_PATH * 4];
      DWORD n = GetFullPathNameA(full->c_str(), sizeof resolved, resolved, nullptr);
      std::string base = korvel::BaseFolder(root);
      Check(n > 0 && n < sizeof resolved && Lower(std::string(resolved, n)).rfind(Lower(base), 0) == 0,
            "inside its root: " + path);
    }
    korvel::AppendUserText(path, "x", true);
    korvel::RenameUserFile("kept.txt", path);
    korvel::DeleteUserFile(path);
  }
  std::vector<std::string> files;
  Walk(sandbox, &files);
  for (const std::string& file : files) {
    bool sentinel = false;
    for (const std::string& s : sentinels) sentinel |= Lower(s) == Lower(file);
    if (sentinel) {
      std::string data;
      Check(env.ReadFile(file, &data) && data == "sentinel", "sentinel untouched: " + file);
    } else {
      Check(Lower(file).rfind(Lower(f.user_root), 0) == 0, "created inside the user-file root: " + file);
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
