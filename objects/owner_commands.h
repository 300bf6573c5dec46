// The owner and protection commands shared by every kind of object: a
// caller that may not change the object only learns the current value.
#pragma once

#include "base/command.h"

namespace korvel {

// StringEsp, ArrayEsp: (id, EspID, Global) -> the owner after the call.
template <class List>
void OwnerCommand(CommandCall& call, List& list) {
  int32_t id = call.Int(0);
  if (list.IsInvalid(id)) return;
  int32_t esp = list.MayAccess(call.script_form_id(), id, call.Int(2)) ? call.Int(1) : -1;
  call.SetResultInt(list.SetOwner(id, esp));
}

// StringProtect, ArrayProtect: (id, Protected) -> the flag after the call.
// Only the owner may change it; Global does not help.
template <class List>
void ProtectCommand(CommandCall& call, List& list) {
  int32_t id = call.Int(0);
  if (list.IsInvalid(id)) return;
  int32_t value = list.MayAccess(call.script_form_id(), id, 0) ? call.Int(1) : -1;
  call.SetResultInt(list.SetProtected(id, value));
}

}  // namespace korvel
