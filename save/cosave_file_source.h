// A co-save read from its file through a small buffer: a load needs no
// block as large as the co-save, only the buffer and what the entries hold.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/env.h"
#include "save/cosave_decoder.h"

namespace korvel {

// The window a load reads its co-save through, and the least window that
// holds every fixed-size field (a text longer than the window is copied
// from the file straight into its string).
inline constexpr size_t kCoSaveReadWindow = 64 * 1024;
inline constexpr size_t kCoSaveLeastWindow = 16;

class CoSaveFileSource final : public CoSaveSource {
 public:
  // Reads through the caller's buffer of window bytes, at least
  // kCoSaveLeastWindow of them.
  CoSaveFileSource(RandomAccessFile& file, char* buffer, size_t window)
      : file_(file), window_(window), buffer_(buffer) {}
  uint64_t Size() const override { return file_.Size(); }
  size_t Window() const override { return window_; }
  const char* View(uint64_t offset, size_t size, size_t* extent) override;
  bool Copy(uint64_t offset, size_t size, char* out) override;

 private:
  RandomAccessFile& file_;
  size_t window_;
  char* buffer_;
  uint64_t start_ = 0;  // the file offset of buffer_[0]
  size_t filled_ = 0;   // how many bytes of buffer_ hold the file's
};

}  // namespace korvel
