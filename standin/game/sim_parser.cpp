// Reading a sim script file into tokenized lines.
#include <windows.h>

#include <fstream>

#include "game/sim_script.h"

namespace standin {

bool ParseScript(const std::string& path, std::vector<ScriptLine>* lines, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    ScriptLine parsed{number, {}};
    std::string why;
    // "echo" prints the rest of its line as it stands.
    size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && _strnicmp(line.c_str() + first, "echo", 4) == 0 &&
        (line.size() == first + 4 || line[first + 4] == ' ' || line[first + 4] == '\t')) {
      std::string rest = line.size() > first + 5 ? line.substr(first + 5) : "";
      while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
      parsed.tokens = {{Token::kWord, "echo"}, {Token::kText, rest}};
      lines->push_back(std::move(parsed));
      continue;
    }
    if (!Tokenize(line, &parsed.tokens, &why)) {
      *error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
    if (!parsed.tokens.empty()) lines->push_back(std::move(parsed));
  }
  return true;
}

std::string LineFailure(const ScriptLine& line, const std::string& why) {
  return "line " + std::to_string(line.number) + ": " + why;
}

}  // namespace standin
