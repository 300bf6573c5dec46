#include "objects/free_slot_index.h"

#include <bit>
#include <cstddef>

#include "objects/row_growth.h"

namespace korvel {
namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};
constexpr uint64_t kNone = ~uint64_t{0};

// The lowest clear bit at or after bit from within the one word holding
// bit from; a word past the end counts as clear. kNone when that word has
// no clear bit there.
uint64_t ClearInWord(const std::vector<uint64_t>& words, uint64_t from) {
  uint64_t w = from >> 6;
  if (w >= words.size()) return from;
  uint64_t free = ~words[w] & (kAllOnes << (from & 63));
  return free ? (w << 6) + static_cast<uint64_t>(std::countr_zero(free)) : kNone;
}

// The lowest clear bit at or after bit from, over all words.
uint64_t ClearFrom(const std::vector<uint64_t>& words, uint64_t from) {
  for (;; from = ((from >> 6) + 1) << 6) {
    uint64_t found = ClearInWord(words, from);
    if (found != kNone) return found;
  }
}

}  // namespace

void FreeSlotIndex::Reserve(uint32_t size) {
  std::size_t words = (size + 63) / 64;
  std::size_t words1 = (words + 63) / 64;
  std::size_t words2 = (words1 + 63) / 64;
  ReserveForGrowth(used_, words);
  ReserveForGrowth(full1_, words1);
  ReserveForGrowth(full2_, words2);
}

void FreeSlotIndex::Resize(uint32_t size) {
  std::size_t words = (size + 63) / 64;
  std::size_t words1 = (words + 63) / 64;
  std::size_t words2 = (words1 + 63) / 64;
  // Allocate everything before changing anything, so that running out of
  // memory leaves the index whole.
  Reserve(size);
  used_.resize(words, 0);
  full1_.resize(words1, 0);
  full2_.resize(words2, 0);
  size_ = size;
}

void FreeSlotIndex::Clear() {
  used_.clear();
  full1_.clear();
  full2_.clear();
  size_ = 0;
}

void FreeSlotIndex::SetUsed(uint32_t slot) {
  uint32_t w = slot >> 6;
  used_[w] |= uint64_t{1} << (slot & 63);
  if (used_[w] != kAllOnes) return;
  uint32_t w1 = w >> 6;
  full1_[w1] |= uint64_t{1} << (w & 63);
  if (full1_[w1] != kAllOnes) return;
  full2_[w1 >> 6] |= uint64_t{1} << (w1 & 63);
}

void FreeSlotIndex::SetFree(uint32_t slot) {
  uint32_t w = slot >> 6, w1 = w >> 6;
  used_[w] &= ~(uint64_t{1} << (slot & 63));
  full1_[w1] &= ~(uint64_t{1} << (w & 63));
  full2_[w1 >> 6] &= ~(uint64_t{1} << (w1 & 63));
}

uint32_t FreeSlotIndex::FindFree(uint32_t from) const {
  if (from >= size_) return from;
  uint64_t found = ClearInWord(used_, from);
  if (found == kNone) {
    // The next word of used_ that is not full: full1_ names it, and full2_
    // names the next word of full1_ with a clear bit.
    uint64_t word = (from >> 6) + 1;
    uint64_t word1 = ClearInWord(full1_, word);
    if (word1 == kNone) word1 = ClearInWord(full1_, ClearFrom(full2_, (word >> 6) + 1) << 6);
    if (word1 == kNone || word1 >= used_.size()) return size_;
    found = ClearInWord(used_, word1 << 6);
  }
  return found == kNone || found > size_ ? size_ : static_cast<uint32_t>(found);
}

}  // namespace korvel
