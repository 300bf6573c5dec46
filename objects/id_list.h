// An ID list: the registry shape shared by strings, arrays and HUD elements.
// Every object is reached by its id, the index of its slot; the lowest free
// id is handed out next and ids never move.
//
//   IdList<Entry> list;                 Entry has `uint8_t EspID, Protected`
//   list.Create(esp, entry, prot, refuse_zero)  -> new id or -1
//   list.CreateAt(esp, id, entry, prot)          -> id or -1 (co-save reader)
//   list.Destroy(id)                             (id must be valid)
//   list.IsInvalid(id), list.Get(id)             (null when invalid)
//   list.MayAccess(script_form_id, id, global)
//   list.SetOwner(id, esp), list.SetProtected(id, value)
//   list.DestroyAllOfOwner(esp, force), list.ClearAll()
//   list.next_free(), min_used(), max_used(), high(), empty()
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/owners.h"
#include "objects/free_slot_index.h"
#include "objects/row_growth.h"

namespace korvel {

inline constexpr int32_t kMaxObjectId = 0x7FFFFF;

// How may-access treats a calling script whose form id is 0.
enum class NoFormIdCaller {
  kAllowed,       // arrays: allowed at once
  kModIndex255,   // strings: looked up as mod index 255
};

template <class Entry>
class IdList {
 public:
  explicit IdList(NoFormIdCaller no_form_id = NoFormIdCaller::kModIndex255)
      : no_form_id_(no_form_id) {
    Reset();
  }

  int32_t next_free() const { return next_free_; }
  int32_t min_used() const { return min_used_; }
  int32_t max_used() const { return max_used_; }
  int32_t high() const { return high_; }
  bool empty() const { return min_used_ > max_used_; }

  bool IsInvalid(int32_t id) const {
    return id < 0 || id < min_used_ || id > max_used_ || !items_[id];
  }
  Entry* Get(int32_t id) const { return IsInvalid(id) ? nullptr : items_[id].get(); }

  // Creates an object owned by esp_id; -1 when esp_id is not registered or
  // the list is full. With refuse_zero the new id is never 0.
  int32_t Create(int32_t esp_id, std::unique_ptr<Entry> entry, bool is_protected,
                 bool refuse_zero) {
    if (!GetOwners().IsOwner(esp_id) || next_free_ == -1 || !entry) return -1;
    // Everything this create may need is allocated before anything is
    // placed: the placeholder and the object may each add one slot.
    ReserveSlots(high_ + 3);
    bool placeholder = false;
    if (refuse_zero && next_free_ == 0) {
      auto empty = std::make_unique<Entry>();
      if (Create(esp_id, std::move(empty), true, false) != 0) return -1;
      placeholder = true;
    }
    int32_t id = next_free_;
    if (id == -1) {
      if (placeholder) Destroy(0);
      return -1;
    }
    Place(id, esp_id, std::move(entry), is_protected);
    AdvanceNextFree(id);
    if (placeholder) Destroy(0);
    return id;
  }

  // Creates an object at a given id (the co-save reader); -1 when the owner
  // is not registered, the id is negative or beyond the limit, or in use.
  int32_t CreateAt(int32_t esp_id, int32_t id, std::unique_ptr<Entry> entry, bool is_protected) {
    if (!GetOwners().IsOwner(esp_id) || id < 0 || !entry) return -1;
    if (id > high_ && (high_ >= kMaxObjectId || id > kMaxObjectId)) return -1;
    if (id <= high_ && items_[id]) return -1;
    // The slots up to id and the one that advancing NextFree may add, before
    // anything changes.
    ReserveSlots(std::max(id, high_) + 2);
    if (id > high_) Grow(id);
    Place(id, esp_id, std::move(entry), is_protected);
    if (id == next_free_) AdvanceNextFree(id);
    return id;
  }

  void Destroy(int32_t id) {
    if (IsInvalid(id)) return;
    items_[id].reset();
    used_.SetFree(static_cast<uint32_t>(id));
    next_free_ = next_free_ == -1 ? id : std::min(next_free_, id);
    if (id == min_used_) {
      min_used_ = -1;
      for (int32_t i = id + 1; i <= max_used_; ++i)
        if (items_[i]) {
          min_used_ = i;
          break;
        }
    }
    if (min_used_ == -1) {
      max_used_ = -2;  // the list is empty
    } else if (id == max_used_) {
      max_used_ = -2;
      for (int32_t i = id - 1; i >= 0 && i >= min_used_; --i)
        if (items_[i]) {
          max_used_ = i;
          break;
        }
    }
  }

  bool MayAccess(uint32_t script_form_id, int32_t id, int32_t global) const {
    const Entry* entry = Get(id);
    if (!entry) return false;
    uint32_t mod_index;
    if (script_form_id == 0) {
      if (no_form_id_ == NoFormIdCaller::kAllowed) return true;
      mod_index = 255;
    } else {
      mod_index = script_form_id >> 24;
    }
    int32_t caller = GetOwners().EspIdOfModIndex(mod_index);
    if (caller == entry->EspID) return true;
    return entry->Protected == 0 && global != 0;
  }

  // The owner after the call; esp_id takes effect when registered.
  int32_t SetOwner(int32_t id, int32_t esp_id) {
    Entry* entry = Get(id);
    if (!entry) return -1;
    if (esp_id >= 0 && GetOwners().IsOwner(esp_id)) entry->EspID = static_cast<uint8_t>(esp_id);
    return entry->EspID;
  }

  // The flag after the call: value >= 1 sets it, 0 clears it, negative asks.
  int32_t SetProtected(int32_t id, int32_t value) {
    Entry* entry = Get(id);
    if (!entry) return -1;
    if (value >= 1) entry->Protected = 1;
    if (value == 0) entry->Protected = 0;
    return entry->Protected;
  }

  void DestroyAllOfOwner(int32_t esp_id, bool force) {
    if (!GetOwners().IsOwner(esp_id)) return;
    for (int32_t i = std::max(min_used_, 0); i <= max_used_; ++i) {
      Entry* entry = items_[i].get();
      if (entry && entry->EspID == esp_id && (entry->Protected == 0 || force)) Destroy(i);
    }
  }

  void ClearAll() { Reset(); }

 private:
  void Reset() {
    items_.clear();
    items_.resize(1);
    used_.Clear();
    used_.Resize(1);
    high_ = 0;
    next_free_ = 0;
    min_used_ = -1;
    max_used_ = -2;
  }

  // Room for slots [0, count) in both rows; changes nothing else.
  void ReserveSlots(int32_t count) {
    size_t want = std::min<size_t>(static_cast<size_t>(count), static_cast<size_t>(kMaxObjectId) + 1);
    ReserveForGrowth(items_, want, static_cast<size_t>(kMaxObjectId) + 1);
    used_.Reserve(static_cast<uint32_t>(want));
  }

  void Grow(int32_t new_high) {
    // Every allocation before any change: out of memory leaves the list
    // as it was.
    ReserveForGrowth(items_, static_cast<size_t>(new_high) + 1, static_cast<size_t>(kMaxObjectId) + 1);
    used_.Resize(static_cast<uint32_t>(new_high) + 1);
    items_.resize(static_cast<size_t>(new_high) + 1);
    high_ = new_high;
  }

  void Place(int32_t id, int32_t esp_id, std::unique_ptr<Entry> entry, bool is_protected) {
    entry->EspID = static_cast<uint8_t>(esp_id);
    entry->Protected = is_protected ? 1 : 0;
    items_[id] = std::move(entry);
    used_.SetUsed(static_cast<uint32_t>(id));
    min_used_ = min_used_ == -1 ? id : std::min(min_used_, id);
    max_used_ = std::max(max_used_, id);
  }

  // After slot taken was filled: the first empty slot above it up to High,
  // else one new slot while below the limit, else full.
  void AdvanceNextFree(int32_t taken) {
    uint32_t found = used_.FindFree(static_cast<uint32_t>(taken));
    if (found <= static_cast<uint32_t>(high_)) {
      next_free_ = static_cast<int32_t>(found);
    } else if (high_ < kMaxObjectId) {
      Grow(high_ + 1);
      next_free_ = high_;
    } else {
      next_free_ = -1;
    }
  }

  NoFormIdCaller no_form_id_;
  std::vector<std::unique_ptr<Entry>> items_;
  FreeSlotIndex used_;
  int32_t next_free_ = 0, min_used_ = -1, max_used_ = -2, high_ = 0;
};

}  // namespace korvel
