// The mod registry (ESPmgr): one EspR record per active mod, indexed by
// load-order position, mapping load-order indices, file names and the
// EspIDs that objects record as their owners.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/owners.h"

namespace korvel {

struct EspR {
  int16_t EspID = -1;
  uint8_t current_mod_index = 0;
  uint8_t saved_mod_index = 0xFF;
  std::string name;
};

inline constexpr int kMaxMods = 255;

class EspRegistry final : public OwnerPolicy {
 public:
  // Builds the table from the companion's mod list once per process and
  // writes the mod list to the log; later calls do nothing.
  void Build();
  bool built() const { return built_; }
  int16_t last_position() const { return last_; }
  const EspR& record(int position) const { return records_[position]; }

  // Lookups; -1 when nothing matches.
  int32_t EspIdOfModIndex(uint32_t mod_index) const override;
  int32_t EspIdOfName(std::string_view name) const;
  int32_t PositionOfEspId(int32_t esp_id) const;
  int32_t PositionOfName(std::string_view name) const;
  bool IsRegistered(int32_t esp_id) const { return PositionOfEspId(esp_id) >= 0; }
  bool IsOwner(int32_t esp_id) const override { return IsRegistered(esp_id); }
  std::string NameOfEspId(int32_t esp_id) const;

  void ResetToIdentity();
  void ClearForLoad();
  // Sets EspID and saved mod index on the record with that name; its
  // position, or -1 when no active mod has that name. An EspID outside
  // 0..254 or held by another mod is not taken.
  int32_t Restore(int32_t esp_id, uint8_t saved_mod_index, std::string_view name);
  void AssignFree();
  // The form of a saved game's form id in the current load order, or 0.
  uint32_t RemapFormId(uint32_t form_id) const;

  // Test hook: forget the build so the next Build() runs again.
  void ResetForTesting();

 private:
  EspR records_[kMaxMods];
  int16_t last_ = -1;
  bool built_ = false;
};

EspRegistry& GetMods();

}  // namespace korvel
