// The engine pointer table: every game-engine function and byte the
// library uses, at its fixed place in the game. The game's values are not
// compiled in; the table is taken from the host executable's export
// "VeldmarkEngineTable" at start (engine_win32.cpp).
#pragma once

#include <cstdint>

#include "core/qarn_abi_win32.h"

namespace korvel::abi {

// Form records begin with these fields.
inline constexpr uint32_t kFormFlagsOffset = 0x08;
inline constexpr uint32_t kFormIdOffset = 0x0C;

// 2: the HUD's places in the frame code were added.
inline constexpr uint32_t kEngineTableVersion = 2;

struct EngineTable {
  uint32_t version;  // kEngineTableVersion
  uint32_t size;     // sizeof(EngineTable)

  // (parameter table, script data, opcode offset, calling reference,
  //  containing object, calling script, event list, one pointer per parameter)
  bool(__cdecl* extract_args)(ParamRecord*, void*, uint32_t*, void*, void*, void*, void*, ...);
  ParseCallback default_parse_game;
  ParseCallback default_parse_editor_1_0;
  ParseCallback default_parse_editor_1_2;

  void*(__cdecl* lookup_form)(uint32_t form_id);
  void(__cdecl* show_message)(const char* text, uint32_t, uint32_t, float);
  void(__cdecl* console_print)(const char* text);
  // (text, callback, 0, button texts..., 0)
  bool(__cdecl* message_box)(const char* text, void* callback, uint32_t, ...);
  void* message_box_callback;
  uint8_t* message_box_state;
  uint32_t* message_box_owner;

  bool(__cdecl* mode_query)(uint32_t mode);
  uint32_t(__cdecl* scan_code_to_char)(uint32_t scan_code, uint32_t upper_case);
  uint8_t* draw_gate;
  uint8_t* mode_flag;
  uint8_t* sub_mode_flag;
  // Rows of 512 one-byte entries; the row is chosen by *key_layout_index.
  const uint8_t* key_char_table;
  const uint32_t* key_layout_index;

  // The game's import-table slots for CreateFileA and CloseHandle.
  void** import_create_file;
  void** import_close_handle;
  // Code sites patched with 4-byte writes (save rename, save delete, reset).
  uint8_t* rename_site;
  uint8_t* delete_site;
  uint8_t* reset_site;

  // The Direct3D frame, for the HUD.
  // CALL rel32 the engine makes right after creating its IDirect3D9, with
  // that object as the first argument.
  uint8_t* d3d_object_site;
  // The routine the engine presents a frame through: bool (*)().
  void** present_routine;
  // The device of the engine's renderer (an IDirect3DDevice9*).
  void** renderer_device;
  // JE rel32 (0F 84) that skips the engine's final-pass work.
  uint8_t* final_pass_site;
  // The 7-byte CALL [EAX+Reset] (FF 94 20 disp32) of IDirect3DDevice9::Reset.
  uint8_t* reset_call_site;
  // CMP DWORD [field],0 then JNE rel8: the early pass is armed when the
  // field is 0.
  uint8_t* early_arm_site;
  // CALL EAX then MOV EAX,[ESP+disp8]: the point the armed early pass runs at.
  uint8_t* early_point_site;
};

}  // namespace korvel::abi
