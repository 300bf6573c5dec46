// The stand-in companion library "Qarn_Tovi_Korvel.dlx". Its ten exports
// answer from the stand-in game, which exports what they need.
// STANDIN_DLX_VERSION and STANDIN_DLX_INCOMPLETE build the broken variants
// the start-up checks must refuse.
#include <windows.h>

#include <cstdarg>
#include <cstdint>

#include "core/qarn_abi_win32.h"
#include "format_string.h"

#ifndef STANDIN_DLX_VERSION
#define STANDIN_DLX_VERSION 122
#endif

namespace {

template <class Fn>
Fn Game(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), name)));
}

}  // namespace

extern "C" {

__declspec(dllexport) bool __cdecl ExtractArgsExOld(korvel::abi::ParamRecord* params,
                                                    void* script_data, uint32_t*, void*,
                                                    void* event_list, ...) {
  va_list ap;
  va_start(ap, event_list);
  void* out[23];
  for (void*& p : out) p = va_arg(ap, void*);
  va_end(ap);
  auto decode = Game<bool(__cdecl*)(const void*, const void*, void**)>("StandinDecodeArgs");
  return decode && decode(params, script_data, out);
}

__declspec(dllexport) uint32_t __cdecl GetDlxVer() { return STANDIN_DLX_VERSION; }

__declspec(dllexport) void __cdecl SetName(void* ref, void* form, const char* name) {
  if (auto f = Game<void(__cdecl*)(void*, void*, const char*)>("StandinSetName")) f(ref, form, name);
}

__declspec(dllexport) const char* __cdecl GetName(void* ref, void* form) {
  auto f = Game<const char*(__cdecl*)(void*, void*)>("StandinGetName");
  return f ? f(ref, form) : "";
}

__declspec(dllexport) const char* __cdecl GetActiveModName(uint32_t index) {
  auto f = Game<const char*(__cdecl*)(uint32_t)>("StandinModName");
  return f ? f(index) : "";
}

__declspec(dllexport) uint32_t __cdecl GetActiveModCount() {
  auto f = Game<uint32_t(__cdecl*)()>("StandinModCount");
  return f ? f() : 0;
}

#ifndef STANDIN_DLX_INCOMPLETE
__declspec(dllexport) bool __cdecl ExtractFormatStringArgs(uint32_t format_index, char* buffer,
                                                           korvel::abi::ParamRecord* params,
                                                           void* script_data, uint32_t*, void*,
                                                           void*, uint32_t param_count,
                                                           int32_t* string_id, int32_t* global) {
  // The output buffer of 16,385 bytes.
  constexpr size_t kCapacity = 16385;
  if (!buffer) return false;
  buffer[0] = '\0';
  if (format_index != 2 || param_count != 23 || !string_id || !global) return false;
  auto decode = Game<bool(__cdecl*)(const void*, const void*, void**)>("StandinDecodeArgs");
  auto arg_count = Game<uint32_t(__cdecl*)(const void*)>("StandinArgCount");
  if (!decode || !arg_count) return false;
  uint32_t given = arg_count(script_data);
  if (given < 3 || given > 23) return false;
  // The engine copies a literal of up to 65,535 characters and its zero.
  static char format[0x10000];
  float values[20] = {};
  void* out[23] = {string_id, global, format};
  for (size_t i = 0; i < 20; ++i) out[3 + i] = &values[i];
  if (!decode(params, script_data, out)) return false;
  return standin::ExpandFormat(format, values, given - 3, buffer, kCapacity);
}
#endif

__declspec(dllexport) bool __cdecl RunScriptLine(const char* line) {
  auto f = Game<bool(__cdecl*)(const char*)>("StandinRunScriptLine");
  return f && f(line);
}

__declspec(dllexport) bool __cdecl CloseMenu(uint32_t menu_type) {
  auto f = Game<bool(__cdecl*)(uint32_t)>("StandinCloseMenu");
  return f && f(menu_type);
}

__declspec(dllexport) void* __cdecl GetBaseObject(void* form) {
  auto f = Game<void*(__cdecl*)(void*)>("StandinBaseObject");
  return f ? f(form) : nullptr;
}

}  // extern "C"
