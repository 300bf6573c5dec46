// An allocator that fails on request: every operator new of the test
// program counts, and the Nth one from arming throws std::bad_alloc (or
// returns null for the nothrow forms). With `persistent` every allocation
// from the Nth on fails, as when the address space is gone for good.
#pragma once

#include <cstdint>

namespace korvel::oom {

void FailNthAllocation(int64_t n, bool persistent = false);
// Stops failing; true when a failure was injected since arming.
bool Disarm();
// Allocations counted since the last arming or ResetCount.
int64_t AllocationCount();
void ResetCount();

// While one lives, allocations neither count nor fail: the test doubles of
// the operating system and the engine, which in the game do not use the
// library's heap, run in one.
class Exempt {
 public:
  Exempt();
  ~Exempt();
  Exempt(const Exempt&) = delete;
  Exempt& operator=(const Exempt&) = delete;
};

}  // namespace korvel::oom
