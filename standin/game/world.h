// The stand-in game's world: forms with display names, the active mods, the
// on-screen output, and the engine operations the plug-in calls through the
// engine pointer table.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace standin {

// Laid out as the game lays out its forms: flags at 0x08, form id at 0x0C.
struct Form {
  uint32_t vtable = 0;
  uint32_t type = 0;
  uint32_t flags = 0;
  uint32_t form_id = 0;
  std::string name;
  Form* base = nullptr;
};
static_assert(offsetof(Form, flags) == 0x08 && offsetof(Form, form_id) == 0x0C);

// One script argument as the compiled script holds it.
struct ScriptArg {
  enum Kind : uint8_t { kInt, kFloat, kText, kForm, kVariable } kind = kInt;
  int32_t i = 0;
  float f = 0;
  double number = 0;  // a variable's value; a reference in its low 4 bytes
  std::string text;
  uint32_t form_id = 0;
};

// The script data handed to a handler: the arguments of one command call.
struct ScriptCall {
  std::vector<ScriptArg> args;
};

class World {
 public:
  Form* NewForm(uint32_t form_id, const std::string& name);
  Form* Lookup(uint32_t form_id);
  std::vector<std::string> mods{"Veldmark.esm"};
  // Every line the engine shows is printed on standard output.
  static void Print(const std::string& line);

 private:
  std::map<uint32_t, std::unique_ptr<Form>> forms_;
};

World& GetWorld();

// Chooses the keyboard layout (0 US, 1 German); false for another number.
bool SetKeyboardLayout(uint32_t layout);

// Fills the engine pointer table exported as "VeldmarkEngineTable".
void InitEngineTable();

// Decodes a call's arguments into the out-pointers by parameter type.
// Returns false when an argument cannot be converted (unknown form).
bool DecodeArgs(const void* params, uint32_t param_count, const ScriptCall* call, void** out);

}  // namespace standin
