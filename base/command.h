// The shape of a script command: its parameter table, its handler and the
// call frame a handler sees. Portable: the Win32 side only adapts the host's
// calling convention to CommandCall (frame_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// Parameter type codes as the host and the engine extractor know them.
enum class ParamType : uint32_t {
  kString = 0,
  kInteger = 1,
  kFloat = 2,
  kBaseObject = 3,
  kReference = 4,
};

// Which extractor decodes a command's arguments.
enum class Extractor : uint8_t {
  kEngine,        // EngineExtractArgs
  kCompanion,     // the companion's ExtractArgsExOld
  kFormatString,  // the companion's ExtractFormatStringArgs (FmtString)
  kNone,          // the command takes no arguments
};

inline constexpr size_t kMaxParams = 23;

// Bytes of the zero-filled buffer a command's text argument arrives in.
inline constexpr size_t kNoTextBuffer = 0;          // the command takes no text
inline constexpr size_t kEspFileNameBuffer = 256;   // GetEsp's file name
inline constexpr size_t kStringTextBuffer = 4097;   // CreateString, SetString, LC
inline constexpr size_t kFormatTextBuffer = 16385;  // FmtString's format text

// What the frame does with a parameter beyond extracting it.
enum class ParamRole : uint8_t {
  kPlain,
  kCallerEspId,  // an omitted value (-1) becomes the calling script's EspID
};

struct ParamEntry {
  const char* name;
  ParamType type;
  bool optional;
  double preset;  // value of the out-variable before extraction
  ParamRole role = ParamRole::kPlain;
};

class CommandCall;
using CommandHandler = void (*)(CommandCall& call);

struct CommandEntry {
  const char* name;
  const char* alias;  // "" when none
  const char* help;
  uint16_t opcode;
  double result_preset;
  Extractor extractor;
  size_t text_buffer;  // bytes of the zero-filled buffer for a text argument
  const ParamEntry* params;
  size_t param_count;
  CommandHandler handler;
};

// One extracted argument. The extractors write 4 bytes (an int32, a float or,
// in the 32-bit game, a form pointer) through the pointer they are given.
union ArgSlot {
  int32_t i;
  float f;
  void* form;
};

// What a handler works with: extracted arguments, the caller and the result
// slot. Built by the frame (frame.cpp); handlers never see host pointers
// other than forms.
class CommandCall {
 public:
  CommandCall(const CommandEntry& entry, double* result) : entry_(entry), result_(result) {}

  const CommandEntry& entry() const { return entry_; }

  // The calling script's form id (0 for none) and the calling reference.
  uint32_t script_form_id() const { return script_form_id_; }
  void* calling_ref() const { return calling_ref_; }
  // The calling script object itself (null when unknown), for operations
  // that hand it on to another plug-in.
  void* script() const { return script_; }
  // False when an extractor that reports success (the format-string one)
  // could not read the script's arguments.
  bool arguments_read() const { return arguments_read_; }
  // EspID of the calling script's mod, -1 when there is none.
  int32_t CallerEspId() const;

  void SetResult(double value) { *result_ = value; }
  void SetResultInt(int32_t value) { *result_ = static_cast<double>(value); }
  // A reference result: the form id in the low four bytes of the slot.
  void SetResultRef(uint32_t form_id);
  double result() const { return *result_; }

  // Frame access.
  ArgSlot* slots() { return slots_; }
  std::string& text() { return text_; }
  void SetCaller(uint32_t script_form_id, void* calling_ref) {
    script_form_id_ = script_form_id;
    calling_ref_ = calling_ref;
  }
  void SetScript(void* script) { script_ = script; }
  void SetArgumentsRead(bool read) { arguments_read_ = read; }

 private:
  friend class ArgReader;
  // Form id of the form in slot i, 0 for none.
  uint32_t FormId(size_t i) const;

  const CommandEntry& entry_;
  double* result_;
  ArgSlot slots_[kMaxParams] = {};
  std::string text_;
  uint32_t script_form_id_ = 0;
  void* calling_ref_ = nullptr;
  void* script_ = nullptr;
  bool arguments_read_ = true;
};

// Reads a call's extracted arguments by their position in the command's
// table. Only the per-command argument classes generated from the catalogue
// (core/command_args.h) derive from it, so handlers read arguments by name.
class ArgReader {
 protected:
  explicit ArgReader(const CommandCall& call) : call_(call) {}
  int32_t Int(size_t i) const { return call_.slots_[i].i; }
  float Float(size_t i) const { return call_.slots_[i].f; }
  void* Form(size_t i) const { return call_.slots_[i].form; }
  uint32_t FormId(size_t i) const { return call_.FormId(i); }
  std::string_view Text() const { return call_.text_; }

 private:
  const CommandCall& call_;
};

}  // namespace korvel
