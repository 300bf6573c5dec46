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
  virtual void Array(CoSaveArray&& entry) = 0;
  virtual void Names(std::vector<CoSaveName>&& names) = 0;
  virtual void Screen(int32_t width, int32_t height) = 0;
  virtual void HudSurface(CoSaveHudSurface&& entry) = 0;
  virtual void HudText(CoSaveHudText&& entry) = 0;
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
CoSaveReadStatus DecodeCoSave(std::string_view file, uint32_t probed_match, CoSaveSink& sink,
                              CoSaveReadError* error = nullptr);

// The version field of a co-save's header and the match value of its
// trailer, as stored; false when the file is too short to hold them, and
// for the match value in versions without one.
bool CoSaveStoredVersion(std::string_view file, int32_t* version);
bool CoSaveStoredMatch(std::string_view file, int32_t version, uint32_t* match);

}  // namespace korvel
