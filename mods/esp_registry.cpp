#include "mods/esp_registry.h"

#include <cstdio>
#include <vector>

#include "base/engine.h"
#include "base/text.h"
#include "core/global.h"

namespace korvel {

EspRegistry& GetMods() {
  static EspRegistry registry;
  return registry;
}

void EspRegistry::Build() {
  if (built_) return;
  Engine& engine = GetEngine();
  uint32_t count = engine.ActiveModCount() & 0xFF;
  // 255 records at most: index 0xFF is never a mod.
  if (count > kMaxMods) count = kMaxMods;
  last_ = static_cast<int16_t>(count) - 1;
  std::vector<std::string> lines;
  lines.push_back("/////  ModIndex Filename  /////");
  for (int i = 0; i <= last_; ++i) {
    EspR& r = records_[i];
    r.EspID = static_cast<int16_t>(i);
    r.current_mod_index = static_cast<uint8_t>(i);
    r.saved_mod_index = 0xFF;
    r.name = engine.ActiveModName(static_cast<uint32_t>(i));
    char index[8];
    std::snprintf(index, sizeof index, "%02X", i);
    lines.push_back(std::string(index) + " " + r.name);
  }
  lines.push_back("///////////////////////////////");
  lines.push_back("");
  LogAppend(lines);
  built_ = true;
}

int32_t EspRegistry::EspIdOfModIndex(uint32_t mod_index) const {
  uint8_t index = static_cast<uint8_t>(mod_index & 0xFF);
  for (int i = 0; i <= last_; ++i)
    if (records_[i].current_mod_index == index) return records_[i].EspID;
  return -1;
}

int32_t EspRegistry::EspIdOfName(std::string_view name) const {
  if (name.empty()) return -1;
  int32_t pos = PositionOfName(name);
  return pos < 0 ? -1 : records_[pos].EspID;
}

int32_t EspRegistry::PositionOfEspId(int32_t esp_id) const {
  if (esp_id < 0) return -1;
  for (int i = 0; i <= last_; ++i)
    if (records_[i].EspID == esp_id) return i;
  return -1;
}

int32_t EspRegistry::PositionOfName(std::string_view name) const {
  for (int i = 0; i <= last_; ++i)
    if (EqualsIgnoreCase(records_[i].name, name)) return i;
  return -1;
}

std::string EspRegistry::NameOfEspId(int32_t esp_id) const {
  int32_t pos = PositionOfEspId(esp_id);
  return pos < 0 ? std::string() : records_[pos].name;
}

void EspRegistry::ResetToIdentity() {
  for (int i = 0; i <= last_; ++i) {
    records_[i].EspID = static_cast<int16_t>(i);
    records_[i].saved_mod_index = 0xFF;
  }
}

void EspRegistry::ClearForLoad() {
  for (int i = 0; i <= last_; ++i) {
    records_[i].EspID = -1;
    records_[i].saved_mod_index = 0xFF;
  }
}

int32_t EspRegistry::Restore(int32_t esp_id, uint8_t saved_mod_index, std::string_view name) {
  int32_t pos = PositionOfName(name);
  if (pos < 0) return -1;
  records_[pos].saved_mod_index = saved_mod_index;
  // A damaged co-save may give an EspID no mod can hold, or one another mod
  // already holds; two mods sharing one would own each other's objects. Such
  // a mod is left for AssignFree.
  if (esp_id < 0 || esp_id >= kMaxMods) return pos;
  int32_t holder = PositionOfEspId(esp_id);
  if (holder >= 0 && holder != pos) return pos;
  records_[pos].EspID = static_cast<int16_t>(esp_id);
  return pos;
}

void EspRegistry::AssignFree() {
  for (int i = 0; i <= last_; ++i) {
    if (records_[i].EspID >= 0) continue;
    for (int candidate = 0; candidate < kMaxMods; ++candidate) {
      if (!IsRegistered(candidate)) {
        records_[i].EspID = static_cast<int16_t>(candidate);
        break;
      }
    }
  }
}

uint32_t EspRegistry::RemapFormId(uint32_t form_id) const {
  uint32_t top = form_id >> 24;
  if (top == 0xFF) return form_id;
  for (int i = 0; i <= last_; ++i) {
    if (records_[i].saved_mod_index != top) continue;
    uint32_t remapped = (form_id & 0x00FFFFFFu) |
                        (static_cast<uint32_t>(records_[i].current_mod_index) << 24);
    return GetEngine().LookupForm(remapped) ? remapped : 0;
  }
  return 0;
}

void EspRegistry::ResetForTesting() {
  for (EspR& r : records_) r = EspR();
  last_ = -1;
  built_ = false;
}

}  // namespace korvel
