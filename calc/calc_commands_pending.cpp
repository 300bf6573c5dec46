// The calculator's commands: not built yet. The frame has written each
// command's default result and the command changes nothing; a command
// leaves this file when its behaviour is built.
#include "core/handlers.h"

namespace korvel {

void Cmd_LC(CommandCall&) {}
void Cmd_StrLC(CommandCall&) {}

}  // namespace korvel
