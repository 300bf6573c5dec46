// KorvelTxt: relative paths from scripts, kept below their base folder, and
// the few file operations several commands share. A path that could name
// anything outside its base folder is refused and acts as a missing file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/env.h"

namespace korvel {

// RootID 1: the data folder; 2: the game folder; anything else: the
// user-file root. Every base folder ends in "\".
const std::string& BaseFolder(int32_t root_id);

// The rewriting: "/" becomes "\", "\..\" becomes "\", a leading "..\" is
// dropped; repeated until nothing changes.
std::string Sanitize(std::string_view relative);

// Why a sanitized path is refused, or null when it is not: parent
// references, drives and streams (":"), UNC and device prefixes, reserved
// device names, components ending in a dot or a space, control and
// redirection characters.
const char* RefusalOf(std::string_view sanitized);

// base folder + sanitized path, when the path is not refused, its fully
// resolved form lies inside the base folder and, below the user-file root,
// links and junctions on its way do not lead out of it (RealBase).
std::optional<std::string> ResolveUserPath(std::string_view relative, int32_t root_id);

// Where a base folder really lies, for telling whether paths below it stay
// inside once the file system follows links and junctions. Only the
// user-file root is held to it, where scripts write: links in the game and
// data folders are the installation's own (mod managers deploy files
// through them), and scripts only read there.
//
// A path is looked at before it is used. Nothing a script does can make a
// link, and whoever can swap one in between already reaches every file the
// user does.
class RealBase {
 public:
  // Looks up where the base folder of root_id lies.
  explicit RealBase(int32_t root_id);
  // Whether resolved (the fully resolved form of a path below the base
  // folder), or when it does not exist the nearest part of it that does,
  // lies inside the base as the file system resolves it. resolved may name
  // the base itself only when base_allowed; a part above it may always.
  bool Holds(const std::string& resolved, bool base_allowed) const;

 private:
  bool confined_ = false;
  std::string resolved_base_;  // without a trailing "\"
  std::string real_base_;
  FinalPathResult base_found_ = FinalPathResult::kMissing;
};

// The folder part of a sanitized path (before its last "\"), empty when
// it has none.
std::string FolderOfSanitized(std::string_view sanitized);

bool UserFileExists(std::string_view relative, int32_t root_id);
// user-file root + folder exists or was created with its parents. The
// folder is used as given (callers pass sanitized paths).
bool EnsureUserFolder(std::string_view folder);
bool DeleteUserFile(std::string_view relative);
// Fails when the target exists.
bool RenameUserFile(std::string_view from, std::string_view to);
// Appends text (and CR LF when line_break) to a file below the user-file
// root, creating it and its folders when missing.
void AppendUserText(std::string_view relative, std::string_view text, bool line_break);

}  // namespace korvel
