#include "failing_allocator.h"

#include <cstdlib>
#include <new>

namespace korvel::oom {
namespace {

int64_t countdown = 0;  // 0: not armed
bool persistent_failure = false;
bool failed = false;
int64_t counted = 0;
int exempt_depth = 0;

// True when this allocation is to fail.
bool Fails() {
  if (exempt_depth > 0) return false;
  ++counted;
  if (countdown == 0) return false;
  if (countdown == 1) {
    failed = true;
    if (!persistent_failure) countdown = 0;
    return true;
  }
  --countdown;
  return false;
}

void* Allocate(std::size_t size) {
  if (Fails()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void FailNthAllocation(int64_t n, bool persistent) {
  countdown = n;
  persistent_failure = persistent;
  failed = false;
  counted = 0;
}

bool Disarm() {
  countdown = 0;
  return failed;
}

int64_t AllocationCount() { return counted; }
void ResetCount() { counted = 0; }

Exempt::Exempt() { ++exempt_depth; }
Exempt::~Exempt() { --exempt_depth; }

}  // namespace korvel::oom

void* operator new(std::size_t size) {
  if (void* p = korvel::oom::Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return korvel::oom::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return korvel::oom::Allocate(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
