// Blocks of one size for the records of a registry, carved in address
// order from chunks: a registry of many small records asks the heap once
// per chunk instead of once per record, and its records lie together, so
// a walk over them (a save, a clear) reads memory in order.
//
// When the last block is released the pool starts over from its first
// chunk and gives the others back, so a registry that is cleared and
// refilled (every load) is laid out in order again.
//
// Not for more than one thread: the registries are the game thread's.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "objects/row_growth.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define KORVEL_POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define KORVEL_POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define KORVEL_POOL_POISON(p, n) ((void)(p), (void)(n))
#define KORVEL_POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace korvel {

template <size_t kBlockSize, size_t kBlocksPerChunk>
class RecordPool {
  static_assert(kBlockSize >= sizeof(void*) && kBlockSize % alignof(void*) == 0);

 public:
  RecordPool() = default;
  RecordPool(const RecordPool&) = delete;
  RecordPool& operator=(const RecordPool&) = delete;

  // A block of kBlockSize bytes; throws std::bad_alloc, changing nothing,
  // when there is no memory for a new chunk.
  void* Allocate() {
    void* block;
    if (free_) {
      block = free_;
      KORVEL_POOL_UNPOISON(block, kBlockSize);
      free_ = free_->next;
    } else {
      if (next_ == end_) NextChunk();
      block = next_;
      next_ += kBlockSize;
      KORVEL_POOL_UNPOISON(block, kBlockSize);
    }
    ++live_;
    return block;
  }

  void Release(void* block) noexcept {
    if (--live_ == 0) return StartOver();
    auto* freed = static_cast<Free*>(block);
    freed->next = free_;
    free_ = freed;
    KORVEL_POOL_POISON(block, kBlockSize);
  }

  size_t live() const { return live_; }
  size_t chunks() const { return chunks_.size(); }

 private:
  struct Free {
    Free* next;
  };
  static constexpr size_t kChunkBytes = kBlockSize * kBlocksPerChunk;

  // Carves a new chunk from here on.
  void NextChunk() {
    ReserveForGrowth(chunks_, chunks_.size() + 1);  // room first: a throw changes nothing
    chunks_.push_back(std::unique_ptr<char[]>(new char[kChunkBytes]));
    next_ = chunks_.back().get();
    end_ = next_ + kChunkBytes;
    KORVEL_POOL_POISON(next_, kChunkBytes);
  }

  // Every block is free: the first chunk is carved from its start again
  // and the others go back to the heap.
  void StartOver() noexcept {
    while (chunks_.size() > 1) chunks_.pop_back();
    free_ = nullptr;
    next_ = chunks_.empty() ? nullptr : chunks_[0].get();
    end_ = chunks_.empty() ? nullptr : next_ + kChunkBytes;
    if (next_) KORVEL_POOL_POISON(next_, kChunkBytes);
  }

  std::vector<std::unique_ptr<char[]>> chunks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
  Free* free_ = nullptr;
  size_t live_ = 0;
};

}  // namespace korvel
