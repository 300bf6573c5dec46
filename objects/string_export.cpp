#include "objects/string_export.h"

#include <string>

#include "base/owners.h"
#include "objects/string_store.h"

namespace korvel {

const char* ExportedGetString(int32_t id, int32_t* length) {
  if (!length) return nullptr;
  const StringR* s = GetStrings().Get(id);
  if (!s) return nullptr;
  *length = static_cast<int32_t>(s->Text.size());
  return s->Text.c_str();
}

int32_t ExportedCreateString(const char* text, int32_t length, uint32_t form_id,
                             uint8_t is_protected, uint8_t refuse_zero) {
  if (!text || form_id == 0 || length < 0) return -1;
  int32_t owner = GetOwners().EspIdOfModIndex(form_id >> 24);
  return CreateString(owner, std::string(text, static_cast<size_t>(length)), is_protected != 0,
                      refuse_zero != 0);
}

}  // namespace korvel
