#include "save/cosave_file_source.h"

#include <algorithm>

namespace korvel {

const char* CoSaveFileSource::View(uint64_t offset, size_t size, size_t* extent) {
  if (offset >= start_ && offset - start_ <= filled_ && size <= filled_ - (offset - start_)) {
    const auto skip = static_cast<size_t>(offset - start_);
    *extent = filled_ - skip;
    return buffer_ + skip;
  }
  const uint64_t total = file_.Size();
  if (size > window_ || offset > total || size > total - offset) return nullptr;
  // As much as the buffer holds from offset on; the bytes of the old window
  // that are asked for again are read again rather than moved.
  const auto n = static_cast<size_t>(std::min<uint64_t>(window_, total - offset));
  filled_ = 0;
  if (!file_.Read(offset, n, buffer_)) return nullptr;
  start_ = offset;
  filled_ = n;
  *extent = n;
  return buffer_;
}

bool CoSaveFileSource::Copy(uint64_t offset, size_t size, char* out) {
  const uint64_t total = file_.Size();
  if (offset > total || size > total - offset) return false;
  return file_.Read(offset, size, out);
}

}  // namespace korvel
