// The stand-in Qarn host: the host interface, the opcode table of what
// plug-ins registered, plug-in loading and the game-started event.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/qarn_abi_win32.h"

namespace standin {

struct HostSettings {
  uint32_t host_version = 21;
  uint32_t game_version = 0x010201A0;
  uint32_t editor_version = 0;
  uint32_t editor_flag = 0;
};

struct LoadedPlugin {
  std::string file;
  HMODULE module = nullptr;
};

class Host {
 public:
  explicit Host(const HostSettings& settings);

  // Loads every DLL in plugin_folder, queries each, then loads each.
  void LoadPlugins(const std::string& plugin_folder);
  // Fires the registered event callbacks: the game has started.
  void GameStarted();

  // The record registered at an opcode, or null.
  const korvel::abi::CommandRecord* AtOpcode(uint32_t opcode) const;
  // The record registered under a name or alias (letter case ignored).
  const korvel::abi::CommandRecord* ByName(const std::string& name) const;
  const std::map<uint32_t, const korvel::abi::CommandRecord*>& opcodes() const;
  const std::vector<LoadedPlugin>& plugins() const;

 private:
  korvel::abi::HostInterface interface_{};
};

// The one host of the process (the interface's functions are plain C).
Host& GetHost();

// Intercepts what the game must print instead of showing: MessageBoxA, and
// the shell's documents folder, which lies inside the game folder.
void InstallProcessHooks(const std::string& documents_folder);

}  // namespace standin
