#include "core/code_patch_win32.h"

#include <windows.h>

#include <cstring>

namespace korvel {

bool Patch4(void* address, uint32_t value) {
  DWORD old_protection = 0;
  if (!VirtualProtect(address, 4, PAGE_EXECUTE_READWRITE, &old_protection)) return false;
  std::memcpy(address, &value, 4);
  DWORD ignored = 0;
  VirtualProtect(address, 4, old_protection, &ignored);
  FlushInstructionCache(GetCurrentProcess(), address, 4);
  return true;
}

bool PatchSite(uint8_t* site, const uint8_t* expected, const uint8_t* mask, const uint8_t* bytes,
               size_t size) {
  if (!site || size < 4) return false;
  for (size_t i = 0; i < size; ++i)
    if ((!mask || mask[i]) && site[i] != expected[i]) return false;
  // Front to back in 4-byte steps; the last step overlaps the previous one.
  for (size_t offset = 0;; offset += 4) {
    if (offset + 4 > size) offset = size - 4;
    uint32_t word;
    std::memcpy(&word, bytes + offset, 4);
    if (!Patch4(site + offset, word)) return false;
    if (offset + 4 == size) return true;
  }
}

uint32_t Rel32(const void* from, size_t instruction_length, const void* target) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(target) -
                               (reinterpret_cast<uintptr_t>(from) + instruction_length));
}

}  // namespace korvel
