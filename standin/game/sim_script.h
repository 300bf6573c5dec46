// Sim scripts: a line-based script that sets up the game world and calls
// plug-in commands the way game scripts do (docs/sim.md). The tokenizer
// (sim_tokenizer), the file parser (sim_parser), the world set-up
// (sim_world_setup), the interpreter (sim_interpreter) and its directives
// (sim_directives) each have their own file.
#pragma once

#include <string>
#include <vector>

#include "game/sim_tokenizer.h"

namespace standin {

struct ScriptLine {
  int number;
  std::vector<Token> tokens;
};

// Reads a script file. Lines before the first command line that say
// "mods" or "form" set the world up; the rest run after the game started.
bool ParseScript(const std::string& path, std::vector<ScriptLine>* lines, std::string* error);

// "line N: why".
std::string LineFailure(const ScriptLine& line, const std::string& why);

// Applies "mods" lines (they must come before any other line) and "form"
// lines to the world; false with "line N: ..." on a bad line.
bool SetUpWorld(const std::vector<ScriptLine>& lines, std::string* error);

// Runs the script lines after the game has started. Returns false with
// "line N: ..." when a line is wrong; nothing of a wrong line reaches a
// plug-in. The editor compiles scripts instead of running them: with
// `editor` only the "parse" lines take effect.
bool RunScript(const std::vector<ScriptLine>& lines, bool editor, std::string* error);

// Formats a command result as print shows it: integers without a decimal
// point, other values in the shortest text that reads back to them.
std::string FormatNumber(double value);

}  // namespace standin
