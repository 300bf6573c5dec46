#include "game/host.h"

#include <shlobj.h>

#include <cstring>

#include "game/world.h"

namespace standin {

namespace abi = korvel::abi;

namespace {

Host* the_host = nullptr;
uint32_t next_opcode = 0;
std::map<uint32_t, const abi::CommandRecord*> opcode_table;
std::vector<LoadedPlugin> loaded;
std::vector<abi::EventCallback> event_callbacks;
uint32_t current_plugin = 0;
// The info record of the query in progress, shown when a plug-in ends the
// process from inside its query.
abi::PluginInfoRecord* querying_info = nullptr;

bool __cdecl RegisterCommand(abi::CommandRecord* record) {
  if (!record || next_opcode == 0) return false;
  record->opcode = next_opcode;
  bool fresh = opcode_table.emplace(next_opcode, record).second;
  ++next_opcode;
  return fresh;
}

void __cdecl SetOpcodeBase(uint32_t opcode) { next_opcode = opcode; }

bool __cdecl RegisterEventCallback(uint32_t, abi::EventCallback callback) {
  if (callback) event_callbacks.push_back(callback);
  return callback != nullptr;
}

abi::EventInterface event_interface = {1, nullptr, nullptr, &RegisterEventCallback};

void* __cdecl QueryInterface(uint32_t id) { return id == 1 ? &event_interface : nullptr; }

uint32_t __cdecl GetPluginHandle() { return current_plugin; }

bool EqualsIgnoreCase(const std::string& a, const char* b) {
  return b && _stricmp(a.c_str(), b) == 0;
}

}  // namespace

Host& GetHost() { return *the_host; }

Host::Host(const HostSettings& s) {
  the_host = this;
  interface_.host_version = s.host_version;
  interface_.game_version = s.game_version;
  interface_.editor_version = s.editor_version;
  interface_.editor_flag = s.editor_flag;
  interface_.register_command = &RegisterCommand;
  interface_.set_opcode_base = &SetOpcodeBase;
  interface_.query_interface = &QueryInterface;
  interface_.get_plugin_handle = &GetPluginHandle;
}

void Host::LoadPlugins(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.dll").c_str(), &found);
  std::vector<std::string> files;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  struct Ready {
    LoadedPlugin plugin;
    abi::LoadFunction load;
    uint32_t handle;
  };
  std::vector<Ready> ready;
  for (const std::string& file : files) {
    HMODULE module = LoadLibraryA((folder + file).c_str());
    if (!module) {
      World::Print("host: cannot load " + file);
      continue;
    }
    auto query = reinterpret_cast<abi::QueryFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "QarnPlugin_Query")));
    auto load = reinterpret_cast<abi::LoadFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "QarnPlugin_Load")));
    if (!query || !load) {
      FreeLibrary(module);
      continue;
    }
    abi::PluginInfoRecord info{0xFFFFFFFF, nullptr, 0xFFFFFFFF};
    current_plugin = static_cast<uint32_t>(loaded.size() + ready.size() + 1);
    querying_info = &info;
    bool accepted = query(&interface_, &info);
    querying_info = nullptr;
    if (!accepted) {
      World::Print("host: " + file + " refused to load");
      FreeLibrary(module);
      continue;
    }
    ready.push_back({{file, module}, load, current_plugin});
  }
  for (Ready& r : ready) {
    current_plugin = r.handle;
    r.load(&interface_);
    loaded.push_back(r.plugin);
  }
}

void Host::GameStarted() {
  for (abi::EventCallback callback : event_callbacks) callback(nullptr);
}

const abi::CommandRecord* Host::AtOpcode(uint32_t opcode) const {
  auto it = opcode_table.find(opcode);
  return it == opcode_table.end() ? nullptr : it->second;
}

const abi::CommandRecord* Host::ByName(const std::string& name) const {
  for (const auto& [opcode, record] : opcode_table) {
    if (EqualsIgnoreCase(name, record->long_name)) return record;
    if (record->short_name && record->short_name[0] && EqualsIgnoreCase(name, record->short_name))
      return record;
  }
  return nullptr;
}

const std::map<uint32_t, const abi::CommandRecord*>& Host::opcodes() const { return opcode_table; }
const std::vector<LoadedPlugin>& Host::plugins() const { return loaded; }

namespace {

std::string documents;

int WINAPI PrintedMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT style) {
  if (querying_info) {
    World::Print("host: info record " + std::to_string(querying_info->info_version) + " \"" +
                 (querying_info->name ? querying_info->name : "(null)") + "\" " +
                 std::to_string(querying_info->version) + ", message box style " +
                 std::to_string(style));
  }
  World::Print(std::string("message box \"") + (caption ? caption : "") + "\": " +
               (text ? text : ""));
  return IDOK;
}

HRESULT WINAPI GameDocumentsFolder(HWND, int csidl, HANDLE, DWORD, LPSTR path) {
  if ((csidl & 0xFF) != CSIDL_PERSONAL || documents.size() >= MAX_PATH) return E_FAIL;
  std::strcpy(path, documents.c_str());
  return S_OK;
}

// Overwrites the start of a function with a jump to its replacement:
// E9 xxxxxxxx (JMP rel32) on i386; FF 25 00000000 and the 64-bit address
// (JMP [RIP+0]) on x86-64, where the replacement may lie beyond rel32's reach.
void Redirect(const char* dll, const char* name, void* replacement) {
  HMODULE module = LoadLibraryA(dll);
  auto* target = reinterpret_cast<uint8_t*>(GetProcAddress(module, name));
  if (!target) return;
#if defined(__x86_64__)
  uint8_t jump[14] = {0xFF, 0x25, 0, 0, 0, 0};
  std::memcpy(jump + 6, &replacement, 8);
#else
  uint8_t jump[5] = {0xE9};
  int32_t rel = static_cast<int32_t>(reinterpret_cast<uint8_t*>(replacement) - (target + 5));
  std::memcpy(jump + 1, &rel, 4);
#endif
  DWORD old_protection;
  if (!VirtualProtect(target, sizeof jump, PAGE_EXECUTE_READWRITE, &old_protection)) return;
  std::memcpy(target, jump, sizeof jump);
  VirtualProtect(target, sizeof jump, old_protection, &old_protection);
  FlushInstructionCache(GetCurrentProcess(), target, sizeof jump);
}

}  // namespace

void InstallProcessHooks(const std::string& documents_folder) {
  documents = documents_folder;
  Redirect("user32.dll", "MessageBoxA", reinterpret_cast<void*>(&PrintedMessageBox));
  Redirect("shell32.dll", "SHGetFolderPathA", reinterpret_cast<void*>(&GameDocumentsFolder));
}

}  // namespace standin
