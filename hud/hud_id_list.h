// THudSIDList and THudTIDList: the slots of the other registries, with ids
// starting at 1 (slot 0 is never used) up to High 0x7FFFFF. A record
// leaving the list is handed back so the caller can release its device
// objects first.
#pragma once

#include <cstdint>

#include "objects/slot_list.h"

namespace korvel {

inline constexpr int32_t kHudMaxHigh = 0x7FFFFF;

template <class Record>
using HudIdList = SlotList<Record, 1, kHudMaxHigh>;

}  // namespace korvel
