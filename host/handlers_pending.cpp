// Commands whose behaviour is not built yet: the frame has written their
// default result and they change nothing. A command moves out of this file
// when its family is built.
#include "host/handlers.h"

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
void Cmd_StringCmp(CommandCall&) {}
void Cmd_FileToString(CommandCall&) {}
void Cmd_StringPos(CommandCall&) {}
void Cmd_StringIns(CommandCall&) {}
void Cmd_StringRep(CommandCall&) {}
void Cmd_IntToHex(CommandCall&) {}
void Cmd_LC(CommandCall&) {}
void Cmd_FromNyxa(CommandCall&) {}
void Cmd_ToNyxa(CommandCall&) {}
void Cmd_StrLC(CommandCall&) {}
void Cmd_CreateEspBook(CommandCall&) {}
void Cmd_FmtString(CommandCall&) {}
void Cmd_csc(CommandCall&) {}
void Cmd_IniGetNthSection(CommandCall&) {}
void Cmd_IniSectionsCount(CommandCall&) {}
void Cmd_RunBatString(CommandCall&) {}
void Cmd_FindFirstFile(CommandCall&) {}
void Cmd_FindNextFile(CommandCall&) {}
void Cmd_GetFileSize(CommandCall&) {}
void Cmd_NewHudS(CommandCall&) {}
void Cmd_DelHudS(CommandCall&) {}
void Cmd_HudS_X(CommandCall&) {}
void Cmd_HudS_SclX(CommandCall&) {}
void Cmd_HudS_Show(CommandCall&) {}
void Cmd_HudS_Opac(CommandCall&) {}
void Cmd_HudS_Align(CommandCall&) {}
void Cmd_AutoSclHudS(CommandCall&) {}
void Cmd_HudS_Y(CommandCall&) {}
void Cmd_HudSEsp(CommandCall&) {}
void Cmd_HudSProtect(CommandCall&) {}
void Cmd_HudsInfo(CommandCall&) {}
void Cmd_DelAllHudSs(CommandCall&) {}
void Cmd_HudS_L(CommandCall&) {}
void Cmd_rcsc(CommandCall&) {}
void Cmd_HudS_SclY(CommandCall&) {}
void Cmd_NewHudT(CommandCall&) {}
void Cmd_DelHudT(CommandCall&) {}
void Cmd_HudT_X(CommandCall&) {}
void Cmd_HudT_SclX(CommandCall&) {}
void Cmd_HudT_Show(CommandCall&) {}
void Cmd_HudT_Opac(CommandCall&) {}
void Cmd_HudT_Align(CommandCall&) {}
void Cmd_AutoSclHudT(CommandCall&) {}
void Cmd_HudT_Y(CommandCall&) {}
void Cmd_HudTEsp(CommandCall&) {}
void Cmd_HudTProtect(CommandCall&) {}
void Cmd_HudTInfo(CommandCall&) {}
void Cmd_DelAllHudTs(CommandCall&) {}
void Cmd_HudT_L(CommandCall&) {}
void Cmd_HudT_SclY(CommandCall&) {}
void Cmd_SetHudT(CommandCall&) {}
void Cmd_HudT_Text(CommandCall&) {}
void Cmd_HudS_Tex(CommandCall&) {}
void Cmd_SanString(CommandCall&) {}

}  // namespace korvel
