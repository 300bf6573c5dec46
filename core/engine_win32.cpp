#include "core/engine_win32.h"

#include <windows.h>

#include <cstring>

#include "core/global.h"

namespace korvel {
namespace {

abi::EngineTable* table = nullptr;
abi::Companion companion = {};
HMODULE companion_module = nullptr;

uint32_t ReadU32(const void* form, uint32_t offset) {
  uint32_t value = 0;
  std::memcpy(&value, static_cast<const unsigned char*>(form) + offset, sizeof value);
  return value;
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// The sibling plug-in's exports. Its ExtGetString differs from this
// library's: it takes only an id.
using NyxaGetStringFn = const char*(__cdecl*)(int32_t nyxa_id);
using NyxaSetStringFn = int32_t(__cdecl*)(const char* text, void* calling_script);

// 0 not tried yet, 1 available, 255 unavailable; never tried twice.
uint8_t nyxa_state = 0;
NyxaGetStringFn nyxa_get = nullptr;
NyxaSetStringFn nyxa_set = nullptr;

bool NyxaFound() {
  if (nyxa_state == 0) {
    // Only a module already loaded from the plug-in folder counts; it is
    // never loaded from here.
    HMODULE nyxa =
        GetModuleHandleA((GetFolders().library_folder + "Nyxa_1_2_0_416.dll").c_str());
    if (nyxa) {
      nyxa_get = reinterpret_cast<NyxaGetStringFn>(
          reinterpret_cast<void*>(GetProcAddress(nyxa, "ExtGetString")));
      nyxa_set = reinterpret_cast<NyxaSetStringFn>(
          reinterpret_cast<void*>(GetProcAddress(nyxa, "ExtSetString")));
    }
    nyxa_state = nyxa && nyxa_get && nyxa_set ? 1 : 255;
  }
  return nyxa_state == 1;
}

class GameEngine final : public Engine {
 public:
  uint32_t FormId(const void* form) override { return form ? ReadU32(form, abi::kFormIdOffset) : 0; }
  uint32_t FormFlags(const void* form) override {
    return form ? ReadU32(form, abi::kFormFlagsOffset) : 0;
  }
  void* LookupForm(uint32_t form_id) override {
    return table && table->lookup_form ? table->lookup_form(form_id) : nullptr;
  }
  void ShowMessage(const std::string& text) override {
    if (table && table->show_message) table->show_message(text.c_str(), 0, 1, 1.0f);
  }
  void ConsolePrint(const std::string& text) override {
    if (table && table->console_print) table->console_print(text.c_str());
  }
  void MessageBoxWithButtons(const std::string& text, uint32_t owner_form_id,
                             const std::vector<std::string>& buttons) override {
    if (!table || !table->message_box) return;
    if (table->message_box_owner) *table->message_box_owner = owner_form_id;
    if (table->message_box_state) *table->message_box_state = 0xFF;
    const char* b[10];
    for (size_t i = 0; i < 10; ++i) b[i] = i < buttons.size() ? buttons[i].c_str() : "";
    table->message_box(text.c_str(), table->message_box_callback, 0, b[0], b[1], b[2], b[3],
                       b[4], b[5], b[6], b[7], b[8], b[9], 0);
  }
  void NoticeBox(const std::string& text, const std::string& button) override {
    if (!table || !table->message_box) return;
    table->message_box(text.c_str(), nullptr, 0, button.empty() ? nullptr : button.c_str(), 0);
  }
  uint32_t ScanCodeToChar(uint32_t scan_code, bool upper_case) override {
    return table && table->scan_code_to_char ? table->scan_code_to_char(scan_code, upper_case)
                                             : 0;
  }
  uint32_t CharToScanCode(uint8_t character) override {
    if (!table || !table->key_char_table || !table->key_layout_index) return 0;
    const uint8_t* row = table->key_char_table + 512u * *table->key_layout_index;
    for (uint32_t i = 0; i < 512; ++i)
      if (row[i] == character) return i;
    return 0;
  }
  uint32_t ActiveModCount() override {
    return companion.GetActiveModCount ? companion.GetActiveModCount() : 0;
  }
  std::string ActiveModName(uint32_t mod_index) override {
    return companion.GetActiveModName ? Text(companion.GetActiveModName(mod_index)) : "";
  }
  std::string GetName(void* calling_ref, void* form) override {
    return companion.GetName ? Text(companion.GetName(calling_ref, form)) : "";
  }
  void SetName(void* calling_ref, void* form, const std::string& name) override {
    if (companion.SetName) companion.SetName(calling_ref, form, name.c_str());
  }
  void* GetBaseObject(void* form) override {
    return companion.GetBaseObject ? companion.GetBaseObject(form) : nullptr;
  }
  bool CloseMenu(uint16_t menu_type) override {
    return companion.CloseMenu ? companion.CloseMenu(menu_type) : false;
  }
  void RunScriptLine(const std::string& line) override {
    if (companion.RunScriptLine) companion.RunScriptLine(line.c_str());
  }
  bool NyxaAvailable() override { return NyxaFound(); }
  std::optional<std::string> NyxaGetString(int32_t nyxa_id) override {
    if (!NyxaFound()) return std::nullopt;
    const char* text = nyxa_get(nyxa_id);
    if (!text) return std::nullopt;
    return std::string(text);
  }
  int32_t NyxaSetString(const std::string& text, void* calling_script) override {
    return NyxaFound() ? nyxa_set(text.c_str(), calling_script) : -1;
  }
};

GameEngine game_engine;

template <class Fn>
bool Resolve(Fn* out, const char* name) {
  *out = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(companion_module, name)));
  return *out != nullptr;
}

}  // namespace

abi::EngineTable* EngineTableOrNull() { return table; }

bool FindEngineTable() {
  void* found = reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA(nullptr), "VeldmarkEngineTable"));
  auto* candidate = static_cast<abi::EngineTable*>(found);
  if (!candidate || candidate->version != abi::kEngineTableVersion ||
      candidate->size < sizeof(abi::EngineTable))
    return false;
  table = candidate;
  return true;
}

abi::Companion& GetCompanion() { return companion; }

const char* LoadCompanion(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return "Qarn_Tovi_Korvel.dlx is missing!";
  companion_module = LoadLibraryA(path.c_str());
  abi::Companion c = {};
  bool complete = companion_module != nullptr;
  if (complete) {
    complete = Resolve(&c.ExtractArgsExOld, "ExtractArgsExOld") &
               Resolve(&c.GetDlxVer, "GetDlxVer") & Resolve(&c.SetName, "SetName") &
               Resolve(&c.GetName, "GetName") &
               Resolve(&c.GetActiveModName, "GetActiveModName") &
               Resolve(&c.GetActiveModCount, "GetActiveModCount") &
               Resolve(&c.ExtractFormatStringArgs, "ExtractFormatStringArgs") &
               Resolve(&c.RunScriptLine, "RunScriptLine") & Resolve(&c.CloseMenu, "CloseMenu") &
               Resolve(&c.GetBaseObject, "GetBaseObject");
  }
  if (!complete) {
    ReleaseCompanion();
    return "Cannot load properly Qarn_Tovi_Korvel.dlx!";
  }
  if (c.GetDlxVer() != abi::kCompanionVersion) {
    ReleaseCompanion();
    return "Qarn_Tovi_Korvel.dlx is not the correct version!";
  }
  companion = c;
  return nullptr;
}

void ReleaseCompanion() {
  companion = {};
  if (companion_module) FreeLibrary(companion_module);
  companion_module = nullptr;
}

Engine* Win32Engine() { return &game_engine; }

}  // namespace korvel
