#include "game/memory.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <malloc.h>
#include <unordered_map>
#include <vector>

#include "game/imports.h"

namespace standin {

#if defined(__x86_64__)
// An x86-64 address space cannot be used up. The 64-bit game gives its
// plug-ins a heap budget instead: their C runtime allocations (malloc,
// calloc, realloc, reached through their import tables) fail once the
// memory they took since the squeeze would pass it, which is what a
// 32-bit game near the end of its address space shows them.
namespace {

struct Budget {
  size_t limit = 0;
  size_t used = 0;
  std::unordered_map<void*, size_t> live;  // allocations made under the budget
};
Budget* budget = nullptr;

void* (*real_malloc)(size_t) = nullptr;
void* (*real_calloc)(size_t, size_t) = nullptr;
void* (*real_realloc)(void*, size_t) = nullptr;
void (*real_free)(void*) = nullptr;

bool Fits(size_t more, size_t less = 0) {
  return more <= budget->limit && budget->used - less <= budget->limit - more;
}

void Track(void* p) {
  size_t size = _msize(p);
  budget->live[p] = size;
  budget->used += size;
}

size_t Untrack(void* p) {
  auto it = budget->live.find(p);
  if (it == budget->live.end()) return 0;
  size_t size = it->second;
  budget->used -= size;
  budget->live.erase(it);
  return size;
}

size_t TrackedSize(void* p) {
  auto it = budget->live.find(p);
  return it == budget->live.end() ? 0 : it->second;
}

void* CappedMalloc(size_t size) {
  if (!Fits(size)) return nullptr;
  void* p = real_malloc(size);
  if (p) Track(p);
  return p;
}

void* CappedCalloc(size_t count, size_t size) {
  if (size && count > SIZE_MAX / size) return nullptr;
  if (!Fits(count * size)) return nullptr;
  void* p = real_calloc(count, size);
  if (p) Track(p);
  return p;
}

void* CappedRealloc(void* p, size_t size) {
  if (!p) return CappedMalloc(size);
  if (size == 0) {
    Untrack(p);
    return real_realloc(p, 0);
  }
  if (!Fits(size, TrackedSize(p))) return nullptr;
  void* q = real_realloc(p, size);
  if (q) {
    Untrack(p);
    Track(q);
  }
  return q;
}

void CappedFree(void* p) {
  if (p) Untrack(p);
  real_free(p);
}

// Points the module's msvcrt.dll import of function at replacement.
void RedirectImport(HMODULE module, const char* function, void* replacement) {
  void** slot = FindImportSlot(module, "msvcrt.dll", function);
  DWORD old_protection;
  if (!slot || !VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old_protection)) return;
  *slot = replacement;
  VirtualProtect(slot, sizeof *slot, old_protection, &old_protection);
}

}  // namespace

size_t SqueezeAddressSpace(size_t left_mib) {
  if (!budget) {
    budget = new Budget;
    real_malloc = &malloc;
    real_calloc = &calloc;
    real_realloc = &realloc;
    real_free = &free;
    for (const char* name : {"Qarn_Tovi_Korvel.dll", "Qarn_Tovi_Korvel_HUD.dll"}) {
      if (HMODULE module = GetModuleHandleA(name)) {
        RedirectImport(module, "malloc", reinterpret_cast<void*>(&CappedMalloc));
        RedirectImport(module, "calloc", reinterpret_cast<void*>(&CappedCalloc));
        RedirectImport(module, "realloc", reinterpret_cast<void*>(&CappedRealloc));
        RedirectImport(module, "free", reinterpret_cast<void*>(&CappedFree));
      }
    }
  }
  // A new squeeze starts from what the plug-ins hold now.
  budget->live.clear();
  budget->used = 0;
  budget->limit = left_mib << 20;
  return left_mib;
}

#else
namespace {

struct Block {
  void* address;
  size_t size;
};

std::vector<Block>& Held() {
  static std::vector<Block> held;
  return held;
}

}  // namespace

size_t SqueezeAddressSpace(size_t left_mib) {
  std::vector<Block>& held = Held();
  // Give back what an earlier squeeze took, then take everything, biggest
  // blocks first, down to the allocation granularity.
  for (const Block& b : held) VirtualFree(b.address, 0, MEM_RELEASE);
  held.clear();
  held.reserve(1 << 16);
  for (size_t size = size_t{1} << 30; size >= (64u << 10); size /= 2) {
    while (held.size() < held.capacity()) {
      void* p = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
      if (!p) break;
      held.push_back({p, size});
    }
  }
  // Then hand back whole blocks, biggest first, until left_mib is free.
  std::sort(held.begin(), held.end(), [](const Block& a, const Block& b) { return a.size > b.size; });
  size_t budget = left_mib << 20;
  size_t freed = 0;
  for (auto it = held.begin(); it != held.end() && freed < budget;) {
    if (it->size <= budget - freed) {
      VirtualFree(it->address, 0, MEM_RELEASE);
      freed += it->size;
      it = held.erase(it);
    } else {
      ++it;
    }
  }
  return freed >> 20;
}

#endif

}  // namespace standin
