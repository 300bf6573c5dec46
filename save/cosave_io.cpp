#include "save/cosave_io.h"

#include <string>
#include <vector>

#include "base/engine.h"
#include "base/env.h"
#include "base/flags.h"
#include "core/global.h"
#include "hud/screen.h"
#include "mods/esp_registry.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "names/names.h"
#include "save/cosave_format.h"
#include "save/save_hook.h"

namespace korvel {
namespace {

std::string FileNameOnly(const std::string& path) { return FileNamePart(path); }

// An array as stored: created at its id, then filled without growing past
// its stored size; references follow the current load order.
void RestoreArray(CoSaveArray&& a) {
  if (CreateArrayAt(a.owner, a.id, a.size, a.is_protected != 0) < 0) return;
  TypeArray& body = GetArrays().Get(a.id)->Body;
  for (const CoSaveItem& item : a.items) {
    if (item.type > kItemFloat) continue;
    uint32_t value = item.type == kItemReference ? GetMods().RemapFormId(item.value) : item.value;
    body.SetItem(item.index, item.type, 0, value);
  }
}

void RestoreNames(std::vector<CoSaveName>&& names) {
  Engine& engine = GetEngine();
  for (const CoSaveName& n : names) {
    uint32_t form_id = GetMods().RemapFormId(n.form_id);
    if (form_id == 0) continue;
    if (void* form = engine.LookupForm(form_id)) GetNames().SetOverride(form, form, n.name);
  }
}

void WriteArrays(CoSaveWriter& writer) {
  TArrayIDList& arrays = GetArrays();
  if (arrays.empty()) return;
  std::vector<CoSaveItem> items;
  for (int32_t id = arrays.max_used(); id >= arrays.min_used(); --id) {
    const ArrayEntry* entry = arrays.Get(id);
    if (!entry) continue;
    items.clear();
    const TypeArray& body = entry->Body;
    for (int32_t i = 0; i < body.Size(); ++i)
      if (body.Has(i)) items.push_back({i, body.Type(i), body.Value(i)});
    writer.Array(id, entry->EspID, entry->Protected, body.Size(), items);
  }
}

void WriteNameOverrides(CoSaveWriter& writer) {
  const auto& records = GetNames().records();
  if (records.empty()) return;
  std::vector<CoSaveName> names;
  for (const auto& r : records) names.push_back({r->FormID, r->Name});
  writer.Names(names);
}

// Applies what a co-save holds to the registries as it is read.
class RegistrySink final : public CoSaveSink {
 public:
  void Mods(const std::vector<CoSaveMod>& mods) override {
    EspRegistry& registry = GetMods();
    registry.ClearForLoad();
    for (const CoSaveMod& m : mods) registry.Restore(m.esp_id, m.mod_index, m.name);
    registry.AssignFree();
  }
  void String(CoSaveString&& s) override {
    auto entry = std::make_unique<StringR>();
    entry->Text = std::move(s.text);
    GetStrings().CreateAt(s.owner, s.id, std::move(entry), s.is_protected != 0);
  }
  void Array(CoSaveArray&& a) override { RestoreArray(std::move(a)); }
  void Names(std::vector<CoSaveName>&& names) override { RestoreNames(std::move(names)); }
  void Screen(int32_t width, int32_t height) override {
    GetSavedScreen() = {width, height};
    if (width != 0 && height != 0) {
      const ScreenSize& now = GetScreen();
      float by_width = static_cast<float>(now.width) / static_cast<float>(width);
      float by_height = static_cast<float>(now.height) / static_cast<float>(height);
      GetHudScale() = by_width < by_height ? by_width : by_height;
    }
  }
  // HUD elements are read so the stream stays in step; the HUD records
  // them when the HUD variant runs.
  void HudSurface(CoSaveHudSurface&&) override {}
  void HudText(CoSaveHudText&&) override {}
};

}  // namespace

bool SomethingToSave() {
  return !GetStrings().empty() || HasArrays() || HasNameOverrides();
}

void ClearAllObjects() {
  ClearAllStrings();
  ClearAllArrays();
  ClearNameOverrides();
}

void OnResetPoint() {
  ClearAllObjects();
  GetMods().ResetToIdentity();
  GetFlags().hud_suspended = true;
}

void OnSaveLoaded(std::string_view save_name) {
  GetMods().Build();
  GetFlags().hud_suspended = false;
  ClearAllObjects();
  GetFlags().data_reset = true;
  ReadCoSave(std::string(save_name));
}

void WriteCoSave(const std::string& save_name) {
  ProbeSaveHeader(save_name);
  CoSaveWriter writer;
  EspRegistry& mods = GetMods();
  if (mods.last_position() >= 0) {
    std::vector<CoSaveMod> list;
    for (int i = 0; i <= mods.last_position(); ++i) {
      const EspR& r = mods.record(i);
      list.push_back({static_cast<uint8_t>(r.EspID), r.current_mod_index, r.name});
    }
    writer.Mods(list);
  }
  TStringIDList& strings = GetStrings();
  if (!strings.empty()) {
    writer.BeginStrings();
    for (int32_t id = strings.max_used(); id >= strings.min_used(); --id)
      if (const StringR* s = strings.Get(id)) writer.String(id, s->EspID, s->Protected, s->Text);
    writer.EndStrings();
  }
  WriteArrays(writer);
  WriteNameOverrides(writer);
  std::string file = writer.Finish(GetCoSaveState().save_match);
  std::string path = CoSaveNameOf(save_name);
  Env& env = GetEnv();
  if (!env.WriteFile(path, file)) {
    // No partial co-save may stay behind.
    env.RemoveFile(path);
    GetEngine().NoticeBox(CoSaveWriteFailedMessage(FileNameOnly(save_name)), "Ok");
  }
}

void ReadCoSave(const std::string& save_name) {
  std::string path = CoSaveNameOf(save_name);
  Env& env = GetEnv();
  if (!env.FileExists(path)) return;
  std::string file;
  CoSaveReadStatus status = CoSaveReadStatus::kCorrupted;
  RegistrySink sink;
  bool opened = env.ReadFile(path, &file);
  if (opened) {
    LogAppend({"Opening stream"});
    status = korvel::ReadCoSave(file, GetCoSaveState().save_match, sink);
  }
  if (status == CoSaveReadStatus::kOk) {
    GetFlags().data_reset = false;
  } else {
    CoSaveState& state = GetCoSaveState();
    bool repeat = status == CoSaveReadStatus::kMismatch && state.mismatch_shown;
    if (status == CoSaveReadStatus::kMismatch) state.mismatch_shown = true;
    CoSaveNotice notice = CoSaveReadNotice(status, FileNameOnly(path), FileNameOnly(save_name));
    if (!repeat) GetEngine().NoticeBox(notice.text, notice.button);
  }
  if (opened) LogAppend({"Closing stream"});
}

}  // namespace korvel
