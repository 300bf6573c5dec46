// Process-wide folder values, the library's constants and the log file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

inline constexpr char kQarnName[] = "Qarn_Tovi_Korvel";
inline constexpr uint32_t kKorvelVersion = 125;
// Exit status of a game process the library ended.
inline constexpr int kHaltExitCode = 1;

struct Folders {
  std::string game;            // folder of the host executable, ends in "\"
  std::string data;            // game + "Data\"
  std::string documents;       // the user's documents folder, ends in "\"
  std::string library_name;    // file-name part of this library's path
  std::string library_folder;  // folder of this library, ends in "\"
  std::string user_root;       // documents + "My Games\Veldmark\Korvel\User Files\"
  std::string log_file;        // library folder + "Qarn_Tovi_Korvel.log"
};

Folders& GetFolders();

// Derives every folder value from the three paths the operating system
// gives: the host executable, the documents folder (may be empty) and this
// library's own file.
Folders MakeFolders(std::string_view exe_path, std::string_view documents,
                    std::string_view library_path);

// Folder part of a path including its trailing "\", and the file-name part.
std::string FolderPart(std::string_view path);
std::string FileNamePart(std::string_view path);

// The log: plain lines ended by CR LF. Each call opens the file, writes its
// lines and closes it again; write errors are ignored.
void LogCreate(const std::vector<std::string>& lines);
void LogAppend(const std::vector<std::string>& lines);

// One line of the command list: name padded to 19 columns, help text padded
// to 70, the opcode as "XXXXh", two spaces and the opcode in decimal.
std::string CommandLogLine(std::string_view name, std::string_view help, uint16_t opcode);

}  // namespace korvel
