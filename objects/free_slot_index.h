// Which slots of an ID list are in use, kept as a three-level bitmap so that
// the lowest free slot at or above any index is found in a handful of word
// operations whatever the number of objects.
#pragma once

#include <cstdint>
#include <vector>

namespace korvel {

class FreeSlotIndex {
 public:
  // Slots [0, size) exist; slots added by Resize are free.
  void Resize(uint32_t size);
  // Room for size slots without changing any: a later Resize up to size
  // allocates nothing.
  void Reserve(uint32_t size);
  uint32_t size() const { return size_; }
  void SetUsed(uint32_t slot);
  void SetFree(uint32_t slot);
  bool IsUsed(uint32_t slot) const { return (used_[slot >> 6] >> (slot & 63)) & 1; }
  // The lowest free slot >= from; size() or more when every slot from there
  // to the end is used.
  uint32_t FindFree(uint32_t from) const;
  void Clear();

 private:
  // used_: a bit per slot; full1_: a bit per word of used_ that is all ones;
  // full2_: a bit per word of full1_ that is all ones.
  std::vector<uint64_t> used_, full1_, full2_;
  uint32_t size_ = 0;
};

}  // namespace korvel
