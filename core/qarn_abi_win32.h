// The binary interface between the Qarn host and its plug-ins: the records
// the host reads and the functions it calls. 32-bit layouts, cdecl.
#pragma once

#include <cstdint>

namespace korvel::abi {

struct ParamRecord {
  const char* display_name;
  uint32_t type_code;  // 0 string, 1 integer, 2 float, 3 base object, 4 reference
  uint32_t optional;
};

// Handler: (parameter table, script data, calling reference, containing
// object, calling script, event list, result slot, opcode offset).
using ExecuteHandler = bool(__cdecl*)(ParamRecord* params, void* script_data, void* calling_ref,
                                      void* containing_object, void* calling_script,
                                      void* event_list, double* result, uint32_t* opcode_offset);
using ParseCallback = bool(__cdecl*)(uint32_t, void*, void*, void*);

struct CommandRecord {
  const char* long_name;
  const char* short_name;  // "" when none, never null
  uint32_t opcode;
  const char* help_text;
  uint16_t flag_word;
  uint16_t param_count;
  ParamRecord* params;
  ExecuteHandler execute;
  ParseCallback parse;
  void* second_callback;
  uint32_t flags;
};

struct PluginInfoRecord {
  uint32_t info_version;
  const char* name;
  uint32_t version;
};

struct HostInterface {
  uint32_t host_version;
  uint32_t game_version;
  uint32_t editor_version;
  uint32_t editor_flag;
  bool(__cdecl* register_command)(CommandRecord* record);
  void(__cdecl* set_opcode_base)(uint32_t opcode);
  void*(__cdecl* query_interface)(uint32_t id);
  uint32_t(__cdecl* get_plugin_handle)();
};

// Event callback the plug-in registers: (message record); the host calls it
// once the game has started.
using EventCallback = void(__cdecl*)(void* message);
using RegisterEventCallback = bool(__cdecl*)(uint32_t plugin_handle, EventCallback callback);

// The event interface returned for id 1; only the fourth field is used.
struct EventInterface {
  uint32_t version;
  void* reserved1;
  void* reserved2;
  RegisterEventCallback register_callback;
};

using QueryFunction = bool(__cdecl*)(const HostInterface* host, PluginInfoRecord* info);
using LoadFunction = bool(__cdecl*)(const HostInterface* host);

}  // namespace korvel::abi
