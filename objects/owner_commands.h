// The owner and protection commands shared by every kind of object: a
// caller that may not change the object only learns the current value.
#pragma once

#include "base/command.h"

namespace korvel {

// StringEsp, ArrayEsp: sets the owner of object id to esp_id; the result
// is the owner after the call.
template <class List>
void OwnerCommand(CommandCall& call, List& list, int32_t id, int32_t esp_id, int32_t global) {
  if (list.IsInvalid(id)) return;
  int32_t esp = list.MayAccess(call.script_form_id(), id, global) ? esp_id : -1;
  call.SetResultInt(list.SetOwner(id, esp));
}

// StringProtect, ArrayProtect: the result is the flag after the call. Only
// the owner may change it; Global does not help.
template <class List>
void ProtectCommand(CommandCall& call, List& list, int32_t id, int32_t is_protected) {
  if (list.IsInvalid(id)) return;
  int32_t value = list.MayAccess(call.script_form_id(), id, 0) ? is_protected : -1;
  call.SetResultInt(list.SetProtected(id, value));
}

}  // namespace korvel
