// A file whose bytes are held in memory, read at any offset; after a set
// number of reads every read fails, as a failing disk's would.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/env.h"
#include "save/cosave_file_source.h"
#include "save/cosave_image.h"

namespace korvel {

class BytesFile final : public RandomAccessFile {
 public:
  explicit BytesFile(std::string_view bytes, int reads_left = INT_MAX)
      : bytes_(bytes), left_(reads_left) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool Read(uint64_t offset, size_t size, char* buffer) override {
    ++reads_;
    if (left_ <= 0 || offset > bytes_.size() || size > bytes_.size() - offset) return false;
    --left_;
    bytes_.copy(buffer, size, static_cast<size_t>(offset));
    return true;
  }
  int reads() const { return reads_; }

 private:
  std::string_view bytes_;
  int left_, reads_ = 0;
};

// The image of bytes read through a window of the given size, which must
// match the image the bytes give held whole: the same outcome and the
// same entries, compared as the bytes they write (a NaN is equal to
// itself there). False when they differ.
inline bool WindowReadMatches(std::string_view bytes, uint32_t probed, size_t window) {
  CoSaveImage whole, through;
  const CoSaveReadStatus expected = DecodeCoSaveImage(bytes, probed, &whole);
  whole.version = CoSaveImage{}.version;
  whole.save_match = CoSaveImage{}.save_match;
  BytesFile file(bytes);
  std::string buffer(window, '\0');
  CoSaveFileSource source(file, buffer.data(), buffer.size());
  return DecodeCoSaveImage(source, probed, &through) == expected &&
         EncodeCoSaveImage(through) == EncodeCoSaveImage(whole);
}

}  // namespace korvel
