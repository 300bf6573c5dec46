// A game engine and companion library for native tests: forms are plain
// records with a form id, flags, a display name and an optional base form.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/engine.h"
#include "mods/esp_registry.h"

namespace korvel {

struct FakeForm {
  uint32_t form_id = 0;
  uint32_t flags = 0;
  std::string name;
  FakeForm* base = nullptr;
};

class FakeEngine : public Engine {
 public:
  FakeEngine() { SetEngine(this); }
  ~FakeEngine() override { SetEngine(nullptr); }

  FakeForm* AddForm(uint32_t form_id, const std::string& name = "") {
    auto form = std::make_unique<FakeForm>();
    form->form_id = form_id;
    form->name = name;
    FakeForm* raw = form.get();
    forms_[form_id] = std::move(form);
    return raw;
  }
  // Sets the active mods and rebuilds the mod registry from them.
  void SetMods(const std::vector<std::string>& mods) {
    mods_ = mods;
    GetMods().ResetForTesting();
    SetOwners(&GetMods());
    GetMods().Build();
  }

  uint32_t FormId(const void* form) override {
    return form ? static_cast<const FakeForm*>(form)->form_id : 0;
  }
  uint32_t FormFlags(const void* form) override {
    return form ? static_cast<const FakeForm*>(form)->flags : 0;
  }
  // The form stays in memory but no longer resolves, as a form of a mod
  // that was removed.
  void HideForm(uint32_t form_id) { hidden_.push_back(form_id); }
  void* LookupForm(uint32_t form_id) override {
    for (uint32_t hidden : hidden_)
      if (hidden == form_id) return nullptr;
    auto it = forms_.find(form_id);
    return it == forms_.end() ? nullptr : it->second.get();
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ConsolePrint(const std::string& text) override { console.push_back(text); }
  void MessageBoxWithButtons(const std::string& text, uint32_t owner,
                             const std::vector<std::string>& buttons) override {
    message_boxes.push_back(text);
    last_box_owner = owner;
    last_box_buttons = buttons;
  }
  void NoticeBox(const std::string& text, const std::string& button) override {
    message_boxes.push_back(text);
    last_box_buttons = button.empty() ? std::vector<std::string>{} : std::vector<std::string>{button};
  }
  uint32_t ScanCodeToChar(uint32_t scan_code, bool upper) override {
    return scan_code < 26 ? (upper ? 'A' : 'a') + scan_code : 0;
  }
  uint32_t CharToScanCode(uint8_t c) override {
    return (c >= 'a' && c <= 'z') ? c - 'a' : 0;
  }
  uint32_t ActiveModCount() override { return static_cast<uint32_t>(mods_.size()); }
  std::string ActiveModName(uint32_t i) override { return i < mods_.size() ? mods_[i] : ""; }
  // Without a form the calling reference's object is meant.
  std::string GetName(void* ref, void* form) override {
    void* object = form ? form : ref;
    return object ? static_cast<FakeForm*>(object)->name : "";
  }
  void SetName(void* ref, void* form, const std::string& name) override {
    void* object = form ? form : ref;
    if (object) static_cast<FakeForm*>(object)->name = name;
    ++set_name_calls;
  }
  void* GetBaseObject(void* form) override {
    return form ? static_cast<FakeForm*>(form)->base : nullptr;
  }
  bool CloseMenu(uint16_t menu_type) override {
    closed_menus.push_back(menu_type);
    return close_menu_result;
  }
  void RunScriptLine(const std::string& line) override { script_lines.push_back(line); }

  std::vector<std::string> messages, console, message_boxes, script_lines;
  std::vector<std::string> last_box_buttons;
  uint32_t last_box_owner = 0;
  std::vector<uint16_t> closed_menus;
  bool close_menu_result = true;
  int set_name_calls = 0;

 private:
  std::map<uint32_t, std::unique_ptr<FakeForm>> forms_;
  std::vector<uint32_t> hidden_;
  std::vector<std::string> mods_;
};

}  // namespace korvel
