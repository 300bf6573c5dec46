// One handler per catalogue row, declared from catalogue.def; each command
// family defines its own.
#pragma once

#include "base/command.h"

namespace korvel {

#define KORVEL_COMMAND(name, ...) void Cmd_##name(CommandCall& call);
#define KORVEL_PARAM_AS(...)
#define KORVEL_PARAM(...)
#define KORVEL_END()
#include "core/catalogue.def"
#undef KORVEL_COMMAND
#undef KORVEL_PARAM_AS
#undef KORVEL_PARAM
#undef KORVEL_END

}  // namespace korvel
