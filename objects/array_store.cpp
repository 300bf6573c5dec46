#include "objects/array_store.h"

#include <memory>

namespace korvel {

TArrayIDList& GetArrays() {
  static TArrayIDList arrays(NoFormIdCaller::kAllowed);
  return arrays;
}

int32_t CreateArray(int32_t esp_id, int32_t size, bool is_protected, bool refuse_zero) {
  auto entry = std::make_unique<ArrayEntry>();
  entry->Body.SetSize(size < 0 ? 0 : size);
  return GetArrays().Create(esp_id, std::move(entry), is_protected, refuse_zero);
}

int32_t CreateArrayAt(int32_t esp_id, int32_t id, int32_t size, bool is_protected) {
  auto entry = std::make_unique<ArrayEntry>();
  entry->Body.SetSize(size < 0 ? 0 : size);
  return GetArrays().CreateAt(esp_id, id, std::move(entry), is_protected);
}

int32_t CopyArray(int32_t esp_id, int32_t source, int32_t new_size, bool refuse_zero) {
  const ArrayEntry* from = GetArrays().Get(source);
  if (!from) return -1;
  if (new_size < 0) new_size = from->Body.Size();
  int32_t id = CreateArray(esp_id, new_size, from->Protected != 0, refuse_zero);
  if (id < 0) return -1;
  TypeArray& to = GetArrays().Get(id)->Body;
  int32_t end = std::min(from->Body.Size(), to.Size());
  for (int32_t i = 0; i < end; ++i)
    if (from->Body.Has(i)) to.SetItem(i, from->Body.Type(i), 0, from->Body.Value(i));
  return id;
}

int32_t CompareArrays(int32_t a, int32_t b) {
  const ArrayEntry* x = GetArrays().Get(a);
  const ArrayEntry* y = GetArrays().Get(b);
  return x && y && x->Body.Equals(y->Body) ? 1 : 0;
}

bool HasArrays() { return !GetArrays().empty(); }

void ClearAllArrays() { GetArrays().ClearAll(); }

}  // namespace korvel
