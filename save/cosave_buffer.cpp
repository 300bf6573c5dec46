#include "save/cosave_buffer.h"

#include <algorithm>

#include "save/crc32.h"

namespace korvel {

CoSaveBuffer::CoSaveBuffer(CoSaveByteSink& sink) : sink_(sink), buffer_(new char[kCapacity]) {}

void CoSaveBuffer::Flush() {
  if (used_ == 0) return;
  crc_ = Crc32Update(crc_, buffer_.get(), used_);
  if (!sink_.Write(buffer_.get(), used_)) throw CoSaveWriteError();
  flushed_ += used_;
  used_ = 0;
}

uint32_t CoSaveBuffer::Crc() {
  return ~Crc32Update(crc_, buffer_.get(), used_);
}

void CoSaveBuffer::AppendLong(const char* data, size_t size) {
  while (size > 0) {
    if (used_ == kCapacity) Flush();
    size_t n = std::min(size, kCapacity - used_);
    std::memcpy(buffer_.get() + used_, data, n);
    used_ += n;
    data += n;
    size -= n;
  }
}

}  // namespace korvel
