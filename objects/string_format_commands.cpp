// Formatted text: the companion library's format strings and hexadecimal
// numbers.
#include <cstdio>
#include <string>

#include "core/command_args.h"
#include "core/handlers.h"
#include "objects/string_store.h"

namespace korvel {

// The text IntToHex writes: value as unsigned 32 bits in upper-case hex, at
// least `digits` digits (0 to 32; other values count as 0).
std::string HexText(int32_t value, int32_t digits, bool prefix) {
  if (digits < 0 || digits > 32) digits = 0;
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%s%0*X", prefix ? "0x" : "", digits,
                static_cast<unsigned>(static_cast<uint32_t>(value)));
  return buffer;
}

void Cmd_IntToHex(CommandCall& call) {
  IntToHexArgs args(call);
  if (std::string* target = ResolveTarget(call.script_form_id(), args.StringID(), args.Global()))
    *target = HexText(args.Value(), args.Digits(), args.Format0x() != 0);
}

void Cmd_FmtString(CommandCall& call) {
  // The companion has already expanded the format into the text (at most
  // 16,384 characters, cut at its first zero byte by the frame).
  if (!call.arguments_read()) return;
  FmtStringArgs args(call);
  if (std::string* target = ResolveTarget(call.script_form_id(), args.StringID(), args.Global()))
    *target = std::string(args.FormattedString());
}

}  // namespace korvel
