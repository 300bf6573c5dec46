#include "names/names.h"

#include <algorithm>

#include "base/engine.h"

namespace korvel {

NameRegister& GetNames() {
  static NameRegister names;
  return names;
}

TName* NameRegister::Find(uint32_t form_id) const {
  for (const auto& r : records_)
    if (r->FormID == form_id) return r.get();
  return nullptr;
}

void NameRegister::SetOverride(void* reference, void* base, const std::string& name) {
  Engine& engine = GetEngine();
  uint32_t form_id = engine.FormId(base ? base : reference);
  if (form_id == 0) return;
  if (TName* record = Find(form_id)) {
    record->Name = name;
  } else {
    records_.push_back(std::make_unique<TName>(form_id, name, engine.GetName(reference, base)));
  }
  engine.SetName(reference, base, name);
}

void NameRegister::ResetOverride(void* object) {
  uint32_t form_id = GetEngine().FormId(object);
  if (form_id == 0) return;
  auto it = std::find_if(records_.begin(), records_.end(),
                         [&](const auto& r) { return r->FormID == form_id; });
  if (it == records_.end()) return;
  GetEngine().SetName(object, object, (*it)->FormerName);
  records_.erase(it);
  records_.shrink_to_fit();
}

bool NameRegister::HasOverride(void* object) const {
  uint32_t form_id = GetEngine().FormId(object);
  return form_id != 0 && Find(form_id) != nullptr;
}

void NameRegister::ClearAll() {
  Engine& engine = GetEngine();
  for (const auto& r : records_)
    if (void* form = engine.LookupForm(r->FormID)) engine.SetName(form, form, r->FormerName);
  records_.clear();
  records_.shrink_to_fit();
}

}  // namespace korvel
