// String search, edit, format and scan-code commands and the Nyxa string
// exchange: not built yet. The frame has written each command's default
// result and the command changes nothing; a command leaves this file when
// its behaviour is built.
#include "core/handlers.h"

namespace korvel {

void Cmd_StringCmp(CommandCall&) {}
void Cmd_StringPos(CommandCall&) {}
void Cmd_StringIns(CommandCall&) {}
void Cmd_StringRep(CommandCall&) {}
void Cmd_IntToHex(CommandCall&) {}
void Cmd_FromNyxa(CommandCall&) {}
void Cmd_ToNyxa(CommandCall&) {}
void Cmd_FmtString(CommandCall&) {}
void Cmd_csc(CommandCall&) {}
void Cmd_rcsc(CommandCall&) {}
void Cmd_SanString(CommandCall&) {}

}  // namespace korvel
