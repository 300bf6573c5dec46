// The library's entry points: start-up when Windows loads it, the host's
// query and load, and the event callback.
#include <windows.h>
#include <shlobj.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "core/catalogue.h"
#include "core/engine_win32.h"
#include "base/env_win32.h"
#include "base/flags.h"
#include "core/frame_win32.h"
#include "core/global.h"
#include "save/save_hook_win32.h"
#include "core/qarn_abi_win32.h"
#include "hud/dx_hook_win32.h"
#include "hud/hud.h"
#include "hud/hud_graphics_d3d9.h"
#include "mods/esp_registry.h"

namespace korvel {
namespace {

constexpr uint32_t kMinHostVersion = 15;
constexpr uint32_t kGameVersion = 0x010201A0;
constexpr uint32_t kEditorVersion10 = 0x0100012F;
constexpr uint32_t kEditorVersion12 = 0x01020000;

HMODULE self_module = nullptr;
abi::EventInterface* event_interface = nullptr;
uint32_t plugin_handle = 0;

std::string ModulePath(HMODULE module) {
  char buffer[MAX_PATH + 1] = {};
  GetModuleFileNameA(module, buffer, MAX_PATH);
  return buffer;
}

void StartUp() {
  SetOwners(&GetMods());
  std::setlocale(LC_NUMERIC, "C");
  char documents[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents))) documents[0] = 0;
  SetEnv(Win32Env());
  GetFolders() = MakeFolders(ModulePath(nullptr), documents, ModulePath(self_module));
  LogCreate({std::string("Korvel Qarn Name: ") + kQarnName,
             "Korvel Filename: " + GetFolders().library_name,
             "Korvel Version: " + std::to_string(kKorvelVersion)});
  FindEngineTable();
  SetEngine(Win32Engine());
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

void __cdecl EventCallback(void*) noexcept {
  try {
    GetMods().Build();
    GetFlags().hud_suspended = false;
    GetFlags().data_reset = true;
  } catch (...) {
  }
}

// Shows message in an "Error" box and ends the process in order.
[[noreturn]] void FailAndHalt(const char* message) {
  MessageBoxA(nullptr, message, "Error", MB_ICONERROR);
  std::exit(kHaltExitCode);
}

}  // namespace

bool Query(const abi::HostInterface* host, abi::PluginInfoRecord* info) {
  info->info_version = 1;
  info->name = kQarnName;
  info->version = kKorvelVersion;

  Folders& folders = GetFolders();
  Env& env = GetEnv();
  if (env.FileExists(folders.data + "\\Qarn\\Plugins\\Qarn_Tovi_Korvel_HUD.dll") &&
      env.FileExists(folders.data + "\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll"))
    FailAndHalt(
        "Detected both HUD (.._HUD.dll) and non_HUD (...dll) Korvel dll files. Please remove "
        "one and try again.");

  if (Lower(folders.library_name) == "qarn_tovi_korvel_hud.dll") {
    GetFlags().hud_variant = true;
    // The HUD lock and lists, with the graphics that will reach the
    // game's device once it is made, then the Direct3D hooks.
    CreateHud().SetGraphics(&AsHudGraphics(GetD3d9Graphics()));
    InstallDxHooks();
    folders.library_name = "qarn_tovi_korvel.dll";
  }
  if (Lower(folders.library_name) != "qarn_tovi_korvel.dll")
    FailAndHalt("Korvel file must not be renamed to work correctly!");

  LogAppend({"Qarn Version: " + std::to_string(host->host_version)});
  if (host->host_version < kMinHostVersion) FailAndHalt("Korvel cannot be loaded!");

  if (host->editor_flag == 0) {
    event_interface = static_cast<abi::EventInterface*>(host->query_interface(1));
    // The engine table is what the library knows of this game build: an
    // executable without it is not the supported version, whatever it says.
    if (host->game_version != kGameVersion || !EngineTableOrNull())
      FailAndHalt("Korvel requires Veldmark Version 1.2.0416!");
    LogAppend({"Veldmark Version: 1.2.0416"});
    if (const char* failure = LoadCompanion(folders.library_folder + "Qarn_Tovi_Korvel.dlx"))
      FailAndHalt(failure);
    InstallSaveHooks();
    LogAppend({""});
  } else {
    abi::EngineTable* table = EngineTableOrNull();
    // Without the engine table the editor's parse routines are unknown and
    // no command could compile.
    bool failed = table == nullptr;
    std::vector<std::string> lines;
    if (host->editor_version == kEditorVersion10) {
      lines.push_back("Editor Version: 1.0");
      if (table) SetDefaultParse(table->default_parse_editor_1_0);
    } else if (host->editor_version == kEditorVersion12) {
      lines.push_back("Editor Version: 1.2");
      if (table) SetDefaultParse(table->default_parse_editor_1_2);
    } else {
      failed = true;
    }
    lines.push_back("");
    LogAppend(lines);
    if (failed) FailAndHalt("Korvel cannot be loaded!");
  }
  return true;
}

bool Load(const abi::HostInterface* host) {
  plugin_handle = host->get_plugin_handle();
  std::vector<std::string> lines = {
      "Korvel command list:",
      "Name               HelpText                                                         "
      "Opcode(h) Opcode",
      std::string(100, '-')};
  abi::CommandRecord* records = CommandRecords();
  for (const OpcodeBlock& block : kOpcodeBlocks) {
    uint16_t opcode = block.base;
    host->set_opcode_base(opcode);
    for (size_t i = block.first; i < block.first + block.count; ++i, ++opcode) {
      host->register_command(&records[i]);
      lines.push_back(CommandLogLine(records[i].long_name, records[i].help_text, opcode));
      if (records[i].short_name[0] != '\0')
        lines.push_back(CommandLogLine(records[i].short_name, records[i].help_text, opcode));
    }
  }
  lines.push_back(std::string(100, '-'));
  lines.push_back("");
  LogAppend(lines);
  if (host->editor_flag == 0 && event_interface && event_interface->register_callback)
    event_interface->register_callback(plugin_handle, &EventCallback);
  return true;
}

}  // namespace korvel

extern "C" {

__declspec(dllexport) bool __cdecl QarnPlugin_Query(const korvel::abi::HostInterface* host,
                                                    korvel::abi::PluginInfoRecord* info) noexcept {
  try {
    return korvel::Query(host, info);
  } catch (...) {
    // A query cut short has not made its checks: the host must not go on
    // with this library.
    return false;
  }
}

__declspec(dllexport) bool __cdecl QarnPlugin_Load(const korvel::abi::HostInterface* host) noexcept {
  try {
    return korvel::Load(host);
  } catch (...) {
    return true;
  }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    korvel::self_module = instance;
    try {
      korvel::StartUp();
    } catch (...) {
    }
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded while the game goes on; at process exit nothing is released.
    // The HUD's elements go first, then its hold on the game's device.
    if (korvel::Hud* hud = korvel::GetHud()) {
      hud->ClearHudS();
      hud->ClearHudT();
      korvel::DetachDevice(korvel::GetD3d9Graphics());
    }
    korvel::ReleaseCompanion();
  }
  return TRUE;
}

}  // extern "C"
