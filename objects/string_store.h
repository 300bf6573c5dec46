// The string store (ObString): stored strings in an ID list, the 100
// temporary strings, and the built-in read-only strings. Commands read a
// string argument with ResolveSource and write one with ResolveTarget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "objects/id_list.h"

namespace korvel {

struct StringR {
  uint8_t EspID = 0;
  uint8_t Protected = 0;
  std::string Text;  // any bytes, 0 included; c_str() gives the trailing zero

  // Records come from the string store's pool (string_store.cpp).
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size) noexcept;
};

using TStringIDList = IdList<StringR>;

inline constexpr int32_t kFirstTemporary = -2099;
inline constexpr int32_t kLastTemporary = -2000;

TStringIDList& GetStrings();

struct TStringToken {
  bool Found = false;
  std::string Text;
};

bool IsTemporary(int32_t id);
// The built-in or temporary string of an id; Found false for ids >= 0 and
// negative ids not in the table.
TStringToken BuiltInLookup(int32_t id);
// The text a command reads: built-in, temporary or stored; nothing when
// the id names no string.
std::optional<std::string> ResolveSource(int32_t id);
// The string a command writes: a temporary string, or a valid stored string
// the caller may access; null otherwise.
std::string* ResolveTarget(uint32_t script_form_id, int32_t id, int32_t global);
// The temporary string of a temporary id (IsTemporary must hold).
std::string& Temporary(int32_t id);

// Creates a stored string; -1 on failure.
int32_t CreateString(int32_t esp_id, std::string text, bool is_protected, bool refuse_zero);
// Destroys every stored string and empties the temporaries.
void ClearAllStrings();

// Date and time formatting of the built-in strings ("dd/mm/yyyy",
// "hh:nn:ss", ...), with the locale's separators.
std::string FormatDateTime(const std::string& format);

}  // namespace korvel
