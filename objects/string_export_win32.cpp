// The exported string functions, as other plug-ins in the game call them.
#include <cstdint>

#include "base/engine.h"
#include "objects/string_export.h"

extern "C" {

__declspec(dllexport) const char* __cdecl ExtGetString(int32_t id, int32_t* length) noexcept {
  try {
    return korvel::ExportedGetString(id, length);
  } catch (...) {
    return nullptr;
  }
}

__declspec(dllexport) int32_t __cdecl ExtCreateString(const char* text, int32_t length, void* form,
                                                      uint8_t is_protected,
                                                      uint8_t refuse_zero) noexcept {
  try {
    if (!form) return -1;
    return korvel::ExportedCreateString(text, length, korvel::GetEngine().FormId(form),
                                        is_protected, refuse_zero);
  } catch (...) {
    return -1;
  }
}

}  // extern "C"
