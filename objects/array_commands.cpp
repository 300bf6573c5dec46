// The array commands.
#include <cstring>
#include <new>

#include "core/command_args.h"
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

// SetInArray and its float and reference twins, which share their other
// parameters.
template <class Args>
void Store(CommandCall& call, const Args& args, uint8_t type, uint32_t value) {
  TypeArray* body = Writable(call, args.ArrayID(), args.Global());
  int32_t index = args.Index();
  if (!body || index < 0) return;
  if (args.Insert() != 0 && !body->InsertGap(index)) return;
  body->SetItem(index, type, args.Blocksize(), value);
}

// FindInArray and its twins; Stop -1 is the end.
template <class Args>
void Search(CommandCall& call, const Args& args, uint8_t type, uint32_t value) {
  const TypeArray* body = Readable(args.ArrayID());
  if (!body) return;
  int32_t stop = args.Stop() == -1 ? body->Size() - 1 : args.Stop();
  call.SetResultInt(body->Find(type, value, args.Start(), stop));
}

}  // namespace

void Cmd_CreateArray(CommandCall& call) {
  CreateArrayArgs args(call);
  call.SetResultInt(
      CreateArray(args.EspID(), args.Size(), args.Protected() != 0, args.RefuseZero() != 0));
}

void Cmd_DestroyArray(CommandCall& call) {
  DestroyArrayArgs args(call);
  int32_t id = args.ArrayID();
  TArrayIDList& arrays = GetArrays();
  if (arrays.IsInvalid(id)) return;
  if (arrays.MayAccess(call.script_form_id(), id, args.Global()))
    arrays.Destroy(id);
  else
    call.SetResultInt(id);
}

void Cmd_ArraySize(CommandCall& call) {
  ArraySizeArgs args(call);
  int32_t id = args.ArrayID(), size = args.Size();
  TArrayIDList& arrays = GetArrays();
  if (arrays.IsInvalid(id)) return;
  TypeArray& body = arrays.Get(id)->Body;
  if (size >= 0 && arrays.MayAccess(call.script_form_id(), id, args.Global())) {
    // Growing that runs out of memory leaves the array as it was, and the
    // result is still the size after the step.
    try {
      body.SetSize(size);
    } catch (const std::bad_alloc&) {
    }
  }
  call.SetResultInt(body.Size());
}

void Cmd_ArrayCount(CommandCall& call) {
  if (const TypeArray* body = Readable(ArrayCountArgs(call).ArrayID()))
    call.SetResultInt(body->Count());
}

void Cmd_SetInArray(CommandCall& call) {
  SetInArrayArgs args(call);
  Store(call, args, kItemInteger, static_cast<uint32_t>(args.Value()));
}
void Cmd_SetFloatInArray(CommandCall& call) {
  SetFloatInArrayArgs args(call);
  Store(call, args, kItemFloat, Bits(args.Value()));
}
void Cmd_SetRefInArray(CommandCall& call) {
  SetRefInArrayArgs args(call);
  Store(call, args, kItemReference, args.ReferenceFormId());
}

void Cmd_GetInArray(CommandCall& call) {
  GetInArrayArgs args(call);
  const TypeArray* body = Readable(args.ArrayID());
  int32_t index = args.Index();
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
  GetTypeInArrayArgs args(call);
  const TypeArray* body = Readable(args.ArrayID());
  int32_t index = args.Index();
  if (body && index >= 0 && index < body->Size() && body->Has(index))
    call.SetResultInt(body->Type(index));
}

void Cmd_RemInArray(CommandCall& call) {
  RemInArrayArgs args(call);
  TypeArray* body = Writable(call, args.ArrayID(), args.Global());
  if (!body) return;
  body->RemoveItem(args.Index());
  if (args.RemoveGap() != 0) body->RemoveGap(args.Index());
}

void Cmd_FindInArray(CommandCall& call) {
  FindInArrayArgs args(call);
  Search(call, args, kItemInteger, static_cast<uint32_t>(args.Value()));
}
void Cmd_FindFloatInArray(CommandCall& call) {
  FindFloatInArrayArgs args(call);
  Search(call, args, kItemFloat, Bits(args.Value()));
}
void Cmd_FindRefInArray(CommandCall& call) {
  FindRefInArrayArgs args(call);
  Search(call, args, kItemReference, args.ReferenceFormId());
}

void Cmd_CopyArray(CommandCall& call) {
  if (call.script_form_id() == 0) return;
  CopyArrayArgs args(call);
  call.SetResultInt(
      CopyArray(call.CallerEspId(), args.ArrayID(), args.NewSize(), args.RefuseZero() != 0));
}

void Cmd_ArrayEsp(CommandCall& call) {
  ArrayEspArgs args(call);
  OwnerCommand(call, GetArrays(), args.ArrayID(), args.EspID(), args.Global());
}
void Cmd_ArrayProtect(CommandCall& call) {
  ArrayProtectArgs args(call);
  ProtectCommand(call, GetArrays(), args.ArrayID(), args.Protected());
}

void Cmd_FirstInArray(CommandCall& call) {
  FirstInArrayArgs args(call);
  const TypeArray* body = Readable(args.ArrayID());
  if (!body) return;
  int32_t stop = args.Stop() == -1 ? body->Size() - 1 : args.Stop();
  call.SetResultInt(body->First(args.Free() > 0, args.Start(), stop));
}

void Cmd_DestroyAllArrays(CommandCall& call) {
  int32_t esp = DestroyAllArraysArgs(call).EspID();
  GetArrays().DestroyAllOfOwner(esp, esp == call.CallerEspId());
}

void Cmd_PackArray(CommandCall& call) {
  PackArrayArgs args(call);
  if (TypeArray* body = Writable(call, args.ArrayID(), args.Global())) body->Pack();
}

void Cmd_ArrayCmp(CommandCall& call) {
  ArrayCmpArgs args(call);
  TArrayIDList& arrays = GetArrays();
  int32_t sum =
      (arrays.IsInvalid(args.ArrayID1()) ? -1 : 0) + (arrays.IsInvalid(args.ArrayID2()) ? -2 : 0);
  if (sum == 0)
    call.SetResultInt(CompareArrays(args.ArrayID1(), args.ArrayID2()));
  else
    call.SetResultInt(args.CheckValidity() != 0 ? sum : 0);
}

}  // namespace korvel
