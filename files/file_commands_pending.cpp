// User files and INI files: not built yet. The frame has written each
// command's default result and the command changes nothing; a command leaves
// this file when its behaviour is built.
#include "core/handlers.h"

namespace korvel {

void Cmd_UserFileExists(CommandCall&) {}
void Cmd_RenFile(CommandCall&) {}
void Cmd_DelFile(CommandCall&) {}
void Cmd_StringToTxtFile(CommandCall&) {}
void Cmd_IniReadInt(CommandCall&) {}
void Cmd_IniReadFloat(CommandCall&) {}
void Cmd_IniReadRef(CommandCall&) {}
void Cmd_IniWriteInt(CommandCall&) {}
void Cmd_IniWriteFloat(CommandCall&) {}
void Cmd_IniWriteRef(CommandCall&) {}
void Cmd_IniKeyExists(CommandCall&) {}
void Cmd_IniDelKey(CommandCall&) {}
void Cmd_IniReadString(CommandCall&) {}
void Cmd_IniWriteString(CommandCall&) {}
void Cmd_FileToString(CommandCall&) {}
void Cmd_IniGetNthSection(CommandCall&) {}
void Cmd_IniSectionsCount(CommandCall&) {}
void Cmd_RunBatString(CommandCall&) {}
void Cmd_FindFirstFile(CommandCall&) {}
void Cmd_FindNextFile(CommandCall&) {}
void Cmd_GetFileSize(CommandCall&) {}

}  // namespace korvel
