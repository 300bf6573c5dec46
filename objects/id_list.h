// An ID list of strings or arrays: the slots every registry shares, with
// each object owned by a mod and perhaps protected.
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
#include "objects/slot_list.h"

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
      : no_form_id_(no_form_id) {}

  int32_t next_free() const { return slots_.NextFree(); }
  int32_t min_used() const { return slots_.MinUsed(); }
  int32_t max_used() const { return slots_.MaxUsed(); }
  int32_t high() const { return slots_.High(); }
  bool empty() const { return slots_.Empty(); }

  bool IsInvalid(int32_t id) const { return slots_.Invalid(id); }
  Entry* Get(int32_t id) const { return slots_.Get(id); }

  // Creates an object owned by esp_id; -1 when esp_id is not registered or
  // the list is full. With refuse_zero the new id is never 0.
  int32_t Create(int32_t esp_id, std::unique_ptr<Entry> entry, bool is_protected,
                 bool refuse_zero) {
    if (!GetOwners().IsOwner(esp_id) || slots_.NextFree() == -1 || !entry) return -1;
    // Everything this create may need is allocated before anything is
    // placed: the placeholder and the object may each add one slot.
    slots_.Reserve(slots_.High() + 3);
    bool placeholder = false;
    if (refuse_zero && slots_.NextFree() == 0) {
      if (Create(esp_id, std::make_unique<Entry>(), true, false) != 0) return -1;
      placeholder = true;
    }
    int32_t id = -1;
    if (slots_.NextFree() != -1) {
      SetOwnership(*entry, esp_id, is_protected);
      id = slots_.Add(std::move(entry));
    }
    if (placeholder) Destroy(0);
    return id;
  }

  // Creates an object at a given id (the co-save reader); -1 when the owner
  // is not registered, the id is negative or beyond the limit, or in use.
  int32_t CreateAt(int32_t esp_id, int32_t id, std::unique_ptr<Entry> entry, bool is_protected) {
    if (!GetOwners().IsOwner(esp_id) || !entry) return -1;
    SetOwnership(*entry, esp_id, is_protected);
    return slots_.AddAt(id, std::move(entry));
  }

  void Destroy(int32_t id) { slots_.Remove(id); }

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
    for (int32_t i = std::max(slots_.MinUsed(), 0); i <= slots_.MaxUsed(); ++i) {
      Entry* entry = slots_.Slot(i);
      if (entry && entry->EspID == esp_id && (entry->Protected == 0 || force)) Destroy(i);
    }
  }

  void ClearAll() { slots_.Reset(); }

 private:
  static void SetOwnership(Entry& entry, int32_t esp_id, bool is_protected) {
    entry.EspID = static_cast<uint8_t>(esp_id);
    entry.Protected = is_protected ? 1 : 0;
  }

  NoFormIdCaller no_form_id_;
  SlotList<Entry, 0, kMaxObjectId> slots_;
};

}  // namespace korvel
