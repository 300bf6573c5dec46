#include "core/global.h"

#include <cstdio>

#include "base/env.h"

namespace korvel {

Folders& GetFolders() {
  static Folders folders;
  return folders;
}

std::string FolderPart(std::string_view path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string FileNamePart(std::string_view path) {
  size_t cut = path.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

Folders MakeFolders(std::string_view exe_path, std::string_view documents,
                    std::string_view library_path) {
  Folders f;
  f.game = FolderPart(exe_path);
  f.data = f.game + "Data\\";
  f.documents = std::string(documents);
  if (f.documents.empty() || f.documents.back() != '\\') f.documents += '\\';
  f.library_name = FileNamePart(library_path);
  f.library_folder = FolderPart(library_path);
  f.user_root = f.documents + "My Games\\Veldmark\\Korvel\\User Files\\";
  f.log_file = f.library_folder + kQarnName + ".log";
  return f;
}

namespace {
std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}
}  // namespace

void LogCreate(const std::vector<std::string>& lines) {
  GetEnv().WriteFile(GetFolders().log_file, JoinLines(lines));
}

void LogAppend(const std::vector<std::string>& lines) {
  GetEnv().AppendFile(GetFolders().log_file, JoinLines(lines));
}

std::string CommandLogLine(std::string_view name, std::string_view help, uint16_t opcode) {
  std::string line(name);
  if (line.size() < 19) line.resize(19, ' ');
  std::string help_field(help);
  if (help_field.size() < 70) help_field.resize(70, ' ');
  line += help_field;
  char tail[32];
  std::snprintf(tail, sizeof tail, "%04Xh  %u", static_cast<unsigned>(opcode),
                static_cast<unsigned>(opcode));
  line += tail;
  return line;
}

}  // namespace korvel
