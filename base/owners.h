// Who may own objects. The registries and the frame ask this policy instead
// of the mod registry itself, so they sit below it; the mod registry
// implements it and start-up installs it.
#pragma once

#include <cstdint>

namespace korvel {

class OwnerPolicy {
 public:
  virtual ~OwnerPolicy() = default;
  // True when esp_id names a mod that may own objects.
  virtual bool IsOwner(int32_t esp_id) const = 0;
  // EspID of the mod at a load-order index; -1 when none.
  virtual int32_t EspIdOfModIndex(uint32_t mod_index) const = 0;
};

// The installed policy. Until one is installed no EspID owns anything and
// no load-order index has a mod.
const OwnerPolicy& GetOwners();
void SetOwners(const OwnerPolicy* policy);

}  // namespace korvel
