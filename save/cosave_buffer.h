// The co-save writer's output: a fixed buffer in front of a byte sink, with
// the running CRC-32 and the count of bytes so far. A save needs this one
// buffer whatever the co-save's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace korvel {

// Receives the bytes in file order, a buffer at a time.
class CoSaveByteSink {
 public:
  virtual ~CoSaveByteSink() = default;
  // False when the bytes could not be kept; the write stops.
  virtual bool Write(const char* data, size_t size) = 0;
};

// Thrown when the sink refuses bytes; the caller of the writer catches it
// with everything else that can end a write (out of memory among them).
class CoSaveWriteError : public std::runtime_error {
 public:
  CoSaveWriteError() : std::runtime_error("co-save write failed") {}
};

class CoSaveBuffer {
 public:
  static constexpr size_t kCapacity = 64 * 1024;

  explicit CoSaveBuffer(CoSaveByteSink& sink);
  CoSaveBuffer(const CoSaveBuffer&) = delete;
  CoSaveBuffer& operator=(const CoSaveBuffer&) = delete;

  void Append(const char* data, size_t size) {
    if (size <= kCapacity - used_) {
      std::memcpy(buffer_.get() + used_, data, size);
      used_ += size;
    } else {
      AppendLong(data, size);
    }
  }
  // Room for size bytes (at most kCapacity) in the buffer; the caller fills
  // them and calls Commit.
  char* Room(size_t size) {
    if (size > kCapacity - used_) Flush();
    return buffer_.get() + used_;
  }
  void Commit(size_t size) { used_ += size; }
  // Bytes that fit in the buffer before it must be flushed.
  size_t free() const { return kCapacity - used_; }

  // Hands the buffered bytes to the sink; throws CoSaveWriteError when it
  // refuses them.
  void Flush();
  // Bytes appended so far, buffered or not.
  uint64_t total() const { return flushed_ + used_; }
  // The CRC-32 of every byte appended so far.
  uint32_t Crc();

 private:
  void AppendLong(const char* data, size_t size);

  CoSaveByteSink& sink_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  uint64_t flushed_ = 0;
  uint32_t crc_ = 0xFFFFFFFFu;  // running value of the flushed bytes
};

// Keeps the bytes in a string: the file as a whole, for tools and tests.
class StringByteSink final : public CoSaveByteSink {
 public:
  explicit StringByteSink(std::string& out) : out_(out) {}
  bool Write(const char* data, size_t size) override {
    out_.append(data, size);
    return true;
  }

 private:
  std::string& out_;
};

}  // namespace korvel
