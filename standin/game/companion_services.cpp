// What the stand-in game offers its companion library: the companion's
// exports forward here (the game executable exports these by name).
#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "game/world.h"
#include "core/qarn_abi_win32.h"

using standin::Form;
using standin::GetWorld;
using standin::World;

extern "C" {

__declspec(dllexport) bool __cdecl StandinDecodeArgs(const void* params, const void* script_data,
                                                     void** out) {
  auto* call = static_cast<const standin::ScriptCall*>(script_data);
  return call && standin::DecodeArgs(params, 23, call, out);
}

__declspec(dllexport) uint32_t __cdecl StandinArgCount(const void* script_data) {
  auto* call = static_cast<const standin::ScriptCall*>(script_data);
  return call ? static_cast<uint32_t>(call->args.size()) : 0;
}

__declspec(dllexport) uint32_t __cdecl StandinModCount() {
  return static_cast<uint32_t>(GetWorld().mods.size());
}

__declspec(dllexport) const char* __cdecl StandinModName(uint32_t index) {
  const auto& mods = GetWorld().mods;
  return index < mods.size() ? mods[index].c_str() : "";
}

// Names of forms; without a form the calling reference's object is meant.
__declspec(dllexport) const char* __cdecl StandinGetName(void* ref, void* form) {
  void* object = form ? form : ref;
  return object ? static_cast<Form*>(object)->name.c_str() : "";
}

__declspec(dllexport) void __cdecl StandinSetName(void* ref, void* form, const char* name) {
  void* object = form ? form : ref;
  if (object && name) static_cast<Form*>(object)->name = name;
}

__declspec(dllexport) void* __cdecl StandinBaseObject(void* form) {
  return form ? static_cast<Form*>(form)->base : nullptr;
}

__declspec(dllexport) bool __cdecl StandinCloseMenu(uint32_t menu_type) {
  char line[64];
  std::snprintf(line, sizeof line, "menu closed: %u", menu_type);
  World::Print(line);
  // Menu types above 0x3FF are no menus of this game.
  return menu_type <= 0x3FF;
}

__declspec(dllexport) bool __cdecl StandinRunScriptLine(const char* line) {
  World::Print(std::string("script line: ") + (line ? line : ""));
  return true;
}

}  // extern "C"
