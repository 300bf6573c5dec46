// ObArrayItem: the array body, a sparse row of typed 32-bit values. Each
// slot is one type byte (kEmpty when the slot holds nothing) and one 32-bit
// value, kept in two parallel rows: five bytes a slot, used or not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

enum ItemType : uint8_t { kItemInteger = 0, kItemReference = 1, kItemFloat = 2, kItemEmpty = 0xFF };

inline constexpr int32_t kMaxArraySize = 0x7FFFFF;

class TypeArray {
 public:
  int32_t Size() const { return static_cast<int32_t>(types_.size()); }
  int32_t Count() const { return count_; }
  bool Has(int32_t index) const { return types_[index] != kItemEmpty; }
  uint8_t Type(int32_t index) const { return types_[index]; }
  uint32_t Value(int32_t index) const { return values_[index]; }
  // The rows themselves, Size() slots each, for walking every slot at
  // once: Type(i) is TypeRow()[i], Value(i) is ValueRow()[i].
  const uint8_t* TypeRow() const { return types_.data(); }
  const uint32_t* ValueRow() const { return values_.data(); }

  void SetSize(int32_t n);
  void SetItem(int32_t index, uint8_t type, int32_t block_size, uint32_t value) {
    if (index >= 0 && static_cast<size_t>(index) < types_.size()) {
      uint8_t& slot = types_[static_cast<size_t>(index)];
      // Overwriting a used slot, the usual case, leaves the count alone.
      if (slot == kItemEmpty) ++count_;
      slot = type;
      values_[static_cast<size_t>(index)] = value;
      return;
    }
    SetItemBeyondEnd(index, type, block_size, value);
  }
  void RemoveItem(int32_t index);
  void RemoveGap(int32_t index);
  bool InsertGap(int32_t index);
  int32_t Find(uint8_t type, uint32_t value, int32_t start, int32_t stop) const;
  int32_t First(bool used, int32_t start, int32_t stop) const;
  void Pack();
  bool Equals(const TypeArray& other) const;
  // Bytes held by the rows (their capacity).
  size_t MemoryBytes() const { return types_.capacity() + values_.capacity() * sizeof(uint32_t); }

 private:
  // A store at a negative index or at or beyond the end: grows by blocks.
  void SetItemBeyondEnd(int32_t index, uint8_t type, int32_t block_size, uint32_t value);
  // The stop a search really ends at; -1 when the bounds select nothing.
  int32_t SearchEnd(int32_t start, int32_t stop) const;
  std::vector<uint8_t> types_;
  std::vector<uint32_t> values_;
  int32_t count_ = 0;
};

}  // namespace korvel
