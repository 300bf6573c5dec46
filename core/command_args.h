// Named access to each command's arguments, expanded from catalogue.def.
// For a command Name with a parameter Ident:
//   NameParam::Ident   its position in the command's table;
//   NameArgs           reads the extracted arguments by name, typed by the
//                      parameter's row: NameArgs args(call); then
//                      args.Ident() is an int32_t, a float, the text (a
//                      string_view) or the form pointer, and for a form also
//                      args.IdentFormId(); IntAt(NameParam::First + k) reads
//                      the k-th of a run of like integer parameters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/command.h"

namespace korvel {

#define KORVEL_COMMAND(name, ...) struct name##Param { enum : size_t {
#define KORVEL_PARAM_AS(ident, ...) ident,
#define KORVEL_PARAM(ident, ...) ident,
#define KORVEL_END() kCount }; };
#include "core/catalogue.def"

// Qualified, so that a parameter called Text or Int cannot hide the reader.
#define KORVEL_ACCESSOR_Integer(ident) \
  int32_t ident() const { return ArgReader::Int(Params_::ident); }
#define KORVEL_ACCESSOR_Float(ident) \
  float ident() const { return ArgReader::Float(Params_::ident); }
#define KORVEL_ACCESSOR_String(ident) \
  std::string_view ident() const { return ArgReader::Text(); }
#define KORVEL_ACCESSOR_Reference(ident)                                 \
  void* ident() const { return ArgReader::Form(Params_::ident); }        \
  uint32_t ident##FormId() const { return ArgReader::FormId(Params_::ident); }
#define KORVEL_ACCESSOR_BaseObject(ident) KORVEL_ACCESSOR_Reference(ident)

#define KORVEL_COMMAND(name, ...)                                      \
  class name##Args : private ArgReader {                               \
    using Params_ = name##Param;                                       \
                                                                       \
   public:                                                             \
    explicit name##Args(const CommandCall& call) : ArgReader(call) {}  \
    int32_t IntAt(size_t position) const { return ArgReader::Int(position); }
#define KORVEL_PARAM_AS(ident, label, type, ...) KORVEL_ACCESSOR_##type(ident)
#define KORVEL_PARAM(ident, type, ...) KORVEL_ACCESSOR_##type(ident)
#define KORVEL_END() };
#include "core/catalogue.def"
#undef KORVEL_ACCESSOR_Integer
#undef KORVEL_ACCESSOR_Float
#undef KORVEL_ACCESSOR_String
#undef KORVEL_ACCESSOR_Reference
#undef KORVEL_ACCESSOR_BaseObject

}  // namespace korvel
