// The user text file commands: test, rename, delete, append, read whole,
// search, size, and handing a line to the companion's script runner.
// Writing, renaming and deleting stay below the user-file root; testing,
// reading and searching take a RootID, of which only the low 8 bits count.
#include <memory>
#include <optional>
#include <string>

#include "base/engine.h"
#include "base/env.h"
#include "core/command_args.h"
#include "core/handlers.h"
#include "files/file_search.h"
#include "files/paths.h"
#include "objects/string_store.h"

namespace korvel {
namespace {

// No script string grows past this (as in the string commands): a longer
// file is left unread rather than take the game's address space.
constexpr size_t kMaxFileText = 0x4000000;  // 64 MiB

// A script line that runs RunBatString again nests; beyond this depth the
// line is dropped so that a line running itself cannot exhaust the stack.
constexpr int kMaxScriptLineDepth = 8;
int script_line_depth = 0;

int32_t RootOf(int32_t root_id) { return root_id & 0xFF; }

// Writes a found name into a target resolved before the search.
void Found(CommandCall& call, std::string* target, std::string name) {
  bool any = !name.empty();
  *target = std::move(name);
  call.SetResultInt(any ? 1 : 0);
}

}  // namespace

void Cmd_UserFileExists(CommandCall& call) {
  UserFileExistsArgs args(call);
  std::optional<std::string> path = ResolveSource(args.StringID());
  if (path) call.SetResultInt(UserFileExists(*path, RootOf(args.RootID())) ? 1 : 0);
}

void Cmd_RenFile(CommandCall& call) {
  RenFileArgs args(call);
  std::optional<std::string> from = ResolveSource(args.CurrentFilename());
  if (!from) return;
  std::optional<std::string> to = ResolveSource(args.NewFilename());
  if (to) call.SetResultInt(RenameUserFile(*from, *to) ? 1 : 0);
}

void Cmd_DelFile(CommandCall& call) {
  DelFileArgs args(call);
  std::optional<std::string> path = ResolveSource(args.StringID());
  if (path) call.SetResultInt(DeleteUserFile(*path) ? 1 : 0);
}

void Cmd_StringToTxtFile(CommandCall& call) {
  StringToTxtFileArgs args(call);
  std::optional<std::string> path = ResolveSource(args.Filename());
  if (!path) return;
  std::optional<std::string> text = ResolveSource(args.StringID());
  if (text) AppendUserText(*path, *text, args.EOL() != 0);
}

void Cmd_FileToString(CommandCall& call) {
  FileToStringArgs args(call);
  std::optional<std::string> path = ResolveSource(args.Filename());
  if (!path) return;
  std::string* target = ResolveTarget(call.script_form_id(), args.StringID(), args.Global());
  if (!target) return;
  std::optional<std::string> full = ResolveUserPath(*path, RootOf(args.RootID()));
  std::string contents;
  // The bytes as they are, zero bytes and line ends included; a file that
  // cannot be read leaves the target's text as it was.
  if (full && GetEnv().ReadSharedFile(*full, kMaxFileText, &contents)) *target = std::move(contents);
}

void Cmd_FindFirstFile(CommandCall& call) {
  FindFirstFileArgs args(call);
  std::string* target = ResolveTarget(call.script_form_id(), args.FileFound(), args.Global());
  if (!target) return;
  std::optional<std::string> mask = ResolveSource(args.Filemask());
  if (!mask) return;
  std::optional<std::string> full = ResolveUserPath(*mask, RootOf(args.RootID()));
  std::string name;
  if (full) {
    name = StartFileSearch(*full, args.Directories() != 0, RootOf(args.RootID()));
  } else {
    CloseFileSearch();  // a new search always ends the old one
  }
  Found(call, target, std::move(name));
}

void Cmd_FindNextFile(CommandCall& call) {
  FindNextFileArgs args(call);
  std::string* target = ResolveTarget(call.script_form_id(), args.FileFound(), args.Global());
  if (target) Found(call, target, ContinueFileSearch());
}

void Cmd_GetFileSize(CommandCall& call) {
  GetFileSizeArgs args(call);
  std::optional<std::string> path = ResolveSource(args.StringID());
  if (!path) return;
  int32_t root_id = RootOf(args.RootID());
  std::optional<std::string> full = ResolveUserPath(*path, root_id);
  std::optional<uint64_t> size = full ? FirstMatchSize(*full, root_id) : std::nullopt;
  if (!size) return;  // -1: nothing matches
  call.SetResult(*size >= 0x80000000ull ? -2.0 : static_cast<double>(*size));
}

void Cmd_RunBatString(CommandCall& call) {
  RunBatStringArgs args(call);
  std::optional<std::string> text = ResolveSource(args.StringID());
  if (!text || script_line_depth >= kMaxScriptLineDepth) return;
  ++script_line_depth;
  try {
    // Handed on as a zero-terminated string: the text up to its first zero.
    GetEngine().RunScriptLine(std::string(text->c_str()));
  } catch (...) {
    --script_line_depth;
    throw;
  }
  --script_line_depth;
}

}  // namespace korvel
