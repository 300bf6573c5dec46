// One handler per catalogue row, declared from catalogue.def; each command
// family defines its own.
#pragma once

#include "base/command.h"

namespace korvel {

#define KORVEL_COMMAND(name, ...) void Cmd_##name(CommandCall& call);
#include "core/catalogue.def"

}  // namespace korvel
