// The execution frame every command runs in: preset the result and the
// out-variables, extract, turn an omitted EspID into the caller's, run the
// handler, and never let anything escape to the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/command.h"

namespace korvel {

// Room for a text argument whatever the extractor copies: the engine limits
// a literal to less than this, and the frame then cuts the text to the
// command's own buffer size minus one.
inline constexpr size_t kTextScratch = 0x10000;

// Fills the out-variables. slots[i] receives parameter i; text receives a
// literal text argument, zero-terminated, at most text_capacity bytes with
// the terminator, written from the start of a zeroed buffer (nothing after
// the terminator). Its result is not examined.
class ArgExtractor {
 public:
  virtual ~ArgExtractor() = default;
  virtual void Extract(const CommandEntry& entry, ArgSlot* slots, char* text,
                       size_t text_capacity) = 0;
  // Whether the last Extract read the arguments; only the format-string
  // extractor's answer is looked at.
  virtual bool ArgumentsRead() const { return true; }
};

// Runs one command call. Always returns true, as every handler must.
bool RunCommand(const CommandEntry& entry, double* result, uint32_t script_form_id,
                void* calling_ref, ArgExtractor* extractor, void* script = nullptr) noexcept;

}  // namespace korvel
