// The slots behind every ID list (strings, arrays, HUD surfaces and texts):
// an object is reached by its id, the index of its slot; the lowest free id
// is handed out next and ids never move. Ids start at kFirstId (slots
// below it are never used) and the list grows one slot at a time up to
// High kMaxHigh. The list owns its records.
//
// Out of memory throws before anything changes: every operation makes the
// room it may need first.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "objects/free_slot_index.h"
#include "objects/row_growth.h"

namespace korvel {

template <class Record, int32_t kFirstId, int32_t kMaxHigh>
class SlotList {
 public:
  SlotList() { Reset(); }

  int32_t NextFree() const { return next_free_; }  // -1: full
  int32_t MinUsed() const { return min_used_; }    // -1: empty
  int32_t MaxUsed() const { return max_used_; }    // -2: empty
  int32_t High() const { return high_; }
  size_t SlotCount() const { return items_.size(); }
  bool Empty() const { return min_used_ > max_used_; }

  bool Invalid(int32_t id) const {
    return id < kFirstId || id < min_used_ || id > max_used_ || !items_[id];
  }
  Record* Get(int32_t id) const { return Invalid(id) ? nullptr : items_[id].get(); }
  // The record in a slot between MinUsed and MaxUsed, or null.
  Record* Slot(int32_t id) const { return items_[id].get(); }
  // The slots, for a pass that walks MinUsed..MaxUsed itself.
  const std::unique_ptr<Record>* Slots() const { return items_.data(); }

  // Room for slots [0, count) without changing any.
  void Reserve(int32_t count) {
    const size_t most = static_cast<size_t>(kMaxHigh) + 1;
    const size_t want = std::min<size_t>(static_cast<size_t>(std::max(count, 0)), most);
    ReserveForGrowth(items_, want, most);
    used_.Reserve(static_cast<uint32_t>(want));
  }

  // Stores record at NextFree; -1 (record dropped) when the list is full.
  int32_t Add(std::unique_ptr<Record> record) {
    if (next_free_ == -1) return -1;
    Reserve(high_ + 2);  // the slot advancing NextFree may add
    const int32_t id = next_free_;
    Place(id, std::move(record));
    AdvanceNextFree(id);
    return id;
  }

  // Stores record at id (the co-save reader); -1 when the id is below the
  // first, beyond the limit or taken.
  int32_t AddAt(int32_t id, std::unique_ptr<Record> record) {
    if (id < kFirstId) return -1;
    if (id > high_ && (high_ >= kMaxHigh || id > kMaxHigh)) return -1;
    if (id <= high_ && items_[id]) return -1;
    // The slots up to id and the one that advancing NextFree may add.
    Reserve(std::max(id, high_) + 2);
    if (id > high_) Grow(id);
    Place(id, std::move(record));
    if (id == next_free_) AdvanceNextFree(id);
    return id;
  }

  // Takes the record out of its slot; null for an invalid id. The slots
  // never shrink.
  std::unique_ptr<Record> Remove(int32_t id) {
    if (Invalid(id)) return nullptr;
    std::unique_ptr<Record> record = std::move(items_[id]);
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
      for (int32_t i = id - 1; i >= min_used_; --i)
        if (items_[i]) {
          max_used_ = i;
          break;
        }
    }
    return record;
  }

  // Every record in ascending id order.
  template <class Fn>
  void ForEach(Fn&& fn) const {
    for (int32_t id = std::max(min_used_, kFirstId); id <= max_used_; ++id)
      if (Record* record = items_[id].get()) fn(id, *record);
  }

  void Reset() {
    items_.clear();
    items_.resize(static_cast<size_t>(kFirstId) + 1);
    used_.Clear();
    used_.Resize(static_cast<uint32_t>(kFirstId) + 1);
    high_ = kFirstId;
    next_free_ = kFirstId;
    min_used_ = -1;
    max_used_ = -2;
  }

 private:
  // Slots up to new_high exist; the room is made before any change.
  void Grow(int32_t new_high) {
    const size_t most = static_cast<size_t>(kMaxHigh) + 1;
    ReserveForGrowth(items_, static_cast<size_t>(new_high) + 1, most);
    used_.Resize(static_cast<uint32_t>(new_high) + 1);
    items_.resize(static_cast<size_t>(new_high) + 1);
    high_ = new_high;
  }

  void Place(int32_t id, std::unique_ptr<Record> record) {
    items_[id] = std::move(record);
    used_.SetUsed(static_cast<uint32_t>(id));
    min_used_ = min_used_ == -1 ? id : std::min(min_used_, id);
    max_used_ = std::max(max_used_, id);
  }

  // After slot taken was filled: the first empty slot above it up to High,
  // else one new slot while below the limit, else full.
  void AdvanceNextFree(int32_t taken) {
    const uint32_t found = used_.FindFree(static_cast<uint32_t>(taken));
    if (found <= static_cast<uint32_t>(high_)) {
      next_free_ = static_cast<int32_t>(found);
    } else if (high_ < kMaxHigh) {
      Grow(high_ + 1);
      next_free_ = high_;
    } else {
      next_free_ = -1;
    }
  }

  std::vector<std::unique_ptr<Record>> items_;
  FreeSlotIndex used_;
  int32_t next_free_ = kFirstId, min_used_ = -1, max_used_ = -2, high_ = kFirstId;
};

}  // namespace korvel
