#include "game/memory.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace standin {

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

}  // namespace standin
