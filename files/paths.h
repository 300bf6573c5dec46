// KorvelTxt: relative paths from scripts, kept below their base folder, and
// the few file operations several commands share. A path that could name
// anything outside its base folder is refused and acts as a missing file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// base folder + sanitized path, when the path is not refused and its fully
// resolved form lies inside the base folder.
std::optional<std::string> ResolveUserPath(std::string_view relative, int32_t root_id);

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
