// The command catalogue: every command in registration order with its alias,
// help text, parameter table, extractor and handler. Registration, the log
// and docs/commands.md all come from this table.
// clang-format off
#include "core/catalogue.h"

#include "core/handlers.h"

namespace korvel {
namespace {

constexpr ParamType S = ParamType::kString;
constexpr ParamType I = ParamType::kInteger;
constexpr ParamType F = ParamType::kFloat;
constexpr ParamType B = ParamType::kBaseObject;
constexpr ParamType R = ParamType::kReference;

const ParamEntry kGetEspParams[] = {
    {"Filename", S, true, 0},
    {"StringID", I, true, -1},
};

const ParamEntry kCreateArrayParams[] = {
    {"EspID", I, true, -1},
    {"Size", I, true, 0},
    {"Protected", I, true, 0},
    {"RefuseZero", I, true, 0},
};

const ParamEntry kDestroyArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kArraySizeParams[] = {
    {"ArrayID", I, false, 0},
    {"Size", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kArrayCountParams[] = {
    {"ArrayID", I, false, 0},
};

const ParamEntry kSetInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Index", I, false, 0},
    {"Value", I, false, 0},
    {"Blocksize", I, true, 0},
    {"Global", I, true, 0},
    {"Insert", I, true, 0},
};

const ParamEntry kSetFloatInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Index", I, false, 0},
    {"Value", F, false, 0},
    {"Blocksize", I, true, 0},
    {"Global", I, true, 0},
    {"Insert", I, true, 0},
};

const ParamEntry kGetInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Index", I, false, 0},
};

const ParamEntry kGetTypeInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Index", I, false, 0},
};

const ParamEntry kRemInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Index", I, false, 0},
    {"Global", I, true, 0},
    {"RemoveGap", I, true, 0},
};

const ParamEntry kFindInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Value", I, false, 0},
    {"Start", I, true, 0},
    {"Stop", I, true, -1},
};

const ParamEntry kFindFloatInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Value", F, false, 0},
    {"Start", I, true, 0},
    {"Stop", I, true, -1},
};

const ParamEntry kSetRefInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Index", I, false, 0},
    {"Reference", R, false, 0},
    {"Blocksize", I, true, 0},
    {"Global", I, true, 0},
    {"Insert", I, true, 0},
};

const ParamEntry kFindRefInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Reference", R, false, 0},
    {"Start", I, true, 0},
    {"Stop", I, true, -1},
};

const ParamEntry kCopyArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"NewSize", I, true, -1},
    {"RefuseZero", I, true, 0},
};

const ParamEntry kArrayEspParams[] = {
    {"ArrayID", I, false, 0},
    {"EspID", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kArrayProtectParams[] = {
    {"ArrayID", I, false, 0},
    {"Protected", I, true, -1},
};

const ParamEntry kFirstInArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Free", I, true, 0},
    {"Start", I, true, 0},
    {"Stop", I, true, -1},
};

const ParamEntry kDestroyAllArraysParams[] = {
    {"EspID", I, true, -1},
};

const ParamEntry kPackArrayParams[] = {
    {"ArrayID", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kCreateStringParams[] = {
    {"EspID", I, true, -1},
    {"String", S, true, 0},
    {"Protected", I, true, 0},
    {"RefuseZero", I, true, 0},
};

const ParamEntry kDestroyStringParams[] = {
    {"StringID", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kSetStringParams[] = {
    {"StringID", I, false, 0},
    {"String", S, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kStringEspParams[] = {
    {"StringID", I, false, 0},
    {"EspID", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kStringProtectParams[] = {
    {"StringID", I, false, 0},
    {"Protected", I, true, -1},
};

const ParamEntry kStringLenParams[] = {
    {"StringID", I, false, 0},
    {"Length", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kDestroyAllStringsParams[] = {
    {"EspID", I, true, -1},
};

const ParamEntry kStringSetNameParams[] = {
    {"Reference", B, false, 0},
    {"StringID", I, true, -1},
};

const ParamEntry kStringGetNameParams[] = {
    {"Reference", B, false, 0},
    {"StringID", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kStringMsgParams[] = {
    {"StringID", I, false, 0},
    {"ToConsole", I, true, 0},
};

const ParamEntry kStringCatParams[] = {
    {"StringID0", I, false, 0},
    {"StringID1", I, false, 0},
    {"StringID2", I, true, -1},
    {"StringID3", I, true, -1},
    {"StringID4", I, true, -1},
    {"StringID5", I, true, -1},
    {"StringID6", I, true, -1},
    {"StringID7", I, true, -1},
    {"StringID8", I, true, -1},
    {"StringID9", I, true, -1},
    {"StringID10", I, true, -1},
    {"StringID11", I, true, -1},
    {"StringID12", I, true, -1},
    {"StringID13", I, true, -1},
    {"StringID14", I, true, -1},
    {"StringID15", I, true, -1},
    {"StringID16", I, true, -1},
    {"StringID17", I, true, -1},
    {"StringID18", I, true, -1},
    {"StringID19", I, true, -1},
    {"StringID20", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kUserFileExistsParams[] = {
    {"StringID", I, false, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kRenFileParams[] = {
    {"Current filename", I, false, 0},
    {"New filename", I, false, 0},
};

const ParamEntry kDelFileParams[] = {
    {"StringID", I, false, 0},
};

const ParamEntry kStringToTxtFileParams[] = {
    {"Filename", I, false, 0},
    {"StringID", I, false, 0},
    {"EOL", I, true, 1},
};

const ParamEntry kCopyStringParams[] = {
    {"Target", I, false, 0},
    {"Source", I, false, 0},
    {"Position", I, true, 1},
    {"Number", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kIntToStringParams[] = {
    {"StringID", I, false, 0},
    {"Value", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kFloatToStringParams[] = {
    {"StringID", I, false, 0},
    {"Value", F, false, 0},
    {"Digits", I, true, 7},
    {"Global", I, true, 0},
};

const ParamEntry kRefToStringParams[] = {
    {"StringID", I, false, 0},
    {"Reference", R, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kIniReadIntParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Default Value", I, false, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kIniReadFloatParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Default Value", F, false, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kIniReadRefParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Default Value", R, false, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kIniWriteIntParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Value", I, false, 0},
};

const ParamEntry kIniWriteFloatParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Value", F, false, 0},
};

const ParamEntry kIniWriteRefParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Value", R, false, 0},
};

const ParamEntry kIniKeyExistsParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, true, -1},
    {"RootID", I, true, 0},
};

const ParamEntry kIniDelKeyParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, true, -1},
};

const ParamEntry kEspToStringParams[] = {
    {"StringID", I, false, 0},
    {"EspID", I, true, -1},
    {"Global", I, true, 0},
    {"LowerCase", I, true, 1},
};

const ParamEntry kIniReadStringParams[] = {
    {"Target", I, false, 0},
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Default Value", I, false, 0},
    {"Global", I, true, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kIniWriteStringParams[] = {
    {"Filename", I, false, 0},
    {"Section", I, false, 0},
    {"Key", I, false, 0},
    {"Value", I, false, 0},
};

const ParamEntry kModRefEspParams[] = {
    {"Value", R, false, 0},
    {"EspID", I, true, -1},
};

const ParamEntry kGetRefEspParams[] = {
    {"Value", R, false, 0},
};

const ParamEntry kStringToRefParams[] = {
    {"StringID", I, false, 0},
};

const ParamEntry kStringCmpParams[] = {
    {"StringID", I, false, 0},
    {"StringID", I, false, 0},
    {"CaseSensitive", I, true, 0},
};

const ParamEntry kFileToStringParams[] = {
    {"Filename", I, false, 0},
    {"StringID", I, false, 0},
    {"Global", I, true, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kStringPosParams[] = {
    {"Substring", I, false, 0},
    {"StringID", I, false, 0},
    {"Start", I, true, 1},
    {"End", I, true, -1},
    {"IgnoreCase", I, true, 0},
    {"FindLast", I, true, 0},
};

const ParamEntry kStringToIntParams[] = {
    {"StringID", I, false, 0},
};

const ParamEntry kStringToFloatParams[] = {
    {"StringID", I, false, 0},
};

const ParamEntry kArrayCmpParams[] = {
    {"ArrayID", I, false, 0},
    {"ArrayID", I, false, 0},
    {"CheckValidity", I, true, 0},
};

const ParamEntry kStringMsgBoxParams[] = {
    {"StringID0", I, false, 0},
    {"StringID1", I, true, -1},
    {"StringID2", I, true, -1},
    {"StringID3", I, true, -1},
    {"StringID4", I, true, -1},
    {"StringID5", I, true, -1},
    {"StringID6", I, true, -1},
    {"StringID7", I, true, -1},
    {"StringID8", I, true, -1},
    {"StringID9", I, true, -1},
    {"StringID10", I, true, -1},
};

const ParamEntry kStringInsParams[] = {
    {"Substring", I, false, 0},
    {"StringID", I, false, 0},
    {"Start", I, true, 1},
    {"Length", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kStringRepParams[] = {
    {"OrgSubstring", I, false, 0},
    {"NewSubstring", I, false, 0},
    {"StringID", I, false, 0},
    {"Start", I, true, 1},
    {"End", I, true, -1},
    {"IgnoreCase", I, true, 0},
    {"ReplaceAll", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kIntToHexParams[] = {
    {"StringID", I, false, 0},
    {"Value", I, false, 0},
    {"Digits", I, true, 8},
    {"Global", I, true, 0},
    {"Format 0x", I, true, 0},
};

const ParamEntry kLCParams[] = {
    {"Rounded", I, false, 0},
    {"format string", S, false, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
};

const ParamEntry kFromNyxaParams[] = {
    {"StringID", I, false, 0},
    {"Nyxaid", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kToNyxaParams[] = {
    {"StringID", I, false, 0},
};

const ParamEntry kStrLCParams[] = {
    {"Rounded", I, false, 0},
    {"StringID", I, false, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
    {"variable", I, true, 0},
};

const ParamEntry kCreateEspBookParams[] = {
    {"Plugin", I, false, 0},
    {"Name", I, true, -1},
    {"Text", I, true, -1},
    {"Model", I, true, -100000},
    {"Icon", I, true, -100001},
};

const ParamEntry kFmtStringParams[] = {
    {"StringID", I, false, 0},
    {"Global", I, false, 0},
    {"Formatted String", S, false, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
    {"variable", F, true, 0},
};

const ParamEntry kFixNameParams[] = {
    {"Reference", B, false, 0},
    {"StringID", I, true, -1},
};

const ParamEntry kResetNameParams[] = {
    {"Reference", B, true, 0},
};

const ParamEntry kHasFixedNameParams[] = {
    {"Reference", B, true, 0},
};

const ParamEntry kcscParams[] = {
    {"Scancode", I, false, 0},
    {"CaseUP", I, true, 0},
    {"StringID", I, true, -1},
    {"Append", I, true, 1},
    {"Global", I, true, 0},
};

const ParamEntry kStringSetNameExParams[] = {
    {"StringID", I, true, -1},
    {"Reference", B, true, 0},
};

const ParamEntry kStringGetNameExParams[] = {
    {"StringID", I, false, 0},
    {"Global", I, true, 0},
    {"Reference", B, true, 0},
};

const ParamEntry kFixNameExParams[] = {
    {"StringID", I, true, -1},
    {"Reference", B, true, 0},
};

const ParamEntry kIniGetNthSectionParams[] = {
    {"String", I, false, 0},
    {"Filename", I, false, 0},
    {"Nth", I, false, 0},
    {"RootID", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kIniSectionsCountParams[] = {
    {"Filename", I, false, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kRunBatStringParams[] = {
    {"StringID", I, false, 0},
};

const ParamEntry kRefToLongParams[] = {
    {"Value", R, false, 0},
};

const ParamEntry kLongToRefParams[] = {
    {"Value", I, false, 0},
};

const ParamEntry kFindFirstFileParams[] = {
    {"FileFound", I, false, 0},
    {"Filemask", I, true, -42},
    {"RootID", I, true, 0},
    {"Directories", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kFindNextFileParams[] = {
    {"FileFound", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kGetFileSizeParams[] = {
    {"StringID", I, false, 0},
    {"RootID", I, true, 0},
};

const ParamEntry kNewHudSParams[] = {
    {"Filename", I, false, 0},
    {"RootID", I, true, 0},
    {"Show", I, true, 1},
    {"X", F, true, 0},
    {"Y", F, true, 0},
    {"L", I, true, 500},
    {"Scale", F, true, 1.0},
    {"Opacity", F, true, 100},
    {"Alignment", I, true, 5},
    {"AutoScale", I, true, 1},
    {"Protected", I, true, 1},
    {"EspID", I, true, -1},
};

const ParamEntry kDelHudSParams[] = {
    {"HudSID", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kScreenInfoParams[] = {
    {"InfoType", I, true, 0},
};

const ParamEntry kHudS_XParams[] = {
    {"HudSID", I, false, 0},
    {"X", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudS_SclXParams[] = {
    {"HudSID", I, false, 0},
    {"Scale X", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudS_ShowParams[] = {
    {"HudSID", I, false, 0},
    {"Show", I, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudS_OpacParams[] = {
    {"HudSID", I, false, 0},
    {"Opacity", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudS_AlignParams[] = {
    {"HudSID", I, false, 0},
    {"Alignment", I, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kAutoSclHudSParams[] = {
    {"HudSID", I, false, 0},
    {"AutoScale", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kHudS_YParams[] = {
    {"HudSID", I, false, 0},
    {"Y", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudSEspParams[] = {
    {"HudSID", I, false, 0},
    {"EspID", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kHudSProtectParams[] = {
    {"HudSID", I, false, 0},
    {"Protected", I, true, -1},
};

const ParamEntry kHudsInfoParams[] = {
    {"HudSID", I, false, 0},
    {"InfoType", I, false, 0},
};

const ParamEntry kDelAllHudSsParams[] = {
    {"EspID", I, true, -1},
};

const ParamEntry kHudS_LParams[] = {
    {"HudSID", I, false, 0},
    {"L", I, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry krcscParams[] = {
    {"StringID", I, false, 0},
    {"Position", I, true, 1},
};

const ParamEntry kHudS_SclYParams[] = {
    {"HudSID", I, false, 0},
    {"Scale Y", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kNewHudTParams[] = {
    {"X", F, true, 0},
    {"Y", F, true, 0},
    {"Width", F, true, -1},
    {"Height", F, true, -1},
    {"L", I, true, 500},
    {"Scale", F, true, 1.0},
    {"Opacity", F, true, 100},
    {"Alignment", I, true, 5},
    {"AutoScale", I, true, 1},
    {"Protected", I, true, 1},
    {"EspID", I, true, -1},
};

const ParamEntry kDelHudTParams[] = {
    {"HudTID", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_XParams[] = {
    {"HudTID", I, false, 0},
    {"X", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_SclXParams[] = {
    {"HudTID", I, false, 0},
    {"Scale X", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_ShowParams[] = {
    {"HudTID", I, false, 0},
    {"Show", I, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_OpacParams[] = {
    {"HudTID", I, false, 0},
    {"Opacity", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_AlignParams[] = {
    {"HudTID", I, false, 0},
    {"Alignment", I, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kAutoSclHudTParams[] = {
    {"HudTID", I, false, 0},
    {"AutoScale", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_YParams[] = {
    {"HudTID", I, false, 0},
    {"Y", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudTEspParams[] = {
    {"HudTID", I, false, 0},
    {"EspID", I, true, -1},
    {"Global", I, true, 0},
};

const ParamEntry kHudTProtectParams[] = {
    {"HudTID", I, false, 0},
    {"Protected", I, true, -1},
};

const ParamEntry kHudTInfoParams[] = {
    {"HudTID", I, false, 0},
    {"InfoType", I, false, 0},
};

const ParamEntry kDelAllHudTsParams[] = {
    {"EspID", I, true, -1},
};

const ParamEntry kHudT_LParams[] = {
    {"HudTID", I, false, 0},
    {"L", I, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_SclYParams[] = {
    {"HudTID", I, false, 0},
    {"Scale Y", F, false, 0},
    {"Relative", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kPauseBoxParams[] = {
    {"StringID", I, true, -1},
};

const ParamEntry kKillMenuParams[] = {
    {"MenuType", I, false, 0},
};

const ParamEntry kSetHudTParams[] = {
    {"HudTID", I, false, 0},
    {"Text", I, false, 0},
    {"Font name", I, false, 0},
    {"Show", I, true, 1},
    {"Height", I, true, 8},
    {"Width", I, true, 0},
    {"Weight", I, true, 0},
    {"Italic", I, true, 0},
    {"R", I, true, 0},
    {"G", I, true, 0},
    {"B", I, true, 0},
    {"Format", I, true, 148},
    {"Global", I, true, 0},
};

const ParamEntry kHudT_TextParams[] = {
    {"HudTID", I, false, 0},
    {"StringID", I, false, 0},
    {"Global", I, true, 0},
};

const ParamEntry kHudS_TexParams[] = {
    {"HudSID", I, false, 0},
    {"Filename", I, false, 0},
    {"RootID", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kSanStringParams[] = {
    {"Target", I, false, 0},
    {"San. Set", I, true, -1},
    {"Max Length", I, true, -1},
    {"Ignore Case", I, true, 0},
    {"Global", I, true, 0},
};

const ParamEntry kKrvlSpclParams[] = {
    {"Arg 0", I, true, 0},
    {"Arg 1", I, true, 0},
    {"Arg 2", I, true, 0},
    {"Arg 3", I, true, 0},
};

}  // namespace

const CommandEntry kCatalogue[kCommandCount] = {
    {"GetEsp", "", "Get EspID.", 0x2330, -1, Extractor::kEngine, 256, kGetEspParams, std::size(kGetEspParams), &Cmd_GetEsp},
    {"CreateArray", "", "Create a new array.", 0x2331, -1, Extractor::kEngine, 0, kCreateArrayParams, std::size(kCreateArrayParams), &Cmd_CreateArray},
    {"DestroyArray", "", "Destroy array.", 0x2332, -1, Extractor::kEngine, 0, kDestroyArrayParams, std::size(kDestroyArrayParams), &Cmd_DestroyArray},
    {"ArraySize", "", "Set the Array size.", 0x2333, -1, Extractor::kEngine, 0, kArraySizeParams, std::size(kArraySizeParams), &Cmd_ArraySize},
    {"ArrayCount", "", "Get the Array count.", 0x2334, -1, Extractor::kEngine, 0, kArrayCountParams, std::size(kArrayCountParams), &Cmd_ArrayCount},
    {"SetInArray", "", "Store value in Array.", 0x2335, 0, Extractor::kEngine, 0, kSetInArrayParams, std::size(kSetInArrayParams), &Cmd_SetInArray},
    {"SetFloatInArray", "", "Store float in Array.", 0x2336, 0, Extractor::kEngine, 0, kSetFloatInArrayParams, std::size(kSetFloatInArrayParams), &Cmd_SetFloatInArray},
    {"GetInArray", "", "Retrieve value from array.", 0x2337, 0, Extractor::kEngine, 0, kGetInArrayParams, std::size(kGetInArrayParams), &Cmd_GetInArray},
    {"GetTypeInArray", "", "Retrieve type from array.", 0x2338, -1, Extractor::kEngine, 0, kGetTypeInArrayParams, std::size(kGetTypeInArrayParams), &Cmd_GetTypeInArray},
    {"RemInArray", "", "Remove value from array.", 0x2339, 0, Extractor::kEngine, 0, kRemInArrayParams, std::size(kRemInArrayParams), &Cmd_RemInArray},
    {"FindInArray", "", "Find occurence in array.", 0x233A, -1, Extractor::kEngine, 0, kFindInArrayParams, std::size(kFindInArrayParams), &Cmd_FindInArray},
    {"FindFloatInArray", "", "Find float occurence in array.", 0x233B, -1, Extractor::kEngine, 0, kFindFloatInArrayParams, std::size(kFindFloatInArrayParams), &Cmd_FindFloatInArray},
    {"SetRefInArray", "", "Store reference ID in Array.", 0x233C, 0, Extractor::kCompanion, 0, kSetRefInArrayParams, std::size(kSetRefInArrayParams), &Cmd_SetRefInArray},
    {"FindRefInArray", "", "Find reference occurence in array.", 0x233D, -1, Extractor::kCompanion, 0, kFindRefInArrayParams, std::size(kFindRefInArrayParams), &Cmd_FindRefInArray},
    {"CopyArray", "DupArray", "Duplicate an array.", 0x233E, -1, Extractor::kEngine, 0, kCopyArrayParams, std::size(kCopyArrayParams), &Cmd_CopyArray},
    {"ArrayEsp", "", "Set the EspID", 0x233F, -1, Extractor::kEngine, 0, kArrayEspParams, std::size(kArrayEspParams), &Cmd_ArrayEsp},
    {"ArrayProtect", "", "Set the Array Protected Flag", 0x2340, -1, Extractor::kEngine, 0, kArrayProtectParams, std::size(kArrayProtectParams), &Cmd_ArrayProtect},
    {"FirstInArray", "FirstFreeInArray", "Get the first empty or used Index in the array.", 0x2341, -1, Extractor::kEngine, 0, kFirstInArrayParams, std::size(kFirstInArrayParams), &Cmd_FirstInArray},
    {"DestroyAllArrays", "", "Destroy all Esp's array.", 0x2342, 0, Extractor::kEngine, 0, kDestroyAllArraysParams, std::size(kDestroyAllArraysParams), &Cmd_DestroyAllArrays},
    {"PackArray", "", "Pack array.", 0x2343, 0, Extractor::kEngine, 0, kPackArrayParams, std::size(kPackArrayParams), &Cmd_PackArray},
    {"CreateString", "", "Create a new string.", 0x2344, -1, Extractor::kEngine, 4097, kCreateStringParams, std::size(kCreateStringParams), &Cmd_CreateString},
    {"DestroyString", "", "Destroy string.", 0x2345, 0, Extractor::kEngine, 0, kDestroyStringParams, std::size(kDestroyStringParams), &Cmd_DestroyString},
    {"SetString", "", "Set string.", 0x2346, 0, Extractor::kEngine, 4097, kSetStringParams, std::size(kSetStringParams), &Cmd_SetString},
    {"StringEsp", "", "Set the EspID", 0x2347, -1, Extractor::kEngine, 0, kStringEspParams, std::size(kStringEspParams), &Cmd_StringEsp},
    {"StringProtect", "", "Set the String Protected Flag", 0x2348, -1, Extractor::kEngine, 0, kStringProtectParams, std::size(kStringProtectParams), &Cmd_StringProtect},
    {"StringLen", "", "Get the String Length.", 0x2349, -1, Extractor::kEngine, 0, kStringLenParams, std::size(kStringLenParams), &Cmd_StringLen},
    {"DestroyAllStrings", "", "Destroy all Esp's String.", 0x234A, 0, Extractor::kEngine, 0, kDestroyAllStringsParams, std::size(kDestroyAllStringsParams), &Cmd_DestroyAllStrings},
    {"StringSetName", "", "Set the name.", 0x234B, 0, Extractor::kCompanion, 0, kStringSetNameParams, std::size(kStringSetNameParams), &Cmd_StringSetName},
    {"StringGetName", "", "Get the name.", 0x234C, 0, Extractor::kCompanion, 0, kStringGetNameParams, std::size(kStringGetNameParams), &Cmd_StringGetName},
    {"StringMsg", "", "Display the string as Message.", 0x234D, 0, Extractor::kEngine, 0, kStringMsgParams, std::size(kStringMsgParams), &Cmd_StringMsg},
    {"StringCat", "", "Concatenates strings.", 0x234E, 0, Extractor::kEngine, 0, kStringCatParams, std::size(kStringCatParams), &Cmd_StringCat},
    {"UserFileExists", "TxtFileExists", "Does a Korvel text file exist?", 0x234F, 0, Extractor::kEngine, 0, kUserFileExistsParams, std::size(kUserFileExistsParams), &Cmd_UserFileExists},
    {"RenFile", "RenTxtFile", "Renames a Korvel user file.", 0x2378, 0, Extractor::kEngine, 0, kRenFileParams, std::size(kRenFileParams), &Cmd_RenFile},
    {"DelFile", "DelTxtFile", "Delete a Korvel user file", 0x2379, 0, Extractor::kEngine, 0, kDelFileParams, std::size(kDelFileParams), &Cmd_DelFile},
    {"StringToTxtFile", "", "Write a string in a text file", 0x237A, 0, Extractor::kEngine, 0, kStringToTxtFileParams, std::size(kStringToTxtFileParams), &Cmd_StringToTxtFile},
    {"CopyString", "", "Copy a String.", 0x237B, 0, Extractor::kEngine, 0, kCopyStringParams, std::size(kCopyStringParams), &Cmd_CopyString},
    {"IntToString", "", "Convert an integer into a string.", 0x237C, 0, Extractor::kEngine, 0, kIntToStringParams, std::size(kIntToStringParams), &Cmd_IntToString},
    {"FloatToString", "", "Convert a float into a string.", 0x237D, 0, Extractor::kEngine, 0, kFloatToStringParams, std::size(kFloatToStringParams), &Cmd_FloatToString},
    {"RefToString", "", "Convert a reference into a string.", 0x237E, 0, Extractor::kCompanion, 0, kRefToStringParams, std::size(kRefToStringParams), &Cmd_RefToString},
    {"IniReadInt", "", "Read integer from ini file.", 0x237F, 0, Extractor::kEngine, 0, kIniReadIntParams, std::size(kIniReadIntParams), &Cmd_IniReadInt},
    {"IniReadFloat", "", "Read float from ini file.", 0x2380, 0, Extractor::kEngine, 0, kIniReadFloatParams, std::size(kIniReadFloatParams), &Cmd_IniReadFloat},
    {"IniReadRef", "", "Read a reference from ini file.", 0x2381, 0, Extractor::kCompanion, 0, kIniReadRefParams, std::size(kIniReadRefParams), &Cmd_IniReadRef},
    {"IniWriteInt", "", "Write integer to ini file.", 0x2382, 0, Extractor::kEngine, 0, kIniWriteIntParams, std::size(kIniWriteIntParams), &Cmd_IniWriteInt},
    {"IniWriteFloat", "", "Write float to ini file.", 0x2383, 0, Extractor::kEngine, 0, kIniWriteFloatParams, std::size(kIniWriteFloatParams), &Cmd_IniWriteFloat},
    {"IniWriteRef", "", "Write a reference to ini file.", 0x2384, 0, Extractor::kCompanion, 0, kIniWriteRefParams, std::size(kIniWriteRefParams), &Cmd_IniWriteRef},
    {"IniKeyExists", "", "Checks if a key exists in ini file.", 0x2385, 0, Extractor::kCompanion, 0, kIniKeyExistsParams, std::size(kIniKeyExistsParams), &Cmd_IniKeyExists},
    {"IniDelKey", "", "Deletes a key in ini file.", 0x2386, 0, Extractor::kEngine, 0, kIniDelKeyParams, std::size(kIniDelKeyParams), &Cmd_IniDelKey},
    {"EspToString", "", "Convert an esp filename into a string.", 0x2387, 0, Extractor::kEngine, 0, kEspToStringParams, std::size(kEspToStringParams), &Cmd_EspToString},
    {"IniReadString", "", "Reads a string from ini file.", 0x2388, 0, Extractor::kEngine, 0, kIniReadStringParams, std::size(kIniReadStringParams), &Cmd_IniReadString},
    {"IniWriteString", "", "Writes a string from ini file.", 0x2389, 0, Extractor::kEngine, 0, kIniWriteStringParams, std::size(kIniWriteStringParams), &Cmd_IniWriteString},
    {"ModRefEsp", "", "Returns a reindexed reference", 0x238A, 0, Extractor::kCompanion, 0, kModRefEspParams, std::size(kModRefEspParams), &Cmd_ModRefEsp},
    {"GetRefEsp", "", "return the reference's EspID.", 0x238B, -1, Extractor::kCompanion, 0, kGetRefEspParams, std::size(kGetRefEspParams), &Cmd_GetRefEsp},
    {"StringToRef", "", "Converts a string into ref.", 0x238C, 0, Extractor::kEngine, 0, kStringToRefParams, std::size(kStringToRefParams), &Cmd_StringToRef},
    {"StringCmp", "", "Compares two strings and return the position of the first difference", 0x238D, 1, Extractor::kEngine, 0, kStringCmpParams, std::size(kStringCmpParams), &Cmd_StringCmp},
    {"FileToString", "", "Copy a file into a string", 0x238E, 0, Extractor::kEngine, 0, kFileToStringParams, std::size(kFileToStringParams), &Cmd_FileToString},
    {"StringPos", "", "Returns the position of a substring in a string", 0x238F, 0, Extractor::kEngine, 0, kStringPosParams, std::size(kStringPosParams), &Cmd_StringPos},
    {"StringToInt", "", "Converts a string into an integer.", 0x2390, 0, Extractor::kEngine, 0, kStringToIntParams, std::size(kStringToIntParams), &Cmd_StringToInt},
    {"StringToFloat", "", "Converts a string into a float.", 0x2391, 0, Extractor::kEngine, 0, kStringToFloatParams, std::size(kStringToFloatParams), &Cmd_StringToFloat},
    {"ArrayCmp", "", "Compares two arrays", 0x2392, 0, Extractor::kEngine, 0, kArrayCmpParams, std::size(kArrayCmpParams), &Cmd_ArrayCmp},
    {"StringMsgBox", "", "Display the string in a Message Box.", 0x2393, 0, Extractor::kEngine, 0, kStringMsgBoxParams, std::size(kStringMsgBoxParams), &Cmd_StringMsgBox},
    {"StringIns", "", "Inserts a substring into a string", 0x2394, 0, Extractor::kEngine, 0, kStringInsParams, std::size(kStringInsParams), &Cmd_StringIns},
    {"StringRep", "", "Replace a substring in a string", 0x2395, 0, Extractor::kEngine, 0, kStringRepParams, std::size(kStringRepParams), &Cmd_StringRep},
    {"IntToHex", "", "Convert an integer into a hex string.", 0x2396, 0, Extractor::kEngine, 0, kIntToHexParams, std::size(kIntToHexParams), &Cmd_IntToHex},
    {"LC", "", "Long based calculation", 0x2397, 0, Extractor::kEngine, 4097, kLCParams, std::size(kLCParams), &Cmd_LC},
    {"FromNyxa", "", "Copy a Nyxa String.", 0x23B0, 0, Extractor::kEngine, 0, kFromNyxaParams, std::size(kFromNyxaParams), &Cmd_FromNyxa},
    {"ToNyxa", "", "Copy a string to a Nyxa String.", 0x23B1, -1, Extractor::kEngine, 0, kToNyxaParams, std::size(kToNyxaParams), &Cmd_ToNyxa},
    {"StrLC", "", "Long based calculation.", 0x23B2, 0, Extractor::kEngine, 0, kStrLCParams, std::size(kStrLCParams), &Cmd_StrLC},
    {"CreateEspBook", "", "Create a book in a new plugin.", 0x23B3, 0, Extractor::kEngine, 0, kCreateEspBookParams, std::size(kCreateEspBookParams), &Cmd_CreateEspBook},
    {"FmtString", "", "Set a string using Qarn formating.", 0x23B4, 0, Extractor::kFormatString, 16385, kFmtStringParams, std::size(kFmtStringParams), &Cmd_FmtString},
    {"FixName", "", "Fix the name.", 0x23B5, 0, Extractor::kCompanion, 0, kFixNameParams, std::size(kFixNameParams), &Cmd_FixName},
    {"ResetName", "", "Reset the name.", 0x23B6, 0, Extractor::kCompanion, 0, kResetNameParams, std::size(kResetNameParams), &Cmd_ResetName},
    {"HasFixedName", "", "Has a fixed name?", 0x23B7, 0, Extractor::kCompanion, 0, kHasFixedNameParams, std::size(kHasFixedNameParams), &Cmd_HasFixedName},
    {"csc", "", "Converts a ScanCode.", 0x23B8, -1, Extractor::kEngine, 0, kcscParams, std::size(kcscParams), &Cmd_csc},
    {"StringSetNameEx", "", "Set the name.", 0x23B9, 0, Extractor::kCompanion, 0, kStringSetNameExParams, std::size(kStringSetNameExParams), &Cmd_StringSetNameEx},
    {"StringGetNameEx", "", "Get the name.", 0x23BA, 0, Extractor::kCompanion, 0, kStringGetNameExParams, std::size(kStringGetNameExParams), &Cmd_StringGetNameEx},
    {"FixNameEx", "", "Fix the name.", 0x23BB, 0, Extractor::kCompanion, 0, kFixNameExParams, std::size(kFixNameExParams), &Cmd_FixNameEx},
    {"IniGetNthSection", "", "Get a section name from ini file.", 0x23BC, 0, Extractor::kEngine, 0, kIniGetNthSectionParams, std::size(kIniGetNthSectionParams), &Cmd_IniGetNthSection},
    {"IniSectionsCount", "", "Return the sections count.", 0x23BD, 0, Extractor::kEngine, 0, kIniSectionsCountParams, std::size(kIniSectionsCountParams), &Cmd_IniSectionsCount},
    {"RunBatString", "", "Run a string as batch.", 0x23BE, 0, Extractor::kEngine, 0, kRunBatStringParams, std::size(kRunBatStringParams), &Cmd_RunBatString},
    {"Halt", "", "Halt Veldmark immediatly!", 0x23BF, 0, Extractor::kNone, 0, nullptr, 0, &Cmd_Halt},
    {"RefToLong", "", "Convert Ref to Long.", 0x23C0, 0, Extractor::kCompanion, 0, kRefToLongParams, std::size(kRefToLongParams), &Cmd_RefToLong},
    {"LongToRef", "", "Convert Long to Ref.", 0x23C1, 0, Extractor::kEngine, 0, kLongToRefParams, std::size(kLongToRefParams), &Cmd_LongToRef},
    {"FindFirstFile", "", "Find first file.", 0x23C2, 0, Extractor::kEngine, 0, kFindFirstFileParams, std::size(kFindFirstFileParams), &Cmd_FindFirstFile},
    {"FindNextFile", "", "Find next file.", 0x23C3, 0, Extractor::kEngine, 0, kFindNextFileParams, std::size(kFindNextFileParams), &Cmd_FindNextFile},
    {"GetFileSize", "", "Return the file size", 0x23C4, -1, Extractor::kEngine, 0, kGetFileSizeParams, std::size(kGetFileSizeParams), &Cmd_GetFileSize},
    {"NewHudS", "", "Create a new Hud Surface.", 0x23C5, -1, Extractor::kEngine, 0, kNewHudSParams, std::size(kNewHudSParams), &Cmd_NewHudS},
    {"DelHudS", "", "Destroy a HudS.", 0x23C6, 0, Extractor::kEngine, 0, kDelHudSParams, std::size(kDelHudSParams), &Cmd_DelHudS},
    {"ScreenInfo", "", "Return info about the screen.", 0x23C7, 0, Extractor::kEngine, 0, kScreenInfoParams, std::size(kScreenInfoParams), &Cmd_ScreenInfo},
    {"HudS_X", "", "HudS X", 0x23C8, 0, Extractor::kEngine, 0, kHudS_XParams, std::size(kHudS_XParams), &Cmd_HudS_X},
    {"HudS_SclX", "", "HudS Scale X.", 0x23C9, 0, Extractor::kEngine, 0, kHudS_SclXParams, std::size(kHudS_SclXParams), &Cmd_HudS_SclX},
    {"HudS_Show", "", "HudS Show State.", 0x23CA, 0, Extractor::kEngine, 0, kHudS_ShowParams, std::size(kHudS_ShowParams), &Cmd_HudS_Show},
    {"HudS_Opac", "Huds_Opacity", "HudS Opacity.", 0x23CB, 0, Extractor::kEngine, 0, kHudS_OpacParams, std::size(kHudS_OpacParams), &Cmd_HudS_Opac},
    {"HudS_Align", "", "HudS_Alignment.", 0x23CC, 0, Extractor::kEngine, 0, kHudS_AlignParams, std::size(kHudS_AlignParams), &Cmd_HudS_Align},
    {"AutoSclHudS", "", "HudS AutoScale State.", 0x23CD, 0, Extractor::kEngine, 0, kAutoSclHudSParams, std::size(kAutoSclHudSParams), &Cmd_AutoSclHudS},
    {"HudS_Y", "", "HudS Y", 0x23CE, 0, Extractor::kEngine, 0, kHudS_YParams, std::size(kHudS_YParams), &Cmd_HudS_Y},
    {"HudSEsp", "", "Set the EspID", 0x23CF, -1, Extractor::kEngine, 0, kHudSEspParams, std::size(kHudSEspParams), &Cmd_HudSEsp},
    {"HudSProtect", "", "Set the HudS Protected Flag", 0x23D0, -1, Extractor::kEngine, 0, kHudSProtectParams, std::size(kHudSProtectParams), &Cmd_HudSProtect},
    {"HudsInfo", "", "Return info about the HudS.", 0x23D1, 0, Extractor::kEngine, 0, kHudsInfoParams, std::size(kHudsInfoParams), &Cmd_HudsInfo},
    {"DelAllHudSs", "", "Destroy all Esp's HudS.", 0x23D2, 0, Extractor::kEngine, 0, kDelAllHudSsParams, std::size(kDelAllHudSsParams), &Cmd_DelAllHudSs},
    {"HudS_L", "", "HudS L", 0x23D3, 0, Extractor::kEngine, 0, kHudS_LParams, std::size(kHudS_LParams), &Cmd_HudS_L},
    {"rcsc", "", "Converts a char to scancode.", 0x23D4, 0, Extractor::kEngine, 0, krcscParams, std::size(krcscParams), &Cmd_rcsc},
    {"HudS_SclY", "", "HudS Scale Y.", 0x23D5, 0, Extractor::kEngine, 0, kHudS_SclYParams, std::size(kHudS_SclYParams), &Cmd_HudS_SclY},
    {"NewHudT", "", "Create a new Text Hud.", 0x23D6, -1, Extractor::kEngine, 0, kNewHudTParams, std::size(kNewHudTParams), &Cmd_NewHudT},
    {"DelHudT", "", "Destroy a HudT.", 0x23D7, 0, Extractor::kEngine, 0, kDelHudTParams, std::size(kDelHudTParams), &Cmd_DelHudT},
    {"HudT_X", "", "HudT X", 0x23D8, 0, Extractor::kEngine, 0, kHudT_XParams, std::size(kHudT_XParams), &Cmd_HudT_X},
    {"HudT_SclX", "", "HudT Scale X.", 0x23D9, 0, Extractor::kEngine, 0, kHudT_SclXParams, std::size(kHudT_SclXParams), &Cmd_HudT_SclX},
    {"HudT_Show", "", "HudT Show State.", 0x23DA, 0, Extractor::kEngine, 0, kHudT_ShowParams, std::size(kHudT_ShowParams), &Cmd_HudT_Show},
    {"HudT_Opac", "HudT_Opacity", "HudT Opacity.", 0x23DB, 0, Extractor::kEngine, 0, kHudT_OpacParams, std::size(kHudT_OpacParams), &Cmd_HudT_Opac},
    {"HudT_Align", "", "HudT_Alignment.", 0x23DC, 0, Extractor::kEngine, 0, kHudT_AlignParams, std::size(kHudT_AlignParams), &Cmd_HudT_Align},
    {"AutoSclHudT", "", "HudT AutoScale State.", 0x23DD, 0, Extractor::kEngine, 0, kAutoSclHudTParams, std::size(kAutoSclHudTParams), &Cmd_AutoSclHudT},
    {"HudT_Y", "", "HudT Y", 0x23DE, 0, Extractor::kEngine, 0, kHudT_YParams, std::size(kHudT_YParams), &Cmd_HudT_Y},
    {"HudTEsp", "", "Set the EspID", 0x23DF, -1, Extractor::kEngine, 0, kHudTEspParams, std::size(kHudTEspParams), &Cmd_HudTEsp},
    {"HudTProtect", "", "Set the HudT Protected Flag", 0x23E0, -1, Extractor::kEngine, 0, kHudTProtectParams, std::size(kHudTProtectParams), &Cmd_HudTProtect},
    {"HudTInfo", "", "Return info about the HudT.", 0x23E1, 0, Extractor::kEngine, 0, kHudTInfoParams, std::size(kHudTInfoParams), &Cmd_HudTInfo},
    {"DelAllHudTs", "", "Destroy all Esp's HudT.", 0x23E2, 0, Extractor::kEngine, 0, kDelAllHudTsParams, std::size(kDelAllHudTsParams), &Cmd_DelAllHudTs},
    {"HudT_L", "", "HudT L", 0x23E3, 0, Extractor::kEngine, 0, kHudT_LParams, std::size(kHudT_LParams), &Cmd_HudT_L},
    {"HudT_SclY", "", "HudT Scale Y.", 0x23E4, 0, Extractor::kEngine, 0, kHudT_SclYParams, std::size(kHudT_SclYParams), &Cmd_HudT_SclY},
    {"PauseBox", "", "Display the string in a Pause Box.", 0x23E5, 0, Extractor::kEngine, 0, kPauseBoxParams, std::size(kPauseBoxParams), &Cmd_PauseBox},
    {"KillMenu", "", "Kill the menu", 0x23E6, 0, Extractor::kEngine, 0, kKillMenuParams, std::size(kKillMenuParams), &Cmd_KillMenu},
    {"SetHudT", "", "Set a HudT text", 0x23E7, 0, Extractor::kEngine, 0, kSetHudTParams, std::size(kSetHudTParams), &Cmd_SetHudT},
    {"HudT_Text", "", "HudT Text.", 0x23E8, 0, Extractor::kEngine, 0, kHudT_TextParams, std::size(kHudT_TextParams), &Cmd_HudT_Text},
    {"HudS_Tex", "", "HudS Texture.", 0x23E9, 0, Extractor::kEngine, 0, kHudS_TexParams, std::size(kHudS_TexParams), &Cmd_HudS_Tex},
    {"SanString", "", "Sanitize String.", 0x23EA, 0, Extractor::kEngine, 0, kSanStringParams, std::size(kSanStringParams), &Cmd_SanString},
    {"IsHUDEnabled", "", "Returns if HUD functions are available.", 0x23EB, 0, Extractor::kNone, 0, nullptr, 0, &Cmd_IsHUDEnabled},
    {"IsKorvelDataReset", "", "Returns if Korvel data has been reset or not loaded.", 0x23EC, 0, Extractor::kNone, 0, nullptr, 0, &Cmd_IsKorvelDataReset},
    {"KrvlSpcl", "", "Korvel Special Reserved Command. Do not use!", 0x23FF, 0, Extractor::kEngine, 0, kKrvlSpclParams, std::size(kKrvlSpclParams), &Cmd_KrvlSpcl},
};

}  // namespace korvel
