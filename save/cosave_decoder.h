// Reads a co-save's bytes and hands what they hold, in file order, to a
// sink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "save/cosave_records.h"

namespace korvel {

// Receives what a co-save holds, in file order, as it is read.
class CoSaveSink {
 public:
  virtual ~CoSaveSink() = default;
  virtual void Mods(const std::vector<CoSaveMod>& mods) = 0;
  // Before the entries of a strings section: how many follow (already
  // checked against the bytes left).
  virtual void StringCount(int32_t /*count*/) {}
  virtual void String(CoSaveString&& entry) = 0;
  // An array comes as its header (items empty) with the count of its
  // items (already checked against the bytes left), then its items a batch
  // at a time, then its end; false from BeginArray drops the items. The
  // defaults gather the items and hand the whole array to Array, so an
  // array's items are held only by a sink that asks for them whole.
  virtual bool BeginArray(const CoSaveArray& header, int32_t count);
  virtual void ArrayItems(const CoSaveItem* items, size_t count);
  virtual void EndArray();
  virtual void Array(CoSaveArray&& entry) = 0;
  virtual void Names(std::vector<CoSaveName>&& names) = 0;
  virtual void Screen(int32_t width, int32_t height) = 0;
  virtual void HudSurface(CoSaveHudSurface&& entry) = 0;
  virtual void HudText(CoSaveHudText&& entry) = 0;

 private:
  CoSaveArray gathered_;
};

// Where a co-save's bytes come from: the whole file in memory, or a file
// read through a small buffer (cosave_file_source.h).
class CoSaveSource {
 public:
  virtual ~CoSaveSource() = default;
  virtual uint64_t Size() const = 0;
  // The most View hands out at once.
  virtual size_t Window() const = 0;
  // The bytes from offset on, at least size of them (size <= Window()) in
  // a row, valid until the next call; *extent is how many there are. Null
  // when they cannot be read.
  virtual const char* View(uint64_t offset, size_t size, size_t* extent) = 0;
  // Copies size bytes from offset to out, however many; false when they
  // cannot all be read.
  virtual bool Copy(uint64_t offset, size_t size, char* out) = 0;
};

// A co-save held whole in memory.
class CoSaveMemorySource final : public CoSaveSource {
 public:
  explicit CoSaveMemorySource(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  size_t Window() const override { return bytes_.size(); }
  const char* View(uint64_t offset, size_t size, size_t* extent) override;
  bool Copy(uint64_t offset, size_t size, char* out) override;

 private:
  std::string_view bytes_;
};

enum class CoSaveReadStatus {
  kOk,
  kCorrupted,       // wrong magic, length, checksum, section or a short read
  kUnknownVersion,  // newer than this library
  kMismatch,        // belongs to another game save
};

// Where and why a co-save was refused, for those who tell a person.
struct CoSaveReadError {
  size_t offset = 0;  // of the byte where reading stopped
  std::string what;
};

// Decodes a co-save. probed_match is the match value of the game save being
// loaded (0xFFFFFFFF when unknown). The version is judged first, then the
// length field and checksum, then the match value, then the sections up to
// the data end (a section may not run into the trailer). Every count and
// length is checked against the bytes left before anything is allocated
// or looped over; what was handed to the sink before a failure stays
// handed. When error is given, a failure fills it.
// The source is read twice: once for the checksum, once for the sections.
CoSaveReadStatus DecodeCoSave(CoSaveSource& source, uint32_t probed_match, CoSaveSink& sink,
                              CoSaveReadError* error = nullptr);
CoSaveReadStatus DecodeCoSave(std::string_view file, uint32_t probed_match, CoSaveSink& sink,
                              CoSaveReadError* error = nullptr);

// The version field of a co-save's header and the match value of its
// trailer, as stored; false when the file is too short to hold them, and
// for the match value in versions without one.
bool CoSaveStoredVersion(std::string_view file, int32_t* version);
bool CoSaveStoredMatch(std::string_view file, int32_t version, uint32_t* match);

}  // namespace korvel
