// The game's file calls and patched code points, as the library receives
// them: the replaced CreateFileA and CloseHandle imports and the stubs at
// the rename, delete and reset points.
#include <windows.h>

#include <cstring>

#include "core/code_patch_win32.h"
#include "core/engine_win32.h"
#include "base/env.h"
#include "save/save_hook_win32.h"
#include "save/cosave_io.h"
#include "save/cosave_registries.h"
#include "save/save_hook.h"
#include "save/save_hook_stubs_win32.h"

namespace korvel {
namespace {

using CreateFileFn = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                     HANDLE);
using CloseHandleFn = BOOL(WINAPI*)(HANDLE);

CreateFileFn engine_open = nullptr;
CloseHandleFn engine_close = nullptr;

HANDLE WINAPI OpenHandler(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                          DWORD disposition, DWORD flags, HANDLE templ) noexcept {
  OpenKind kind = OpenKind::kOther;
  try {
    if (name) kind = GetSaveTraffic().BeforeOpen(name, access);
  } catch (...) {
  }
  HANDLE handle = engine_open(name, access, share, security, disposition, flags, templ);
  try {
    if (name) GetSaveTraffic().AfterOpen(kind, name, reinterpret_cast<uintptr_t>(handle));
  } catch (...) {
  }
  return handle;
}

int64_t FilePosition(HANDLE handle) {
  LARGE_INTEGER zero{}, position{};
  if (!SetFilePointerEx(handle, zero, &position, FILE_CURRENT)) return 0;
  return position.QuadPart;
}

BOOL WINAPI CloseHandler(HANDLE handle) noexcept {
  CloseAction action = CloseAction::kNone;
  std::string name;
  try {
    SaveTraffic& traffic = GetSaveTraffic();
    auto key = reinterpret_cast<uintptr_t>(handle);
    action = traffic.BeforeClose(key, [&] { return FilePosition(handle); }, SomethingToSave());
    name = action == CloseAction::kLoaded ? traffic.load_name() : traffic.save_name();
    if (action == CloseAction::kLoaded) OnSaveLoaded(name);
    if (action == CloseAction::kDeleteCoSave) GetEnv().RemoveFile(CoSaveNameOf(name));
  } catch (...) {
  }
  BOOL result = engine_close(handle);
  try {
    if (action == CloseAction::kWriteCoSave) WriteCoSaveFile(name);
  } catch (...) {
  }
  return result;
}

}  // namespace
}  // namespace korvel

extern "C" {

void KorvelRenameHandler(const char* existing, const char* renamed) noexcept {
  try {
    if (existing && renamed) korvel::OnSaveRenamed(existing, renamed);
  } catch (...) {
  }
}

void KorvelDeleteHandler(const char* name) noexcept {
  try {
    if (name) korvel::OnSaveDeleted(name);
  } catch (...) {
  }
}

void KorvelResetHandler() noexcept {
  try {
    korvel::OnResetPoint();
  } catch (...) {
  }
}

}  // extern "C"

namespace korvel {

void InstallSaveHooks() {
  abi::EngineTable* table = EngineTableOrNull();
  if (!table) return;
  if (table->import_create_file && table->import_close_handle) {
    engine_open = reinterpret_cast<CreateFileFn>(*table->import_create_file);
    engine_close = reinterpret_cast<CloseHandleFn>(*table->import_close_handle);
    if (engine_open && engine_close) {
      PatchPointer(table->import_create_file, reinterpret_cast<void*>(&OpenHandler));
      PatchPointer(table->import_close_handle, reinterpret_cast<void*>(&CloseHandler));
    }
  }

  // Rename point: the game's loads of the move's two arguments become an
  // indirect JMP through a cell holding the stub's address (FF 25: an
  // absolute cell on i386, a RIP-relative one on x86-64), padded with NOPs.
  if (uint8_t* site = table->rename_site;
      SiteMatches(site, save_sites::kRename, nullptr, sizeof save_sites::kRename)) {
    korvel_rename_stub_address = reinterpret_cast<void*>(&KorvelRenameStub);
    korvel_rename_resume = site + sizeof save_sites::kRename;
    if (void** cell = ReachableCell(site, korvel_rename_stub_address)) {
      uint8_t bytes[sizeof save_sites::kRename] = {kOpGroup5, kModRmJmpAbs};
#if defined(__x86_64__)
      uint32_t operand = Rel32(site, 6, cell);
#else
      uint32_t operand = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cell));
#endif
      std::memcpy(bytes + 2, &operand, 4);
      std::memset(bytes + 6, kOpNop, sizeof bytes - 6);
      PatchSite(site, save_sites::kRename, nullptr, bytes, sizeof bytes);
    }
  }
  // Delete point: the game's conditional copy of the name becomes CALL
  // rel32 to the stub and NOPs.
  if (uint8_t* site = table->delete_site;
      SiteMatches(site, save_sites::kDelete, nullptr, sizeof save_sites::kDelete)) {
    if (void* target = ReachableJump(site, reinterpret_cast<void*>(&KorvelDeleteStub))) {
      uint8_t bytes[sizeof save_sites::kDelete];
      std::memset(bytes, kOpNop, sizeof bytes);
      bytes[0] = kOpCallRel32;
      uint32_t rel = Rel32(site, 5, target);
      std::memcpy(bytes + 1, &rel, 4);
      PatchSite(site, save_sites::kDelete, nullptr, bytes, sizeof bytes);
    }
  }
  // Reset point: MOV ECX,[operand] becomes NOP and CALL rel32 to the stub,
  // which does the load itself. The operand is read only once the site's
  // bytes are known to be that instruction.
  if (uint8_t* site = table->reset_site; SiteMatches(site, save_sites::kReset,
                                                     save_sites::kResetMask, sizeof save_sites::kReset)) {
    uint32_t operand;
    std::memcpy(&operand, site + 2, 4);
#if defined(__x86_64__)
    korvel_reset_value_address = reinterpret_cast<uintptr_t>(site) + sizeof save_sites::kReset +
                                 static_cast<intptr_t>(static_cast<int32_t>(operand));
#else
    korvel_reset_value_address = operand;
#endif
    if (void* target = ReachableJump(site, reinterpret_cast<void*>(&KorvelResetStub))) {
      uint8_t bytes[6] = {kOpNop, kOpCallRel32};
      uint32_t rel = Rel32(site + 1, 5, target);
      std::memcpy(bytes + 2, &rel, 4);
      PatchSite(site, save_sites::kReset, save_sites::kResetMask, bytes, sizeof bytes);
    }
  }
}

}  // namespace korvel
