// The catalogue table, expanded from catalogue.def: one parameter array per
// command (closed by an empty row, so a command without parameters still
// has one) and the table in registration order.
#include "core/catalogue.h"

#include <iterator>

#include "core/handlers.h"

namespace korvel {
namespace {

#define KORVEL_OPTIONAL_Required false
#define KORVEL_OPTIONAL_Optional true

#define KORVEL_COMMAND(name, alias, help, opcode, preset, extractor, buffer) \
  const ParamEntry k##name##Params[] = {
#define KORVEL_PARAM_AS(ident, label, type, optional, preset, role) \
  {label, ParamType::k##type, KORVEL_OPTIONAL_##optional, preset, ParamRole::k##role},
#define KORVEL_PARAM(ident, type, optional, preset, role) \
  KORVEL_PARAM_AS(ident, #ident, type, optional, preset, role)
#define KORVEL_END() {}};
#include "core/catalogue.def"

}  // namespace

const CommandEntry kCatalogue[kCommandCount] = {
#define KORVEL_COMMAND(name, alias, help, opcode, preset, extractor, buffer)                 \
  {#name, alias, help, opcode, preset, Extractor::k##extractor, buffer, k##name##Params, \
   std::size(k##name##Params) - 1, &Cmd_##name},
#include "core/catalogue.def"
};

}  // namespace korvel
