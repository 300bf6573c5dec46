#include "game/saves.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "game/imports.h"
#include "game/world.h"
#include "core/engine_table_win32.h"

extern "C" korvel::abi::EngineTable VeldmarkEngineTable;

extern "C" {
// The game's code points (below): each runs through a site the plug-in may
// patch.
BOOL __cdecl StandinRenameSave(const char* from, const char* to);
BOOL __cdecl StandinDeleteSave(const char* name);
uint32_t __cdecl StandinResetPoint();
extern uint8_t StandinRenameSite[];
extern uint8_t StandinDeleteSite[];
extern uint8_t StandinResetSite[];
uint32_t standin_reset_value = 0x1E55;
}

#if defined(__x86_64__)
asm(R"(
    .text
    .globl StandinRenameSave
StandinRenameSave:
    pushq %rbp
    movq %rsp, %rbp
    subq $32, %rsp            # shadow space of the move
    movq %rcx, 16(%rbp)       # home of the two arguments
    movq %rdx, 24(%rbp)
    .globl StandinRenameSite
StandinRenameSite:
    movq 16(%rbp), %rcx
    movq 24(%rbp), %rdx
    call *__imp_MoveFileA(%rip)
    leave
    ret

    .globl StandinDeleteSave
StandinDeleteSave:
    pushq %rbp
    movq %rsp, %rbp
    pushq %rsi
    subq $40, %rsp
    movq %rcx, 16(%rbp)
    xorl %esi, %esi
    movq %rcx, %rax
    .globl StandinDeleteSite
StandinDeleteSite:
    cmpq $0, 16(%rbp)
    cmovneq %rax, %rsi
    movq %rsi, %rcx
    call *__imp_DeleteFileA(%rip)
    addq $40, %rsp
    popq %rsi
    popq %rbp
    ret

    .globl StandinResetPoint
StandinResetPoint:
    .globl StandinResetSite
StandinResetSite:
    movl standin_reset_value(%rip), %ecx
    movl %ecx, %eax
    ret
)");
#else
asm(R"(
    .text
    .globl _StandinRenameSave
_StandinRenameSave:
    pushl %ebp
    movl %esp, %ebp
    .globl _StandinRenameSite
_StandinRenameSite:
    pushl 12(%ebp)
    pushl 8(%ebp)
    call *__imp__MoveFileA@8
    popl %ebp
    ret

    .globl _StandinDeleteSave
_StandinDeleteSave:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    xorl %esi, %esi
    movl 8(%ebp), %eax
    .globl _StandinDeleteSite
_StandinDeleteSite:
    cmpl $0, 8(%ebp)
    cmovne %eax, %esi
    pushl %esi
    call *__imp__DeleteFileA@4
    popl %esi
    popl %ebp
    ret

    .globl _StandinResetPoint
_StandinResetPoint:
    .globl _StandinResetSite
_StandinResetSite:
    movl _standin_reset_value, %ecx
    movl %ecx, %eax
    ret
)");
#endif

namespace standin {
namespace {

std::string saves_folder;
uint32_t save_counter = 0;

// Bytes after the header, so that a load reads well past 128 KiB.
constexpr size_t kSaveBodySize = 200 * 1024;

void Put(std::vector<uint8_t>& out, const void* data, size_t size) {
  auto* p = static_cast<const uint8_t*>(data);
  out.insert(out.end(), p, p + size);
}

// The save header: a fixed prefix of 42 bytes, the player name and the
// location as byte-counted texts with 2 and 4 bytes after them, then the
// save's own 32-bit number, which differs from save to save.
std::vector<uint8_t> SaveBytes(const std::string& name) {
  std::vector<uint8_t> out;
  char prefix[42] = "VELDMARK SAVE 1.2.0416";
  Put(out, prefix, sizeof prefix);
  std::string player = "Player of " + name.substr(0, 200);
  out.push_back(static_cast<uint8_t>(player.size()));
  Put(out, player.data(), player.size());
  out.push_back(0x01);
  out.push_back(0x02);
  std::string location = "Veldmark Harbour";
  out.push_back(static_cast<uint8_t>(location.size()));
  Put(out, location.data(), location.size());
  uint32_t play_time = 3600 + save_counter;
  Put(out, &play_time, 4);
  LARGE_INTEGER ticks;
  QueryPerformanceCounter(&ticks);
  uint32_t match = static_cast<uint32_t>(ticks.QuadPart * 2654435761u) ^ (++save_counter << 24);
  if (match == 0xFFFFFFFF) match = 1;
  Put(out, &match, 4);
  out.resize(out.size() + kSaveBodySize, 0x5A);
  return out;
}

bool WriteAll(HANDLE h, const void* data, size_t size) {
  DWORD written = 0;
  return WriteFile(h, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

bool ReadSome(HANDLE h, size_t limit) {
  std::vector<char> buffer(64 * 1024);
  size_t total = 0;
  while (total < limit) {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min(buffer.size(), limit - total));
    if (!ReadFile(h, buffer.data(), want, &got, nullptr)) return false;
    if (got == 0) break;
    total += got;
  }
  return true;
}

}  // namespace

void SetSavesFolder(const std::string& folder) { saves_folder = folder; }
const std::string& SavesFolder() { return saves_folder; }

std::string SavePath(const std::string& name) {
  std::string file = name;
  size_t dot = file.find_last_of('.');
  if (dot == std::string::npos) file += ".ess";
  return saves_folder + file;
}

bool SaveGame(const std::string& name) {
  std::string path = SavePath(name);
  std::vector<uint8_t> bytes = SaveBytes(name);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(h, bytes.data(), bytes.size());
  CloseHandle(h);
  // The game then reopens the save to complete its header.
  h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ok = ok && WriteAll(h, bytes.data(), 42);
  CloseHandle(h);
  return ok;
}

static bool ReadSave(const std::string& name, size_t limit) {
  HANDLE h = CreateFileA(SavePath(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = ReadSome(h, limit);
  CloseHandle(h);
  return ok;
}

bool LoadGame(const std::string& name) { return ReadSave(name, SIZE_MAX); }
bool PeekGame(const std::string& name) { return ReadSave(name, 1024); }

bool RenameSave(const std::string& from, const std::string& to) {
  return StandinRenameSave(SavePath(from).c_str(), SavePath(to).c_str());
}

bool DeleteSave(const std::string& name) { return StandinDeleteSave(SavePath(name).c_str()); }

void ResetPoint() { StandinResetPoint(); }

void PublishSaveSites() {
  HMODULE game = GetModuleHandleA(nullptr);
  VeldmarkEngineTable.import_create_file = FindImportSlot(game, "kernel32.dll", "CreateFileA");
  VeldmarkEngineTable.import_close_handle = FindImportSlot(game, "kernel32.dll", "CloseHandle");
  VeldmarkEngineTable.rename_site = StandinRenameSite;
  VeldmarkEngineTable.delete_site = StandinDeleteSite;
  VeldmarkEngineTable.reset_site = StandinResetSite;
}

}  // namespace standin
