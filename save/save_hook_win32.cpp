// The game's file calls and patched code points, as the library receives
// them: the replaced CreateFileA and CloseHandle imports and the stubs at
// the rename, delete and reset points.
#include <windows.h>

#include <cstring>
#include <string>

#include "core/code_patch_win32.h"
#include "core/engine_win32.h"
#include "core/global.h"
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
namespace {

// One code site's patch: where, what the game has there (mask: 0 skips a
// byte) and what replaces it. size 0 means not prepared.
struct SitePatch {
  const char* point;
  uint8_t* site = nullptr;
  const uint8_t* expected = nullptr;
  const uint8_t* mask = nullptr;
  uint8_t bytes[16] = {};
  uint8_t original[16] = {};
  size_t size = 0;
};

void LogRefused(const char* point, const char* why) {
  try {
    LogAppend({std::string("Code patch refused at the ") + point + ": " + why});
  } catch (...) {
  }
}

// Checks a site's bytes before anything is read from it or written to it.
bool Matches(SitePatch& p, uint8_t* site, const uint8_t* expected, const uint8_t* mask,
             size_t size) {
  p.site = site;
  p.expected = expected;
  p.mask = mask;
  if (!SiteMatches(site, expected, mask, size)) {
    LogRefused(p.point, "the game's code there is not what Korvel expects");
    return false;
  }
  std::memcpy(p.original, site, size);
  return true;
}

// Rename point: the game's loads of the move's two arguments become an
// indirect JMP through a cell holding the stub's address (FF 25: an
// absolute cell on i386, a RIP-relative one on x86-64), padded with NOPs.
bool PrepareRename(SitePatch& p, uint8_t* site) {
  constexpr size_t n = sizeof save_sites::kRename;
  if (!Matches(p, site, save_sites::kRename, nullptr, n)) return false;
  korvel_rename_stub_address = reinterpret_cast<void*>(&KorvelRenameStub);
  void** cell = ReachableCell(site, korvel_rename_stub_address);
  if (!cell) {
    LogRefused(p.point, "no memory within reach for the jump");
    return false;
  }
  korvel_rename_resume = site + n;
  p.bytes[0] = kOpGroup5;
  p.bytes[1] = kModRmJmpAbs;
#if defined(__x86_64__)
  uint32_t operand = Rel32(site, 6, cell);
#else
  uint32_t operand = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cell));
#endif
  std::memcpy(p.bytes + 2, &operand, 4);
  std::memset(p.bytes + 6, kOpNop, n - 6);
  p.size = n;
  return true;
}

// Delete point: the game's conditional copy of the name becomes CALL
// rel32 to the stub and NOPs.
bool PrepareDelete(SitePatch& p, uint8_t* site) {
  constexpr size_t n = sizeof save_sites::kDelete;
  if (!Matches(p, site, save_sites::kDelete, nullptr, n)) return false;
  void* target = ReachableJump(site, reinterpret_cast<void*>(&KorvelDeleteStub));
  if (!target) {
    LogRefused(p.point, "no memory within reach for the call");
    return false;
  }
  std::memset(p.bytes, kOpNop, n);
  p.bytes[0] = kOpCallRel32;
  uint32_t rel = Rel32(site, 5, target);
  std::memcpy(p.bytes + 1, &rel, 4);
  p.size = n;
  return true;
}

// Reset point: MOV ECX,[operand] becomes NOP and CALL rel32 to the stub,
// which does the load itself. The operand is read only once the site's
// bytes are known to be that instruction.
bool PrepareReset(SitePatch& p, uint8_t* site) {
  constexpr size_t n = sizeof save_sites::kReset;
  if (!Matches(p, site, save_sites::kReset, save_sites::kResetMask, n)) return false;
  void* target = ReachableJump(site, reinterpret_cast<void*>(&KorvelResetStub));
  if (!target) {
    LogRefused(p.point, "no memory within reach for the call");
    return false;
  }
  uint32_t operand;
  std::memcpy(&operand, site + 2, 4);
#if defined(__x86_64__)
  korvel_reset_value_address = reinterpret_cast<uintptr_t>(site) + n +
                               static_cast<intptr_t>(static_cast<int32_t>(operand));
#else
  korvel_reset_value_address = operand;
#endif
  p.bytes[0] = kOpNop;
  p.bytes[1] = kOpCallRel32;
  uint32_t rel = Rel32(site + 1, 5, target);
  std::memcpy(p.bytes + 2, &rel, 4);
  p.size = n;
  return true;
}

}  // namespace

// All or nothing: the file hooks write and read co-saves, and the three
// code points keep them paired with their saves and drop the data at the
// reset point; with one of them missing a co-save would follow the wrong
// save or carry one game's objects into another. So every site is checked
// first, the code points are patched next (undone when one write fails)
// and the imports last.
void InstallSaveHooks() {
  abi::EngineTable* table = EngineTableOrNull();
  if (!table) return;
  SitePatch sites[3] = {{"rename point"}, {"delete point"}, {"reset point"}};
  bool ready = PrepareRename(sites[0], table->rename_site) &&
               PrepareDelete(sites[1], table->delete_site) &&
               PrepareReset(sites[2], table->reset_site);
  if (ready && !(table->import_create_file && table->import_close_handle &&
                 *table->import_create_file && *table->import_close_handle)) {
    LogRefused("file imports", "the game's CreateFileA or CloseHandle entry is missing");
    ready = false;
  }
  size_t done = 0;
  while (ready && done < 3) {
    SitePatch& p = sites[done];
    if (!PatchSite(p.site, p.expected, p.mask, p.bytes, p.size)) {
      LogRefused(p.point, "the code could not be made writable");
      ready = false;
      break;
    }
    ++done;
  }
  if (ready) {
    engine_open = reinterpret_cast<CreateFileFn>(*table->import_create_file);
    engine_close = reinterpret_cast<CloseHandleFn>(*table->import_close_handle);
    if (PatchPointer(table->import_create_file, reinterpret_cast<void*>(&OpenHandler))) {
      if (PatchPointer(table->import_close_handle, reinterpret_cast<void*>(&CloseHandler))) return;
      PatchPointer(table->import_create_file, reinterpret_cast<void*>(engine_open));
    }
    LogRefused("file imports", "the import table could not be made writable");
  }
  while (done > 0) {
    SitePatch& p = sites[--done];
    PatchSite(p.site, p.bytes, nullptr, p.original, p.size);
  }
  try {
    LogAppend({"Save hooks not installed: Korvel data is not saved with the game."});
  } catch (...) {
  }
}

}  // namespace korvel
