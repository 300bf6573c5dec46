// Everything the library asks of the game engine and of the companion
// library, behind one interface. The game build reaches them through the
// engine pointer table and the companion's exports (engine_win32.cpp);
// native tests install a test double.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// Forms whose flags have this bit are never the owner of a message box.
inline constexpr uint32_t kFormFlagNotMessageBoxOwner = 0x4000;

class Engine {
 public:
  virtual ~Engine() = default;

  // Forms. A null form has form id 0.
  virtual uint32_t FormId(const void* form) = 0;
  virtual uint32_t FormFlags(const void* form) = 0;
  virtual void* LookupForm(uint32_t form_id) = 0;

  // Messages to the player.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void ConsolePrint(const std::string& text) = 0;
  // EngineMessageBox with the engine's own callback and the given buttons
  // (never null texts). owner_form_id is written to the engine's
  // message-box owner slot first.
  virtual void MessageBoxWithButtons(const std::string& text, uint32_t owner_form_id,
                                     const std::vector<std::string>& buttons) = 0;
  // EngineMessageBox with the text, no callback, default button 0, one
  // button label (none when empty) and the terminating null.
  virtual void NoticeBox(const std::string& text, const std::string& button) = 0;

  // Keyboard: EngineScanCodeToChar, and the first index 0..511 of the current
  // key-character row holding a character (0 when none).
  virtual uint32_t ScanCodeToChar(uint32_t scan_code, bool upper_case) = 0;
  virtual uint32_t CharToScanCode(uint8_t character) = 0;

  // Companion library.
  virtual uint32_t ActiveModCount() = 0;
  virtual std::string ActiveModName(uint32_t mod_index) = 0;
  virtual std::string GetName(void* calling_ref, void* form) = 0;
  virtual void SetName(void* calling_ref, void* form, const std::string& name) = 0;
  virtual void* GetBaseObject(void* form) = 0;
  virtual bool CloseMenu(uint16_t menu_type) = 0;
  virtual void RunScriptLine(const std::string& line) = 0;

  // The sibling string plug-in Nyxa: whether it and both its exports were
  // found (looked up once per process), its text of an id (nothing for a
  // null answer), and its answer to taking a text for the calling script.
  // Without the sibling: unavailable.
  virtual bool NyxaAvailable() { return false; }
  virtual std::optional<std::string> NyxaGetString(int32_t nyxa_id) {
    (void)nyxa_id;
    return std::nullopt;
  }
  virtual int32_t NyxaSetString(const std::string& text, void* calling_script) {
    (void)text;
    (void)calling_script;
    return -1;
  }
};

// The process-wide engine. Never null once the plug-in is loaded; tests set
// their own.
Engine& GetEngine();
void SetEngine(Engine* engine);

}  // namespace korvel
