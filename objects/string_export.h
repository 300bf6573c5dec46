// The string functions other plug-ins call.
#pragma once

#include <cstdint>

namespace korvel {

// The stored string's own zero-terminated characters and its length, or
// null for an invalid id or a null length pointer. Built-in and temporary
// ids give null. The pointer stays valid until the string next changes.
const char* ExportedGetString(int32_t id, int32_t* length);

// A new stored string owned by the mod of form's form id; -1 on failure.
int32_t ExportedCreateString(const char* text, int32_t length, uint32_t form_id,
                             uint8_t is_protected, uint8_t refuse_zero);

}  // namespace korvel
