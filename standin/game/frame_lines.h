// The sim lines that drive the stand-in game's Direct3D frame.
#pragma once

#include <string>
#include <vector>

#include "game/sim_script.h"

namespace standin {

bool IsFrameLine(const std::vector<Token>& tokens);
// Runs one; false with a usage message when it is wrong.
bool RunFrameLine(const std::vector<Token>& tokens, std::string* why);
// Whether a script renders (the game then makes its device at start).
bool ScriptDraws(const std::vector<ScriptLine>& lines);

}  // namespace standin
