#include "core/code_patch_win32.h"

#include <windows.h>

#include <cstring>
#include <iterator>
#include <limits>

namespace korvel {

namespace {

bool WriteProtected(void* address, const void* bytes, size_t size) {
  DWORD old_protection = 0;
  if (!VirtualProtect(address, size, PAGE_EXECUTE_READWRITE, &old_protection)) return false;
  std::memcpy(address, bytes, size);
  DWORD ignored = 0;
  VirtualProtect(address, size, old_protection, &ignored);
  FlushInstructionCache(GetCurrentProcess(), address, size);
  return true;
}

#if defined(__x86_64__)
// FF 25 00000000: JMP [RIP+0], followed by the 64-bit target.
constexpr uint8_t kJmpRipZero[6] = {kOpGroup5, kModRmJmpAbs, 0, 0, 0, 0};
constexpr size_t kSlotSize = 16;
constexpr size_t kBlockSize = 64 * 1024;
// Farthest a slot may lie from a site: a rel32 spans ±2 GiB, less a block
// and a margin for the instruction's own length.
constexpr int64_t kReach = std::numeric_limits<int32_t>::max() - int64_t{kBlockSize} - 64;

struct NearBlock {
  uint8_t* base;
  size_t used;
};
NearBlock near_blocks[16];
size_t near_block_count = 0;

bool Within(const void* site, const void* address) {
  int64_t distance = reinterpret_cast<intptr_t>(address) - reinterpret_cast<intptr_t>(site);
  return distance > -kReach && distance < kReach;
}

// Reserves and commits one block at a free, granularity-aligned address
// within reach of site, looking outward from the site in both directions.
uint8_t* AllocateNear(const void* site) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const uintptr_t granularity = info.dwAllocationGranularity;
  const auto origin = reinterpret_cast<uintptr_t>(site) & ~(granularity - 1);
  const auto lowest = reinterpret_cast<uintptr_t>(info.lpMinimumApplicationAddress);
  const auto highest = reinterpret_cast<uintptr_t>(info.lpMaximumApplicationAddress);
  auto try_at = [&](uintptr_t address) -> uint8_t* {
    if (address < lowest || address + kBlockSize > highest) return nullptr;
    if (!Within(site, reinterpret_cast<void*>(address))) return nullptr;
    return static_cast<uint8_t*>(VirtualAlloc(reinterpret_cast<void*>(address), kBlockSize,
                                              MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
  };
  MEMORY_BASIC_INFORMATION region;
  // Upward: from one region's end to the next.
  for (uintptr_t address = origin; Within(site, reinterpret_cast<void*>(address));) {
    if (!VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof region)) break;
    if (region.State == MEM_FREE) {
      if (uint8_t* block = try_at(address)) return block;
    }
    uintptr_t next = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    next = (next + granularity - 1) & ~(granularity - 1);
    if (next <= address) break;
    address = next;
  }
  // Downward: from one region's start to the granule below it.
  for (uintptr_t address = origin; address > lowest + granularity;) {
    address -= granularity;
    if (!Within(site, reinterpret_cast<void*>(address))) break;
    if (!VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof region)) break;
    if (region.State == MEM_FREE) {
      if (uint8_t* block = try_at(address)) return block;
      continue;
    }
    address = reinterpret_cast<uintptr_t>(region.AllocationBase) & ~(granularity - 1);
  }
  return nullptr;
}

// kSlotSize bytes of executable memory within reach of site.
uint8_t* NearSlot(const void* site) {
  for (size_t i = 0; i < near_block_count; ++i) {
    NearBlock& block = near_blocks[i];
    if (block.used + kSlotSize <= kBlockSize && Within(site, block.base)) {
      uint8_t* slot = block.base + block.used;
      block.used += kSlotSize;
      return slot;
    }
  }
  if (near_block_count == std::size(near_blocks)) return nullptr;
  uint8_t* base = AllocateNear(site);
  if (!base) return nullptr;
  near_blocks[near_block_count++] = {base, kSlotSize};
  return base;
}
#endif

}  // namespace

bool Patch4(void* address, uint32_t value) { return WriteProtected(address, &value, 4); }

bool PatchPointer(void** slot, void* value) {
  return slot && WriteProtected(slot, &value, sizeof value);
}

bool SiteMatches(const uint8_t* site, const uint8_t* expected, const uint8_t* mask, size_t size) {
  if (!site) return false;
  for (size_t i = 0; i < size; ++i)
    if ((!mask || mask[i]) && site[i] != expected[i]) return false;
  return true;
}

bool PatchSite(uint8_t* site, const uint8_t* expected, const uint8_t* mask, const uint8_t* bytes,
               size_t size) {
  if (!site || size < 4 || !SiteMatches(site, expected, mask, size)) return false;
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

bool FitsRel32(const void* from, size_t instruction_length, const void* target) {
#if defined(__x86_64__)
  int64_t distance = reinterpret_cast<intptr_t>(target) -
                     (reinterpret_cast<intptr_t>(from) + static_cast<intptr_t>(instruction_length));
  return distance >= std::numeric_limits<int32_t>::min() &&
         distance <= std::numeric_limits<int32_t>::max();
#else
  (void)from, (void)instruction_length, (void)target;
  return true;  // a 32-bit address space: every target is reached modulo 2^32
#endif
}

void* ReachableJump(const void* site, void* target) {
#if defined(__x86_64__)
  if (FitsRel32(site, 16, target) && FitsRel32(site, 0, target)) return target;
  uint8_t* slot = NearSlot(site);
  if (!slot) return nullptr;
  std::memcpy(slot, kJmpRipZero, sizeof kJmpRipZero);
  std::memcpy(slot + sizeof kJmpRipZero, &target, sizeof target);
  FlushInstructionCache(GetCurrentProcess(), slot, kSlotSize);
  return slot;
#else
  (void)site;
  return target;
#endif
}

void** ReachableCell(const void* site, void* target) {
#if defined(__x86_64__)
  uint8_t* slot = NearSlot(site);
  if (!slot) return nullptr;
#else
  (void)site;
  static void* cells[8];
  static size_t cell_count = 0;
  if (cell_count == std::size(cells)) return nullptr;
  void* slot = &cells[cell_count++];
#endif
  auto** cell = static_cast<void**>(static_cast<void*>(slot));
  *cell = target;
  return cell;
}

}  // namespace korvel
