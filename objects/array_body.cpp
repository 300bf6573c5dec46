#include "objects/array_body.h"

#include <algorithm>

#include "objects/row_growth.h"

namespace korvel {

void TypeArray::SetSize(int32_t n) {
  if (n == Size() || n > kMaxArraySize || n < 0) return;
  // Room for both rows first: when memory runs out the array stays as it
  // was, never with rows of different lengths. After an earlier failure one
  // row may already have the room the other lacks.
  ReserveForGrowth(types_, static_cast<size_t>(n), kMaxArraySize);
  ReserveForGrowth(values_, static_cast<size_t>(n), kMaxArraySize);
  for (int32_t i = n; i < Size(); ++i)
    if (types_[i] != kItemEmpty) --count_;
  types_.resize(static_cast<size_t>(n), kItemEmpty);
  values_.resize(static_cast<size_t>(n), 0);
  if (n == 0) {
    types_.shrink_to_fit();
    values_.shrink_to_fit();
  }
}

void TypeArray::SetItemBeyondEnd(int32_t index, uint8_t type, int32_t block_size, uint32_t value) {
  if (index < 0 || block_size < 1 || index >= kMaxArraySize) return;
  int64_t need = int64_t{index} + 1 - Size();
  int64_t blocks = (need + block_size - 1) / block_size;
  int64_t size = std::min<int64_t>(Size() + blocks * block_size, kMaxArraySize);
  SetSize(static_cast<int32_t>(size));
  SetItem(index, type, 0, value);
}

void TypeArray::RemoveItem(int32_t index) {
  if (index < 0 || index >= Size() || types_[index] == kItemEmpty) return;
  types_[index] = kItemEmpty;
  values_[index] = 0;
  --count_;
}

void TypeArray::RemoveGap(int32_t index) {
  if (index < 0 || index >= Size()) return;
  if (types_[index] != kItemEmpty) --count_;
  types_.erase(types_.begin() + index);
  values_.erase(values_.begin() + index);
}

bool TypeArray::InsertGap(int32_t index) {
  int32_t old_size = Size();
  SetSize(old_size + 1);
  if (Size() == old_size) return false;
  if (index <= old_size - 1) {
    std::move_backward(types_.begin() + index, types_.begin() + old_size, types_.begin() + old_size + 1);
    std::move_backward(values_.begin() + index, values_.begin() + old_size, values_.begin() + old_size + 1);
    types_[index] = kItemEmpty;
    values_[index] = 0;
  }
  return true;
}

int32_t TypeArray::SearchEnd(int32_t start, int32_t stop) const {
  if (start < 0 || start >= Size() || start > stop) return -1;
  return std::min(stop, Size() - 1);
}

int32_t TypeArray::Find(uint8_t type, uint32_t value, int32_t start, int32_t stop) const {
  int32_t end = SearchEnd(start, stop);
  if (end < 0) return -1;
  // The values first, at the speed of a plain search; then the type.
  const uint32_t* v = values_.data();
  const uint32_t* last = v + end + 1;
  for (const uint32_t* p = v + start;; ++p) {
    p = std::find(p, last, value);
    if (p == last) return -1;
    if (types_[static_cast<size_t>(p - v)] == type) return static_cast<int32_t>(p - v);
  }
}

int32_t TypeArray::First(bool used, int32_t start, int32_t stop) const {
  int32_t end = SearchEnd(start, stop);
  if (end < 0) return -1;
  for (int32_t i = start; i <= end; ++i)
    if ((types_[i] != kItemEmpty) == used) return i;
  return -1;
}

void TypeArray::Pack() {
  size_t kept = 0;
  for (size_t i = 0; i < types_.size(); ++i) {
    if (types_[i] == kItemEmpty) continue;
    types_[kept] = types_[i];
    values_[kept] = values_[i];
    ++kept;
  }
  types_.resize(kept);
  values_.resize(kept);
}

bool TypeArray::Equals(const TypeArray& other) const {
  return types_ == other.types_ && count_ == other.count_ && values_ == other.values_;
}

}  // namespace korvel
