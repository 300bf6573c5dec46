#include "save/cosave_io.h"

#include <string>

#include "base/engine.h"
#include "base/env.h"
#include "base/flags.h"
#include "core/global.h"
#include "mods/esp_registry.h"
#include "save/cosave_messages.h"
#include "save/cosave_registries.h"
#include "save/save_hook.h"
#include "save/save_header_probe.h"

namespace korvel {

CoSaveState& GetCoSaveState() {
  static CoSaveState state;
  return state;
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
  ReadCoSaveFile(std::string(save_name));
}

void WriteCoSaveFile(const std::string& save_name) {
  ProbeSaveHeader(save_name);
  CoSaveEncoder encoder;
  GatherRegistries(encoder);
  std::string file = encoder.Finish(GetCoSaveState().save_match);
  std::string path = CoSaveNameOf(save_name);
  Env& env = GetEnv();
  if (!env.WriteFile(path, file)) {
    // No partial co-save may stay behind.
    env.RemoveFile(path);
    GetEngine().NoticeBox(CoSaveWriteFailedMessage(FileNamePart(save_name)), "Ok");
  }
}

void ReadCoSaveFile(const std::string& save_name) {
  std::string path = CoSaveNameOf(save_name);
  Env& env = GetEnv();
  if (!env.FileExists(path)) return;
  std::string file;
  CoSaveReadStatus status = CoSaveReadStatus::kCorrupted;
  bool opened = env.ReadFile(path, &file);
  if (opened) {
    LogAppend({"Opening stream"});
    status = RestoreRegistries(file, GetCoSaveState().save_match);
  }
  if (status == CoSaveReadStatus::kOk) {
    GetFlags().data_reset = false;
  } else {
    CoSaveState& state = GetCoSaveState();
    bool repeat = status == CoSaveReadStatus::kMismatch && state.mismatch_shown;
    if (status == CoSaveReadStatus::kMismatch) state.mismatch_shown = true;
    CoSaveNotice notice = CoSaveReadNotice(status, FileNamePart(path), FileNamePart(save_name));
    if (!repeat) GetEngine().NoticeBox(notice.text, notice.button);
  }
  if (opened) LogAppend({"Closing stream"});
}

}  // namespace korvel
