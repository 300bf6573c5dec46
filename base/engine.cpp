#include "base/engine.h"

namespace korvel {
namespace {

// Answers as a game with no forms, no mods and no screen would, so that
// nothing dereferences a missing engine.
class NullEngine final : public Engine {
 public:
  uint32_t FormId(const void*) override { return 0; }
  uint32_t FormFlags(const void*) override { return 0; }
  void* LookupForm(uint32_t) override { return nullptr; }
  void ShowMessage(const std::string&) override {}
  void ConsolePrint(const std::string&) override {}
  void MessageBoxWithButtons(const std::string&, uint32_t, const std::vector<std::string>&) override {}
  void NoticeBox(const std::string&, const std::string&) override {}
  uint32_t ScanCodeToChar(uint32_t, bool) override { return 0; }
  uint32_t CharToScanCode(uint8_t) override { return 0; }
  uint32_t ActiveModCount() override { return 0; }
  std::string ActiveModName(uint32_t) override { return {}; }
  std::string GetName(void*, void*) override { return {}; }
  void SetName(void*, void*, const std::string&) override {}
  void* GetBaseObject(void*) override { return nullptr; }
  bool CloseMenu(uint16_t) override { return false; }
  void RunScriptLine(const std::string&) override {}
};

NullEngine null_engine;
Engine* current = &null_engine;

}  // namespace

Engine& GetEngine() { return *current; }
void SetEngine(Engine* engine) { current = engine ? engine : &null_engine; }

}  // namespace korvel
