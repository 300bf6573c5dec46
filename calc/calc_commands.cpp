// LC and StrLC: the calculator on a literal text or on a string's text,
// with up to ten integer variables.
#include <optional>
#include <string>
#include <string_view>

#include "calc/calculate.h"
#include "core/command_args.h"
#include "core/handlers.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_LC(CommandCall& call) {
  LCArgs args(call);
  CalcVariables v = {args.V0(), args.V1(), args.V2(), args.V3(), args.V4(),
                     args.V5(), args.V6(), args.V7(), args.V8(), args.V9()};
  call.SetResult(Calculate(args.FormatString(), v, args.Rounded()));
}

void Cmd_StrLC(CommandCall& call) {
  StrLCArgs args(call);
  // A stored string is read where it lies (a megabyte is not copied); a
  // built-in or temporary one is resolved as every command resolves it.
  std::optional<std::string> resolved;
  std::string_view expression;
  if (const StringR* stored = args.StringID() >= 0 ? GetStrings().Get(args.StringID()) : nullptr) {
    expression = stored->Text;
  } else {
    resolved = ResolveSource(args.StringID());
    // A StringID that names no string leaves the result slot as it was.
    if (!resolved) return;
    expression = *resolved;
  }
  CalcVariables v = {args.V0(), args.V1(), args.V2(), args.V3(), args.V4(),
                     args.V5(), args.V6(), args.V7(), args.V8(), args.V9()};
  call.SetResult(Calculate(expression, v, args.Rounded()));
}

}  // namespace korvel
