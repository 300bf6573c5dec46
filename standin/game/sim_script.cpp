#include "game/sim_script.h"

#include <windows.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "game/frame_lines.h"
#include "game/host.h"
#include "game/memory.h"
#include "game/saves.h"
#include "game/world.h"

namespace standin {

namespace abi = korvel::abi;

namespace {

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '-' ||
         c == '+';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseFormId(const std::string& hex, uint32_t* id) {
  if (hex.empty() || hex.size() > 8) return false;
  uint32_t value = 0;
  for (char c : hex) {
    int v = HexValue(c);
    if (v < 0) return false;
    value = value * 16 + static_cast<uint32_t>(v);
  }
  *id = value;
  return true;
}

bool LooksNumeric(const std::string& word) {
  size_t i = (word[0] == '-' || word[0] == '+') ? 1 : 0;
  return i < word.size() && (std::isdigit(static_cast<unsigned char>(word[i])) ||
                             (word[i] == '.' && i + 1 < word.size()));
}

}  // namespace

bool Tokenize(const std::string& line, std::vector<Token>* tokens, std::string* error) {
  tokens->clear();
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == ';') {
      break;  // comment to the end of the line
    } else if (c == '"') {
      std::string text;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d != '\\') {
          text += d;
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case 'n': text += '\n'; break;
          case 'r': text += '\r'; break;
          case 't': text += '\t'; break;
          case '\\': text += '\\'; break;
          case '"': text += '"'; break;
          case 'x': {
            int hi = i < line.size() ? HexValue(line[i]) : -1;
            int lo = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
            if (hi < 0 || lo < 0) {
              *error = "\\x needs two hexadecimal digits";
              return false;
            }
            text += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
          }
          default:
            *error = std::string("unknown escape \\") + e;
            return false;
        }
      }
      if (!closed) {
        *error = "text without closing quote";
        return false;
      }
      tokens->push_back({Token::kText, text});
    } else if (c == '#') {
      size_t start = ++i;
      while (i < line.size() && HexValue(line[i]) >= 0) ++i;
      Token t{Token::kForm, line.substr(start, i - start)};
      if (!ParseFormId(t.text, &t.form_id)) {
        *error = "a form is # and 1 to 8 hexadecimal digits";
        return false;
      }
      tokens->push_back(t);
    } else if (IsWordChar(c)) {
      size_t start = i;
      while (i < line.size() && IsWordChar(line[i])) ++i;
      std::string word = line.substr(start, i - start);
      tokens->push_back({LooksNumeric(word) ? Token::kNumber : Token::kWord, word});
    } else {
      *error = std::string("unexpected character '") + c + "'";
      return false;
    }
  }
  return true;
}

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

namespace {

std::string Fail(const ScriptLine& line, const std::string& why) {
  return "line " + std::to_string(line.number) + ": " + why;
}

bool IsWord(const Token& t, const char* word) {
  return t.kind == Token::kWord && _stricmp(t.text.c_str(), word) == 0;
}

}  // namespace

bool SetUpWorld(const std::vector<ScriptLine>& lines, std::string* error) {
  World& world = GetWorld();
  bool other_seen = false;
  for (const ScriptLine& line : lines) {
    const std::vector<Token>& t = line.tokens;
    if (IsWord(t[0], "mods")) {
      if (other_seen) {
        *error = Fail(line, "mods must come before every other line");
        return false;
      }
      if (t.size() < 2 || t.size() > 256) {
        *error = Fail(line, "mods takes 1 to 255 file names");
        return false;
      }
      world.mods.clear();
      for (size_t i = 1; i < t.size(); ++i) {
        if (t[i].kind == Token::kForm) {
          *error = Fail(line, "a mod name is a word or a quoted text");
          return false;
        }
        world.mods.push_back(t[i].text);
      }
      continue;
    }
    other_seen = true;
    if (IsWord(t[0], "form")) {
      if (t.size() < 3 || t[1].kind != Token::kForm || t[2].kind != Token::kText ||
          (t.size() != 3 && !(t.size() == 5 && IsWord(t[3], "base") && t[4].kind == Token::kForm)) ||
          t[1].form_id == 0) {
        *error = Fail(line, "usage: form #XXXXXXXX \"Name\" [base #XXXXXXXX]");
        return false;
      }
      Form* form = world.NewForm(t[1].form_id, t[2].text);
      if (t.size() == 5) {
        form->base = world.Lookup(t[4].form_id);
        if (!form->base) {
          *error = Fail(line, "the base form must be declared first");
          return false;
        }
      }
    }
  }
  return true;
}

std::string FormatNumber(double value) {
  char buffer[64];
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e18) {
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return buffer;
  }
  auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, r.ptr);
}

namespace {

class Interpreter {
 public:
  bool Run(const std::vector<ScriptLine>& lines, bool editor, std::string* error);

 private:
  bool Line(const ScriptLine& line, std::string* why);
  bool Call(const std::vector<Token>& t, size_t first, double* result, std::string* why);
  bool Select(const std::vector<Token>& t, std::string* why);
  bool Value(const Token& t, double* value, std::string* why);
  bool PrintString(const std::vector<Token>& t, std::string* why);
  bool PrintName(const std::vector<Token>& t, std::string* why);

  std::map<std::string, double> vars_;
  Form script_;
  Form* calling_ref_ = nullptr;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool Interpreter::Run(const std::vector<ScriptLine>& lines, bool editor, std::string* error) {
  script_.form_id = 0x00000D01;  // a script of the first mod
  for (const ScriptLine& line : lines) {
    if (IsWord(line.tokens[0], "mods") || IsWord(line.tokens[0], "form")) continue;
    if (editor && !IsWord(line.tokens[0], "parse")) continue;
    std::string why;
    if (!Line(line, &why)) {
      *error = Fail(line, why);
      return false;
    }
  }
  return true;
}

bool Interpreter::Select(const std::vector<Token>& t, std::string* why) {
  if (t.size() < 2 || (t.size() != 2 && t.size() != 4)) {
    *why = "usage: as MOD [on #XXXXXXXX] | as none";
    return false;
  }
  if (IsWord(t[1], "none")) {
    script_.form_id = 0;
  } else {
    const auto& mods = GetWorld().mods;
    size_t index = mods.size();
    for (size_t i = 0; i < mods.size(); ++i)
      if (_stricmp(mods[i].c_str(), t[1].text.c_str()) == 0) index = i;
    if (index == mods.size()) {
      *why = "no active mod " + t[1].text;
      return false;
    }
    script_.form_id = (static_cast<uint32_t>(index) << 24) | 0x00000D01;
  }
  calling_ref_ = nullptr;
  if (t.size() == 4) {
    if (!IsWord(t[2], "on") || t[3].kind != Token::kForm) {
      *why = "usage: as MOD [on #XXXXXXXX]";
      return false;
    }
    calling_ref_ = GetWorld().Lookup(t[3].form_id);
    if (!calling_ref_) {
      *why = "no form #" + t[3].text;
      return false;
    }
  }
  return true;
}

bool Interpreter::Value(const Token& t, double* value, std::string* why) {
  if (t.kind == Token::kNumber) {
    const char* begin = t.text.c_str() + (t.text[0] == '+' ? 1 : 0);
    const char* end = t.text.c_str() + t.text.size();
    auto r = std::from_chars(begin, end, *value);
    if (r.ec != std::errc() || r.ptr != end) {
      *why = "bad number " + t.text;
      return false;
    }
    return true;
  }
  if (t.kind == Token::kWord) {
    auto it = vars_.find(Lower(t.text));
    if (it == vars_.end()) {
      *why = "unknown variable " + t.text;
      return false;
    }
    *value = it->second;
    return true;
  }
  *why = "expected a number or a variable";
  return false;
}

bool Interpreter::Call(const std::vector<Token>& t, size_t first, double* result,
                       std::string* why) {
  if (first >= t.size() || t[first].kind != Token::kWord) {
    *why = "expected a command name";
    return false;
  }
  const abi::CommandRecord* record = GetHost().ByName(t[first].text);
  if (!record) {
    *why = "unknown command " + t[first].text;
    return false;
  }
  size_t given = t.size() - first - 1;
  size_t required = 0;
  for (size_t i = 0; i < record->param_count; ++i)
    if (!record->params[i].optional) required = i + 1;
  if (given > record->param_count || given < required) {
    *why = std::string(record->long_name) + " takes " + std::to_string(required) + " to " +
           std::to_string(record->param_count) + " arguments";
    return false;
  }
  ScriptCall call;
  for (size_t i = 0; i < given; ++i) {
    const Token& tok = t[first + 1 + i];
    const abi::ParamRecord& p = record->params[i];
    ScriptArg arg;
    std::string label = "argument " + std::to_string(i + 1) + " (" + p.display_name + ")";
    if (p.type_code == 0) {
      if (tok.kind != Token::kText) {
        *why = label + " is a quoted text";
        return false;
      }
      arg.kind = ScriptArg::kText;
      arg.text = tok.text;
    } else if (p.type_code == 3 || p.type_code == 4) {
      if (tok.kind == Token::kForm) {
        arg.kind = ScriptArg::kForm;
        arg.form_id = tok.form_id;
        if (!GetWorld().Lookup(tok.form_id)) {
          *why = label + ": no form #" + tok.text;
          return false;
        }
      } else if (tok.kind == Token::kWord) {
        if (!Value(tok, &arg.number, why)) return false;
        arg.kind = ScriptArg::kVariable;
        uint32_t id;
        std::memcpy(&id, &arg.number, 4);
        if (id != 0 && !GetWorld().Lookup(id)) {
          *why = label + ": the variable holds no known form";
          return false;
        }
      } else {
        *why = label + " is a #form or a variable";
        return false;
      }
    } else {
      if (tok.kind == Token::kText || tok.kind == Token::kForm) {
        *why = label + " is a number or a variable";
        return false;
      }
      double v;
      if (!Value(tok, &v, why)) return false;
      arg.kind = ScriptArg::kVariable;
      arg.number = v;
    }
    call.args.push_back(std::move(arg));
  }
  uint32_t offset = 0;
  *result = 0;
  record->execute(record->params, &call, calling_ref_, nullptr, &script_, nullptr, result,
                  &offset);
  return true;
}

bool Interpreter::PrintString(const std::vector<Token>& t, std::string* why) {
  double id;
  if (t.size() != 2 || !Value(t[1], &id, why)) {
    if (why->empty()) *why = "usage: printstr ID";
    return false;
  }
  using ExtGetString = const char*(__cdecl*)(int32_t, int32_t*);
  ExtGetString get = nullptr;
  for (const LoadedPlugin& p : GetHost().plugins()) {
    get = reinterpret_cast<ExtGetString>(
        reinterpret_cast<void*>(GetProcAddress(p.module, "ExtGetString")));
    if (get) break;
  }
  if (!get) {
    *why = "no plug-in exports ExtGetString";
    return false;
  }
  int32_t length = 0;
  const char* text = get(static_cast<int32_t>(id), &length);
  if (!text) {
    World::Print("<none>");
  } else {
    World::Print(std::string(text, static_cast<size_t>(length < 0 ? 0 : length)));
  }
  return true;
}

bool Interpreter::PrintName(const std::vector<Token>& t, std::string* why) {
  if (t.size() != 2 || t[1].kind != Token::kForm) {
    *why = "usage: printname #XXXXXXXX";
    return false;
  }
  Form* form = GetWorld().Lookup(t[1].form_id);
  if (!form) {
    *why = "no form #" + t[1].text;
    return false;
  }
  World::Print(form->name);
  return true;
}

bool Interpreter::Line(const ScriptLine& line, std::string* why) {
  const std::vector<Token>& t = line.tokens;
  if (IsWord(t[0], "as")) return Select(t, why);
  if (IsWord(t[0], "set")) {
    if (t.size() < 4 || t[1].kind != Token::kWord || !IsWord(t[2], "to")) {
      *why = "usage: set NAME to COMMAND ARGS... | set NAME to NUMBER";
      return false;
    }
    double result;
    if (t.size() == 4 && t[3].kind != Token::kWord) {
      if (!Value(t[3], &result, why)) return false;
    } else if (t.size() == 4 && vars_.count(Lower(t[3].text)) && !GetHost().ByName(t[3].text)) {
      result = vars_[Lower(t[3].text)];
    } else if (!Call(t, 3, &result, why)) {
      return false;
    }
    vars_[Lower(t[1].text)] = result;
    return true;
  }
  if (IsWord(t[0], "print") || IsWord(t[0], "printhex")) {
    if (t.size() < 2) {
      *why = "usage: print COMMAND ARGS... | print NAME";
      return false;
    }
    double result;
    if (t.size() == 2 && t[1].kind != Token::kWord) {
      if (!Value(t[1], &result, why)) return false;
    } else if (t.size() == 2 && vars_.count(Lower(t[1].text))) {
      result = vars_[Lower(t[1].text)];
    } else if (!Call(t, 1, &result, why)) {
      return false;
    }
    if (IsWord(t[0], "printhex")) {
      uint32_t low;
      std::memcpy(&low, &result, 4);
      char hex[16];
      std::snprintf(hex, sizeof hex, "%08X", low);
      World::Print(hex);
    } else {
      World::Print(FormatNumber(result));
    }
    return true;
  }
  if (IsWord(t[0], "printstr")) return PrintString(t, why);
  if (IsWord(t[0], "printname")) return PrintName(t, why);
  if (IsWord(t[0], "save") || IsWord(t[0], "load") || IsWord(t[0], "peek") ||
      IsWord(t[0], "delete")) {
    if (t.size() != 2 || t[1].kind == Token::kForm) {
      *why = "usage: " + Lower(t[0].text) + " NAME";
      return false;
    }
    std::string verb = Lower(t[0].text);
    bool ok = verb == "save"   ? SaveGame(t[1].text)
              : verb == "load" ? LoadGame(t[1].text)
              : verb == "peek" ? PeekGame(t[1].text)
                               : DeleteSave(t[1].text);
    if (!ok) World::Print("game: cannot " + verb + " " + t[1].text);
    return true;
  }
  if (IsWord(t[0], "rename")) {
    if (t.size() != 3 || t[1].kind == Token::kForm || t[2].kind == Token::kForm) {
      *why = "usage: rename OLD NEW";
      return false;
    }
    if (!RenameSave(t[1].text, t[2].text))
      World::Print("game: cannot rename " + t[1].text + " to " + t[2].text);
    return true;
  }
  if (IsWord(t[0], "reset")) {
    if (t.size() != 1) {
      *why = "usage: reset";
      return false;
    }
    ResetPoint();
    return true;
  }
  if (IsWord(t[0], "opcodes")) {
    for (const auto& [opcode, record] : GetHost().opcodes()) {
      char head[16];
      std::snprintf(head, sizeof head, "%04X ", opcode);
      World::Print(head + std::string(record->long_name) +
                   (record->short_name[0] ? std::string(" ") + record->short_name : ""));
    }
    return true;
  }
  if (IsWord(t[0], "squeeze")) {
    double mib = -1;
    if (t.size() != 2 || t[1].kind != Token::kNumber || !Value(t[1], &mib, why) || mib < 0 ||
        mib > 1024 || mib != std::floor(mib)) {
      *why = "usage: squeeze MIB (0 to 1024)";
      return false;
    }
    World::Print("game: " + std::to_string(SqueezeAddressSpace(static_cast<size_t>(mib))) +
                 " MiB of address space left");
    return true;
  }
  if (IsWord(t[0], "parse")) {
    // What the game or editor does when it compiles a line calling the
    // command: it hands the line to the command's parse routine.
    const abi::CommandRecord* record = t.size() == 2 ? GetHost().ByName(t[1].text) : nullptr;
    if (!record) {
      *why = "usage: parse COMMAND";
      return false;
    }
    char line_text[64] = "";
    uint8_t script_data[64] = {};
    bool ok = record->parse && record->parse(0, line_text, script_data, nullptr);
    World::Print(std::string("parse result: ") + (ok ? "1" : "0"));
    return true;
  }
  if (IsFrameLine(t)) return RunFrameLine(t, why);
  if (IsWord(t[0], "echo")) {
    World::Print(t.size() > 1 ? t[1].text : "");
    return true;
  }
  double ignored;
  return Call(t, 0, &ignored, why);
}

}  // namespace

bool RunScript(const std::vector<ScriptLine>& lines, bool editor, std::string* error) {
  Interpreter interpreter;
  return interpreter.Run(lines, editor, error);
}

}  // namespace standin
