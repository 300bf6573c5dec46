// The ten exports of the companion library "Qarn_Tovi_Korvel.dlx" (cdecl).
#pragma once

#include <cstdint>

#include "core/qarn_abi_win32.h"

namespace korvel::abi {

inline constexpr uint32_t kCompanionVersion = 122;

using ExtractArgsExOldFn = bool(__cdecl*)(ParamRecord* params, void* script_data,
                                          uint32_t* opcode_offset, void* calling_script,
                                          void* event_list, ...);
using GetDlxVerFn = uint32_t(__cdecl*)();
using SetNameFn = void(__cdecl*)(void* calling_ref, void* form, const char* name);
using GetNameFn = const char*(__cdecl*)(void* calling_ref, void* form);
using GetActiveModNameFn = const char*(__cdecl*)(uint32_t mod_index);
using GetActiveModCountFn = uint32_t(__cdecl*)();
// (2, output buffer of kFormatTextBuffer bytes, parameter table, script data, opcode
//  offset, calling script, event list, 23, out StringID, out Global)
using ExtractFormatStringArgsFn = bool(__cdecl*)(uint32_t, char* buffer, ParamRecord* params,
                                                 void* script_data, uint32_t* opcode_offset,
                                                 void* calling_script, void* event_list,
                                                 uint32_t max_args, int32_t* string_id,
                                                 int32_t* global);
using RunScriptLineFn = bool(__cdecl*)(const char* line);
using CloseMenuFn = bool(__cdecl*)(uint32_t menu_type);
using GetBaseObjectFn = void*(__cdecl*)(void* form);

struct Companion {
  ExtractArgsExOldFn ExtractArgsExOld;
  GetDlxVerFn GetDlxVer;
  SetNameFn SetName;
  GetNameFn GetName;
  GetActiveModNameFn GetActiveModName;
  GetActiveModCountFn GetActiveModCount;
  ExtractFormatStringArgsFn ExtractFormatStringArgs;
  RunScriptLineFn RunScriptLine;
  CloseMenuFn CloseMenu;
  GetBaseObjectFn GetBaseObject;
};

}  // namespace korvel::abi
