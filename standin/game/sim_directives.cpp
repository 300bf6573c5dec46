// The directives of a sim script: every line whose first word is one of
// the names in kDirectives. A new directive is one function here and one
// row in the table.
#include <windows.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "game/frame_lines.h"
#include "game/host.h"
#include "game/memory.h"
#include "game/saves.h"
#include "game/sim_interpreter.h"
#include "game/world.h"

namespace standin {

namespace abi = korvel::abi;

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

bool As(Interpreter& in, const std::vector<Token>& t, std::string* why) {
  if (t.size() < 2 || (t.size() != 2 && t.size() != 4)) {
    *why = "usage: as MOD [on #XXXXXXXX] | as none";
    return false;
  }
  uint32_t script_form_id = 0;
  if (!IsWord(t[1], "none")) {
    const auto& mods = GetWorld().mods;
    size_t index = mods.size();
    for (size_t i = 0; i < mods.size(); ++i)
      if (_stricmp(mods[i].c_str(), t[1].text.c_str()) == 0) index = i;
    if (index == mods.size()) {
      *why = "no active mod " + t[1].text;
      return false;
    }
    script_form_id = (static_cast<uint32_t>(index) << 24) | 0x00000D01;
  }
  Form* calling_ref = nullptr;
  if (t.size() == 4) {
    if (!IsWord(t[2], "on") || t[3].kind != Token::kForm) {
      *why = "usage: as MOD [on #XXXXXXXX]";
      return false;
    }
    calling_ref = GetWorld().Lookup(t[3].form_id);
    if (!calling_ref) {
      *why = "no form #" + t[3].text;
      return false;
    }
  }
  in.SetCaller(script_form_id, calling_ref);
  return true;
}

bool Set(Interpreter& in, const std::vector<Token>& t, std::string* why) {
  if (t.size() < 4 || t[1].kind != Token::kWord || !IsWord(t[2], "to")) {
    *why = "usage: set NAME to COMMAND ARGS... | set NAME to NUMBER";
    return false;
  }
  double result;
  if (!in.Evaluate(t, 3, true, &result, why)) return false;
  in.SetVariable(t[1].text, result);
  return true;
}

// print and printhex: a command's result, a number or a variable.
bool Print(Interpreter& in, const std::vector<Token>& t, std::string* why) {
  if (t.size() < 2) {
    *why = "usage: print COMMAND ARGS... | print NAME";
    return false;
  }
  double result;
  if (!in.Evaluate(t, 1, false, &result, why)) return false;
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

bool PrintStr(Interpreter& in, const std::vector<Token>& t, std::string* why) {
  double id;
  if (t.size() != 2 || !in.Value(t[1], &id, why)) {
    if (why->empty()) *why = "usage: printstr ID";
    return false;
  }
  using ExtGetString = const char*(__cdecl*)(int32_t, int32_t*);
  ExtGetString get = nullptr;
  // Korvel's ExtGetString, not the sibling Nyxa's of another shape: only
  // Korvel exports ExtCreateString beside it.
  for (const LoadedPlugin& p : GetHost().plugins()) {
    if (!GetProcAddress(p.module, "ExtCreateString")) continue;
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

bool PrintName(Interpreter&, const std::vector<Token>& t, std::string* why) {
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

// save, load, peek and delete: the game's own traffic on a save.
bool SaveTraffic(Interpreter&, const std::vector<Token>& t, std::string* why) {
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

bool Rename(Interpreter&, const std::vector<Token>& t, std::string* why) {
  if (t.size() != 3 || t[1].kind == Token::kForm || t[2].kind == Token::kForm) {
    *why = "usage: rename OLD NEW";
    return false;
  }
  if (!RenameSave(t[1].text, t[2].text))
    World::Print("game: cannot rename " + t[1].text + " to " + t[2].text);
  return true;
}

bool Reset(Interpreter&, const std::vector<Token>& t, std::string* why) {
  if (t.size() != 1) {
    *why = "usage: reset";
    return false;
  }
  ResetPoint();
  return true;
}

bool Opcodes(Interpreter&, const std::vector<Token>&, std::string*) {
  for (const auto& [opcode, record] : GetHost().opcodes()) {
    char head[16];
    std::snprintf(head, sizeof head, "%04X ", opcode);
    World::Print(head + std::string(record->long_name) +
                 (record->short_name[0] ? std::string(" ") + record->short_name : ""));
  }
  return true;
}

bool Squeeze(Interpreter& in, const std::vector<Token>& t, std::string* why) {
  double mib = -1;
  if (t.size() != 2 || t[1].kind != Token::kNumber || !in.Value(t[1], &mib, why) || mib < 0 ||
      mib > 1024 || mib != std::floor(mib)) {
    *why = "usage: squeeze MIB (0 to 1024)";
    return false;
  }
  World::Print("game: " + std::to_string(SqueezeAddressSpace(static_cast<size_t>(mib))) +
               " MiB of address space left");
  return true;
}

// What the game or editor does when it compiles a line calling the
// command: it hands the line to the command's parse routine.
bool Parse(Interpreter&, const std::vector<Token>& t, std::string* why) {
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

// frame, screenshot, reset-device, engine-state, frame-stats: the
// Direct3D frame (frame_lines.cpp).
bool Frame(Interpreter&, const std::vector<Token>& t, std::string* why) {
  return RunFrameLine(t, why);
}

bool Echo(Interpreter&, const std::vector<Token>& t, std::string*) {
  World::Print(t.size() > 1 ? t[1].text : "");
  return true;
}

bool Keyboard(Interpreter&, const std::vector<Token>& t, std::string* why) {
  if (t.size() != 2 || t[1].kind != Token::kWord ||
      !SetKeyboardLayout(IsWord(t[1], "us") ? 0 : IsWord(t[1], "de") ? 1 : 2)) {
    *why = "usage: keyboard us|de";
    return false;
  }
  return true;
}

// locale "NAME": the C runtime the game shares with its plug-ins
// (msvcrt.dll) switches to that locale, as any module of the game may do
// at any time. Reached through msvcrt.dll's own exports, so that it is
// that runtime's state that changes; the line then prints how the runtime
// writes 1.5 in it ("1,5" in a German locale).
bool Locale(Interpreter&, const std::vector<Token>& t, std::string* why) {
  if (t.size() != 2 || t[1].kind != Token::kText) {
    *why = "usage: locale \"NAME\"";
    return false;
  }
  using SetLocaleFn = char*(__cdecl*)(int, const char*);
  using SprintfFn = int(__cdecl*)(char*, const char*, ...);
  HMODULE runtime = GetModuleHandleA("msvcrt.dll");
  auto set_locale = runtime ? reinterpret_cast<SetLocaleFn>(reinterpret_cast<void*>(
                                  GetProcAddress(runtime, "setlocale")))
                            : nullptr;
  auto print = runtime ? reinterpret_cast<SprintfFn>(
                             reinterpret_cast<void*>(GetProcAddress(runtime, "sprintf")))
                       : nullptr;
  if (!set_locale || !print) {
    *why = "msvcrt.dll with setlocale and sprintf is not loaded";
    return false;
  }
  const char* taken = set_locale(LC_ALL, t[1].text.c_str());
  if (!taken) {
    *why = "the C runtime does not know the locale " + t[1].text;
    return false;
  }
  std::string name = taken;
  char sample[64];
  print(sample, "%g", 1.5);
  World::Print("game: locale " + name + ", 1.5 prints as " + sample);
  return true;
}

struct Directive {
  const char* name;
  DirectiveFn run;
};

const Directive kDirectives[] = {
    {"as", &As},
    {"set", &Set},
    {"print", &Print},
    {"printhex", &Print},
    {"printstr", &PrintStr},
    {"printname", &PrintName},
    {"save", &SaveTraffic},
    {"load", &SaveTraffic},
    {"peek", &SaveTraffic},
    {"delete", &SaveTraffic},
    {"rename", &Rename},
    {"reset", &Reset},
    {"opcodes", &Opcodes},
    {"squeeze", &Squeeze},
    {"parse", &Parse},
    {"echo", &Echo},
    {"keyboard", &Keyboard},
    {"locale", &Locale},
    {"frame", &Frame},
    {"screenshot", &Frame},
    {"reset-device", &Frame},
    {"engine-state", &Frame},
    {"frame-stats", &Frame},
};

}  // namespace

DirectiveFn FindDirective(const Token& first) {
  for (const Directive& d : kDirectives)
    if (IsWord(first, d.name)) return d.run;
  return nullptr;
}

}  // namespace standin
