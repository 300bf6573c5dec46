// The "mods" and "form" lines of a sim script: the world the game starts in.
#include <cstdlib>

#include "game/sim_script.h"
#include "game/world.h"

namespace standin {

bool SetUpWorld(const std::vector<ScriptLine>& lines, std::string* error) {
  World& world = GetWorld();
  bool other_seen = false;
  for (const ScriptLine& line : lines) {
    const std::vector<Token>& t = line.tokens;
    if (IsWord(t[0], "mods")) {
      if (other_seen) {
        *error = LineFailure(line, "mods must come before every other line");
        return false;
      }
      if (t.size() < 2 || t.size() > 256) {
        *error = LineFailure(line, "mods takes 1 to 255 file names");
        return false;
      }
      world.mods.clear();
      for (size_t i = 1; i < t.size(); ++i) {
        if (t[i].kind == Token::kForm) {
          *error = LineFailure(line, "a mod name is a word or a quoted text");
          return false;
        }
        world.mods.push_back(t[i].text);
      }
      continue;
    }
    other_seen = true;
    if (IsWord(t[0], "form")) {
      const char* usage = "usage: form #XXXXXXXX \"Name\" [base #XXXXXXXX] [flags N]";
      if (t.size() < 3 || t[1].kind != Token::kForm || t[2].kind != Token::kText ||
          t[1].form_id == 0 || t.size() % 2 == 0) {
        *error = LineFailure(line, usage);
        return false;
      }
      Form* form = world.NewForm(t[1].form_id, t[2].text);
      for (size_t i = 3; i + 1 < t.size(); i += 2) {
        if (IsWord(t[i], "base") && t[i + 1].kind == Token::kForm) {
          form->base = world.Lookup(t[i + 1].form_id);
          if (!form->base) {
            *error = LineFailure(line, "the base form must be declared first");
            return false;
          }
        } else if (IsWord(t[i], "flags") && t[i + 1].kind == Token::kNumber) {
          form->flags = static_cast<uint32_t>(std::strtoul(t[i + 1].text.c_str(), nullptr, 0));
        } else {
          *error = LineFailure(line, usage);
          return false;
        }
      }
    }
  }
  return true;
}

}  // namespace standin
