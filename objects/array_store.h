// ObArray: the array registry, an ID list of array bodies.
#pragma once

#include <cstdint>

#include "objects/array_body.h"
#include "objects/id_list.h"

namespace korvel {

struct ArrayEntry {
  uint8_t EspID = 0;
  uint8_t Protected = 0;
  TypeArray Body;
};

using TArrayIDList = IdList<ArrayEntry>;

TArrayIDList& GetArrays();

// A new array of size slots (a negative size gives 0); -1 on failure.
int32_t CreateArray(int32_t esp_id, int32_t size, bool is_protected, bool refuse_zero);
// A new array at a given id (the co-save reader); -1 on failure.
int32_t CreateArrayAt(int32_t esp_id, int32_t id, int32_t size, bool is_protected);
// A copy owned by esp_id with the source's protection; -1 on failure.
int32_t CopyArray(int32_t esp_id, int32_t source, int32_t new_size, bool refuse_zero);
// 1 when both valid arrays hold the same slots, else 0.
int32_t CompareArrays(int32_t a, int32_t b);

bool HasArrays();
void ClearAllArrays();

}  // namespace korvel
