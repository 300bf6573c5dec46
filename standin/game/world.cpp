#include "game/world.h"

#include <windows.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/engine_table_win32.h"

namespace standin {

namespace abi = korvel::abi;

World& GetWorld() {
  static World world;
  return world;
}

Form* World::NewForm(uint32_t form_id, const std::string& name) {
  auto& slot = forms_[form_id];
  if (!slot) slot = std::make_unique<Form>();
  slot->form_id = form_id;
  slot->name = name;
  return slot.get();
}

Form* World::Lookup(uint32_t form_id) {
  if (form_id == 0) return nullptr;
  auto it = forms_.find(form_id);
  return it == forms_.end() ? nullptr : it->second.get();
}

void World::Print(const std::string& text) {
  // One line each: line breaks inside a text are shown as \r and \n.
  std::string line;
  for (char c : text) {
    if (c == '\r') line += "\\r";
    else if (c == '\n') line += "\\n";
    else line += c;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// The longest literal text the engine hands to an extractor.
constexpr size_t kMaxLiteral = 0xFFFF;

bool DecodeArgs(const void* params_ptr, uint32_t, const ScriptCall* call, void** out) {
  auto* params = static_cast<const abi::ParamRecord*>(params_ptr);
  bool ok = true;
  for (size_t i = 0; i < call->args.size(); ++i) {
    const ScriptArg& a = call->args[i];
    uint32_t type = params[i].type_code;
    void* target = out[i];
    double number = a.kind == ScriptArg::kInt ? a.i : a.kind == ScriptArg::kFloat ? a.f : a.number;
    switch (type) {
      case 0: {
        size_t n = std::min(a.text.size(), kMaxLiteral);
        std::memcpy(target, a.text.data(), n);
        static_cast<char*>(target)[n] = '\0';
        break;
      }
      case 1: {
        // The engine truncates toward zero and saturates out-of-range values.
        int32_t v = 0;
        if (std::isnan(number)) v = 0;
        else if (number >= 2147483647.0) v = INT32_MAX;
        else if (number <= -2147483648.0) v = INT32_MIN;
        else v = static_cast<int32_t>(number);
        std::memcpy(target, &v, 4);
        break;
      }
      case 2: {
        float v = static_cast<float>(number);
        std::memcpy(target, &v, 4);
        break;
      }
      default: {
        uint32_t id = a.form_id;
        if (a.kind == ScriptArg::kVariable) std::memcpy(&id, &a.number, 4);
        Form* form = GetWorld().Lookup(id);
        if (!form && id != 0) ok = false;
        std::memcpy(target, &form, sizeof form);
        break;
      }
    }
  }
  return ok;
}

namespace {

bool __cdecl ExtractArgs(abi::ParamRecord* params, void* script_data, uint32_t*, void*, void*,
                         void*, void* event_list, ...) {
  va_list ap;
  va_start(ap, event_list);
  void* out[23];
  for (void*& p : out) p = va_arg(ap, void*);
  va_end(ap);
  auto* call = static_cast<const ScriptCall*>(script_data);
  return call && DecodeArgs(params, 23, call, out);
}

// The game's and the two editors' parse routines; each says which one ran,
// so a wrong choice shows.
bool __cdecl DefaultParseGame(uint32_t, void*, void*, void*) {
  World::Print("parse: game");
  return true;
}
bool __cdecl DefaultParseEditor10(uint32_t, void*, void*, void*) {
  World::Print("parse: editor 1.0");
  return true;
}
bool __cdecl DefaultParseEditor12(uint32_t, void*, void*, void*) {
  World::Print("parse: editor 1.2");
  return true;
}

void* __cdecl LookupForm(uint32_t form_id) { return GetWorld().Lookup(form_id); }

void __cdecl ShowMessage(const char* text, uint32_t, uint32_t, float) {
  World::Print(std::string("message: ") + text);
}

void __cdecl ConsolePrint(const char* text) { World::Print(std::string("console: ") + text); }

void __cdecl EngineMessageBoxCallback() {}

uint8_t message_box_state = 0;
uint32_t message_box_owner = 0;

bool __cdecl MessageBoxEngine(const char* text, void* callback, uint32_t zero, ...) {
  std::string line = std::string("message box \"\": ") + text;
  (void)callback;
  // Up to ten button labels follow, ended by a null.
  va_list ap;
  va_start(ap, zero);
  for (int i = 0; i < 10; ++i) {
    const char* button = va_arg(ap, const char*);
    if (!button) break;
    if (*button) line += std::string(" [") + button + "]";
  }
  va_end(ap);
  World::Print(line);
  // The plug-in marks a box it owns by setting the state byte; the owner
  // slot then names the form the box belongs to.
  if (message_box_state == 0xFF) {
    char owner[48];
    std::snprintf(owner, sizeof owner, "message box owner: #%08X", message_box_owner);
    World::Print(owner);
    message_box_state = 0;
  }
  return true;
}

bool __cdecl ModeQuery(uint32_t) { return false; }

// Two keyboard layouts, one row of the key-character table each: scan code
// -> character, the lower-case half first, the shifted half at 256 on.
// Row 0 is a US keyboard, row 1 a German one (QWERTZ, umlauts in the game's
// 8-bit code page).
const char kUsLower[] = "\0\0331234567890-=\b\tqwertyuiop[]\n\0asdfghjkl;'`\0\\zxcvbnm,./";
const char kUsUpper[] = "\0\033!@#$%^&*()_+\b\tQWERTYUIOP{}\n\0ASDFGHJKL:\"~\0|ZXCVBNM<>?";
const char kDeLower[] =
    "\0\0331234567890\xDF\xB4\b\tqwertzuiop\xFC+\n\0asdfghjkl\xF6\xE4^\0#yxcvbnm,.-";
const char kDeUpper[] =
    "\0\033!\"\xA7$%&/()=?`\b\tQWERTZUIOP\xDC*\n\0ASDFGHJKL\xD6\xC4\xB0\0'YXCVBNM;:_";

constexpr uint32_t kKeyLayouts = 2;
constexpr uint32_t kKeyRow = 512;
uint8_t key_table[kKeyLayouts * kKeyRow];
uint32_t key_layout = 0;

void FillKeyRow(uint32_t row, const char* lower, size_t lower_size, const char* upper,
                size_t upper_size) {
  uint8_t* r = key_table + row * kKeyRow;
  for (size_t i = 0; i + 1 < lower_size; ++i) r[i] = static_cast<uint8_t>(lower[i]);
  for (size_t i = 0; i + 1 < upper_size; ++i) r[256 + i] = static_cast<uint8_t>(upper[i]);
  r[0x39] = r[256 + 0x39] = ' ';
}

uint32_t __cdecl ScanCodeToChar(uint32_t scan_code, uint32_t upper_case) {
  if (scan_code >= 256) return 0;
  return key_table[key_layout * kKeyRow + scan_code + (upper_case ? 256 : 0)];
}

uint8_t draw_gate = 0, mode_flag = 0, sub_mode_flag = 0;


}  // namespace

bool SetKeyboardLayout(uint32_t layout) {
  if (layout >= kKeyLayouts) return false;
  key_layout = layout;
  return true;
}

void InitEngineTable();

}  // namespace standin

extern "C" {
__declspec(dllexport) korvel::abi::EngineTable VeldmarkEngineTable = {};
}

namespace standin {

void InitEngineTable() {
  FillKeyRow(0, kUsLower, sizeof kUsLower, kUsUpper, sizeof kUsUpper);
  FillKeyRow(1, kDeLower, sizeof kDeLower, kDeUpper, sizeof kDeUpper);
  abi::EngineTable& t = VeldmarkEngineTable;
  t.version = abi::kEngineTableVersion;
  t.size = sizeof(abi::EngineTable);
  t.extract_args = &ExtractArgs;
  t.default_parse_game = &DefaultParseGame;
  t.default_parse_editor_1_0 = &DefaultParseEditor10;
  t.default_parse_editor_1_2 = &DefaultParseEditor12;
  t.lookup_form = &LookupForm;
  t.show_message = &ShowMessage;
  t.console_print = &ConsolePrint;
  t.message_box = &MessageBoxEngine;
  t.message_box_callback = reinterpret_cast<void*>(&EngineMessageBoxCallback);
  t.message_box_state = &message_box_state;
  t.message_box_owner = &message_box_owner;
  t.mode_query = &ModeQuery;
  t.scan_code_to_char = &ScanCodeToChar;
  t.draw_gate = &draw_gate;
  t.mode_flag = &mode_flag;
  t.sub_mode_flag = &sub_mode_flag;
  t.key_char_table = key_table;
  t.key_layout_index = &key_layout;
}

}  // namespace standin
