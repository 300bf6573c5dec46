// Sim scripts: a line-based script that sets up the game world and calls
// plug-in commands the way game scripts do (docs/sim.md).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace standin {

struct Token {
  enum Kind { kWord, kNumber, kText, kForm } kind;
  std::string text;  // word, decoded text, or the number as written
  uint32_t form_id = 0;
};

// Splits a line into tokens; false with an error message on bad syntax.
bool Tokenize(const std::string& line, std::vector<Token>* tokens, std::string* error);

struct ScriptLine {
  int number;
  std::vector<Token> tokens;
};

// Reads a script file. Lines before the first command line that say
// "mods" or "form" set the world up; the rest run after the game started.
bool ParseScript(const std::string& path, std::vector<ScriptLine>* lines, std::string* error);

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
