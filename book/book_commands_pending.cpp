// The book plug-in generator: not built yet. The frame has written each
// command's default result and the command changes nothing; a command leaves
// this file when its behaviour is built.
#include "core/handlers.h"

namespace korvel {

void Cmd_CreateEspBook(CommandCall&) {}

}  // namespace korvel
