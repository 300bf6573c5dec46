// The array commands.
#include <cstring>

#include "core/handlers.h"
#include "objects/array_store.h"
#include "objects/owner_commands.h"

namespace korvel {
namespace {

// The array a changing command may work on, or null.
TypeArray* Writable(CommandCall& call, int32_t id, int32_t global) {
  TArrayIDList& arrays = GetArrays();
  if (!arrays.MayAccess(call.script_form_id(), id, global)) return nullptr;
  return &arrays.Get(id)->Body;
}

const TypeArray* Readable(int32_t id) {
  const ArrayEntry* entry = GetArrays().Get(id);
  return entry ? &entry->Body : nullptr;
}

uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return bits;
}

// SetInArray and its float and reference twins: ArrayID, Index, Value,
// Blocksize, Global, Insert.
void Store(CommandCall& call, uint8_t type, uint32_t value) {
  TypeArray* body = Writable(call, call.Int(0), call.Int(4));
  int32_t index = call.Int(1);
  if (!body || index < 0) return;
  if (call.Int(5) != 0 && !body->InsertGap(index)) return;
  body->SetItem(index, type, call.Int(3), value);
}

// FindInArray and its twins: ArrayID, Value, Start, Stop (-1 = the end).
void Search(CommandCall& call, uint8_t type, uint32_t value) {
  const TypeArray* body = Readable(call.Int(0));
  if (!body) return;
  int32_t stop = call.Int(3) == -1 ? body->Size() - 1 : call.Int(3);
  call.SetResultInt(body->Find(type, value, call.Int(2), stop));
}

}  // namespace

void Cmd_CreateArray(CommandCall& call) {
  call.SetResultInt(CreateArray(call.Int(0), call.Int(1), call.Int(2) != 0, call.Int(3) != 0));
}

void Cmd_DestroyArray(CommandCall& call) {
  int32_t id = call.Int(0);
  TArrayIDList& arrays = GetArrays();
  if (arrays.IsInvalid(id)) return;
  if (arrays.MayAccess(call.script_form_id(), id, call.Int(1)))
    arrays.Destroy(id);
  else
    call.SetResultInt(id);
}

void Cmd_ArraySize(CommandCall& call) {
  int32_t id = call.Int(0), size = call.Int(1);
  TArrayIDList& arrays = GetArrays();
  if (arrays.IsInvalid(id)) return;
  TypeArray& body = arrays.Get(id)->Body;
  if (size >= 0 && arrays.MayAccess(call.script_form_id(), id, call.Int(2))) body.SetSize(size);
  call.SetResultInt(body.Size());
}

void Cmd_ArrayCount(CommandCall& call) {
  if (const TypeArray* body = Readable(call.Int(0))) call.SetResultInt(body->Count());
}

void Cmd_SetInArray(CommandCall& call) { Store(call, kItemInteger, static_cast<uint32_t>(call.Int(2))); }
void Cmd_SetFloatInArray(CommandCall& call) { Store(call, kItemFloat, Bits(call.Float(2))); }
void Cmd_SetRefInArray(CommandCall& call) { Store(call, kItemReference, call.FormId(2)); }

void Cmd_GetInArray(CommandCall& call) {
  const TypeArray* body = Readable(call.Int(0));
  int32_t index = call.Int(1);
  if (!body || index < 0 || index >= body->Size() || !body->Has(index)) return;
  uint32_t value = body->Value(index);
  switch (body->Type(index)) {
    case kItemInteger: call.SetResultInt(static_cast<int32_t>(value)); break;
    case kItemReference: call.SetResultRef(value); break;
    case kItemFloat: {
      float f;
      std::memcpy(&f, &value, 4);
      call.SetResult(f);
      break;
    }
  }
}

void Cmd_GetTypeInArray(CommandCall& call) {
  const TypeArray* body = Readable(call.Int(0));
  int32_t index = call.Int(1);
  if (body && index >= 0 && index < body->Size() && body->Has(index))
    call.SetResultInt(body->Type(index));
}

void Cmd_RemInArray(CommandCall& call) {
  TypeArray* body = Writable(call, call.Int(0), call.Int(2));
  if (!body) return;
  body->RemoveItem(call.Int(1));
  if (call.Int(3) != 0) body->RemoveGap(call.Int(1));
}

void Cmd_FindInArray(CommandCall& call) { Search(call, kItemInteger, static_cast<uint32_t>(call.Int(1))); }
void Cmd_FindFloatInArray(CommandCall& call) { Search(call, kItemFloat, Bits(call.Float(1))); }
void Cmd_FindRefInArray(CommandCall& call) { Search(call, kItemReference, call.FormId(1)); }

void Cmd_CopyArray(CommandCall& call) {
  if (call.script_form_id() == 0) return;
  call.SetResultInt(CopyArray(call.CallerEspId(), call.Int(0), call.Int(1), call.Int(2) != 0));
}

void Cmd_ArrayEsp(CommandCall& call) { OwnerCommand(call, GetArrays()); }
void Cmd_ArrayProtect(CommandCall& call) { ProtectCommand(call, GetArrays()); }

void Cmd_FirstInArray(CommandCall& call) {
  const TypeArray* body = Readable(call.Int(0));
  if (!body) return;
  int32_t stop = call.Int(3) == -1 ? body->Size() - 1 : call.Int(3);
  call.SetResultInt(body->First(call.Int(1) > 0, call.Int(2), stop));
}

void Cmd_DestroyAllArrays(CommandCall& call) {
  int32_t esp = call.Int(0);
  GetArrays().DestroyAllOfOwner(esp, esp == call.CallerEspId());
}

void Cmd_PackArray(CommandCall& call) {
  if (TypeArray* body = Writable(call, call.Int(0), call.Int(1))) body->Pack();
}

void Cmd_ArrayCmp(CommandCall& call) {
  TArrayIDList& arrays = GetArrays();
  int32_t sum = (arrays.IsInvalid(call.Int(0)) ? -1 : 0) + (arrays.IsInvalid(call.Int(1)) ? -2 : 0);
  if (sum == 0)
    call.SetResultInt(CompareArrays(call.Int(0), call.Int(1)));
  else
    call.SetResultInt(call.Int(2) != 0 ? sum : 0);
}

}  // namespace korvel
