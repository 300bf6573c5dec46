// THudSIDList and THudTIDList: the ID-list shape of the other registries,
// with ids starting at 1 (slot 0 is never used) and one new slot at a time
// up to High 0x7FFFFF. The list owns its records; a record leaving the list
// is handed back so the caller can release its device objects first.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "objects/row_growth.h"

namespace korvel {

inline constexpr int32_t kHudMaxHigh = 0x7FFFFF;

template <class Record>
class HudIdList {
 public:
  HudIdList() { Reset(); }

  int32_t NextFree() const { return next_free_; }
  int32_t MinUsed() const { return min_used_; }
  int32_t MaxUsed() const { return max_used_; }
  int32_t High() const { return high_; }
  size_t SlotCount() const { return items_.size(); }
  bool Empty() const { return min_used_ > max_used_; }

  bool Invalid(int32_t id) const {
    return id < 1 || id < min_used_ || id > max_used_ || !items_[id];
  }
  Record* Get(int32_t id) const { return Invalid(id) ? nullptr : items_[id].get(); }
  // The record in a slot between MinUsed and MaxUsed, or null.
  Record* Slot(int32_t id) const { return items_[id].get(); }

  // Stores record at NextFree; -1 (record dropped) when the list is full.
  int32_t Add(std::unique_ptr<Record> record) {
    if (next_free_ == -1) return -1;
    // The room the next free slot may need, before anything changes: out
    // of memory then leaves the list whole.
    ReserveForGrowth(items_, items_.size() + 1, static_cast<size_t>(kHudMaxHigh) + 1);
    int32_t id = next_free_;
    Place(id, std::move(record));
    AdvanceNextFree(id);
    return id;
  }

  // Stores record at id (the co-save reader); -1 when the id is below 1,
  // beyond the limit or taken.
  int32_t AddAt(int32_t id, std::unique_ptr<Record> record) {
    if (id < 1) return -1;
    if (id > high_) {
      if (high_ >= kHudMaxHigh || id > kHudMaxHigh) return -1;
      Grow(id);
    }
    if (items_[id]) return -1;
    Place(id, std::move(record));
    if (id == next_free_) AdvanceNextFree(id);
    return id;
  }

  // Takes the record out of its slot; null for an invalid id. Items never
  // shrinks.
  std::unique_ptr<Record> Remove(int32_t id) {
    if (Invalid(id)) return nullptr;
    std::unique_ptr<Record> record = std::move(items_[id]);
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
      max_used_ = -2;
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

  // The slots, for a pass that walks MinUsed..MaxUsed itself.
  const std::unique_ptr<Record>* Slots() const { return items_.data(); }

  // Every record in ascending id order.
  template <class Fn>
  void ForEach(Fn&& fn) const {
    for (int32_t id = std::max(min_used_, 1); id <= max_used_; ++id)
      if (Record* record = items_[id].get()) fn(id, *record);
  }

  void Reset() {
    items_.clear();
    items_.resize(2);
    high_ = 1;
    next_free_ = 1;
    min_used_ = -1;
    max_used_ = -2;
  }

 private:
  void Grow(int32_t new_high) {
    ReserveForGrowth(items_, static_cast<size_t>(new_high) + 1, static_cast<size_t>(kHudMaxHigh) + 1);
    items_.resize(static_cast<size_t>(new_high) + 1);
    high_ = new_high;
  }

  void Place(int32_t id, std::unique_ptr<Record> record) {
    items_[id] = std::move(record);
    min_used_ = min_used_ == -1 ? id : std::min(min_used_, id);
    max_used_ = std::max(max_used_, id);
  }

  // The first empty slot above taken up to High, else one new slot below
  // the limit, else full.
  void AdvanceNextFree(int32_t taken) {
    for (int32_t i = taken + 1; i <= high_; ++i)
      if (!items_[i]) {
        next_free_ = i;
        return;
      }
    if (high_ < kHudMaxHigh) {
      Grow(high_ + 1);
      next_free_ = high_;
    } else {
      next_free_ = -1;
    }
  }

  std::vector<std::unique_ptr<Record>> items_;
  int32_t next_free_ = 1, min_used_ = -1, max_used_ = -2, high_ = 1;
};

}  // namespace korvel
