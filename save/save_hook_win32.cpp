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
#include "save/save_hook.h"

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
    if (action == CloseAction::kWriteCoSave) WriteCoSave(name);
  } catch (...) {
  }
  return result;
}

}  // namespace
}  // namespace korvel

extern "C" {

// Read by the stubs below.
void* korvel_rename_stub_address = nullptr;
void* korvel_rename_resume = nullptr;
uint32_t korvel_reset_value_address = 0;

void __cdecl KorvelRenameHandler(const char* existing, const char* renamed) noexcept {
  try {
    if (existing && renamed) korvel::OnSaveRenamed(existing, renamed);
  } catch (...) {
  }
}

void __cdecl KorvelDeleteHandler(const char* name) noexcept {
  try {
    if (name) korvel::OnSaveDeleted(name);
  } catch (...) {
  }
}

void __cdecl KorvelResetHandler() noexcept {
  try {
    korvel::OnResetPoint();
  } catch (...) {
  }
}

void KorvelRenameStub();
void KorvelDeleteStub();
void KorvelResetStub();

}  // extern "C"

// The stubs replay what the patched game instructions did around a call of
// their handler.
asm(R"(
    .text
    .globl _KorvelRenameStub
_KorvelRenameStub:
    pushl 12(%ebp)            # the game's two pushes: new name,
    pushl 8(%ebp)             # then existing name
    pushal
    pushl 36(%esp)            # new name
    pushl 36(%esp)            # existing name
    call _KorvelRenameHandler
    addl $8, %esp
    popal
    jmp *_korvel_rename_resume

    .globl _KorvelDeleteStub
_KorvelDeleteStub:
    cmpl $0, 8(%ebp)          # the game's conditional copy of the name
    cmovne %eax, %esi
    pushfl
    pushal
    pushl %esi                # the name about to be deleted
    call _KorvelDeleteHandler
    addl $4, %esp
    popal
    popfl
    ret

    .globl _KorvelResetStub
_KorvelResetStub:
    pushfl
    pushal
    call _KorvelResetHandler
    popal
    popfl
    movl _korvel_reset_value_address, %ecx
    movl (%ecx), %ecx         # the game's load
    ret
)");

namespace korvel {

void InstallSaveHooks() {
  abi::EngineTable* table = EngineTableOrNull();
  if (!table) return;
  if (table->import_create_file && table->import_close_handle) {
    engine_open = reinterpret_cast<CreateFileFn>(*table->import_create_file);
    engine_close = reinterpret_cast<CloseHandleFn>(*table->import_close_handle);
    if (engine_open && engine_close) {
      Patch4(table->import_create_file,
             static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&OpenHandler)));
      Patch4(table->import_close_handle,
             static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&CloseHandler)));
    }
  }

  // Rename point: two 3-byte pushes (FF 75 0C, FF 75 08) become JMP [abs32].
  if (uint8_t* site = table->rename_site) {
    static const uint8_t expected[6] = {0xFF, 0x75, 0x0C, 0xFF, 0x75, 0x08};
    korvel_rename_stub_address = reinterpret_cast<void*>(&KorvelRenameStub);
    korvel_rename_resume = site + 6;
    uint8_t bytes[6] = {kOpGroup5, kModRmJmpAbs};
    uint32_t pointer = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&korvel_rename_stub_address));
    std::memcpy(bytes + 2, &pointer, 4);
    PatchSite(site, expected, nullptr, bytes, sizeof bytes);
  }
  // Delete point: CMP DWORD [EBP+8],0 (83 7D 08 00) and CMOVNE ESI,EAX
  // (0F 45 F0) become CALL rel32 and two NOPs.
  if (uint8_t* site = table->delete_site) {
    static const uint8_t expected[7] = {0x83, 0x7D, 0x08, 0x00, 0x0F, 0x45, 0xF0};
    uint8_t bytes[7] = {kOpCallRel32, 0, 0, 0, 0, kOpNop, kOpNop};
    uint32_t rel = Rel32(site, 5, reinterpret_cast<void*>(&KorvelDeleteStub));
    std::memcpy(bytes + 1, &rel, 4);
    PatchSite(site, expected, nullptr, bytes, sizeof bytes);
  }
  // Reset point: MOV ECX,[abs32] (8B 0D xxxxxxxx) becomes NOP and CALL rel32.
  if (uint8_t* site = table->reset_site) {
    static const uint8_t expected[6] = {0x8B, 0x0D, 0, 0, 0, 0};
    static const uint8_t mask[6] = {1, 1, 0, 0, 0, 0};
    std::memcpy(&korvel_reset_value_address, site + 2, 4);
    uint8_t bytes[6] = {kOpNop, kOpCallRel32};
    uint32_t rel = Rel32(site + 1, 5, reinterpret_cast<void*>(&KorvelResetStub));
    std::memcpy(bytes + 2, &rel, 4);
    PatchSite(site, expected, mask, bytes, sizeof bytes);
  }
}

}  // namespace korvel
