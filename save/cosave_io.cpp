#include "save/cosave_io.h"

#include <memory>
#include <string>

#include "base/engine.h"
#include "base/env.h"
#include "base/flags.h"
#include "core/global.h"
#include "mods/esp_registry.h"
#include "save/cosave_file_source.h"
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

namespace {

// Hands the encoder's buffers to the co-save file as they fill.
class FileByteSink final : public CoSaveByteSink {
 public:
  explicit FileByteSink(WritableFile& file) : file_(file) {}
  bool Write(const char* data, size_t size) override { return file_.Append(data, size); }

 private:
  WritableFile& file_;
};

// True when the whole co-save reached the file. Throws what the walk or
// the encoder throws (out of memory, a refused write); the file is closed
// by then.
bool WriteWhole(const std::string& path) {
  std::unique_ptr<WritableFile> file = GetEnv().NewWritableFile(path);
  if (!file) return false;
  FileByteSink sink(*file);
  CoSaveEncoder encoder(sink);
  GatherRegistries(encoder);
  encoder.Finish(GetCoSaveState().save_match);
  return file->Close();
}

// The registries as the decoder hands them over; anything that still
// escapes (the entries themselves drop what finds no memory) ends the read
// as a failed one.
CoSaveReadStatus Restore(CoSaveSource& source) {
  try {
    return RestoreRegistries(source, GetCoSaveState().save_match);
  } catch (...) {
    return CoSaveReadStatus::kCorrupted;
  }
}

// The buffer every load reads its co-save through, held for the life of
// the game: a load asks no memory to read, and no block of its size comes
// and goes between the old objects' release and the new ones' making.
char read_window[kCoSaveReadWindow];

// The stream's log lines, made at start-up: logging them needs no memory,
// so a read that ran out of it is still closed in the log.
const std::string kOpeningLine = "Opening stream\r\n";
const std::string kClosingLine = "Closing stream\r\n";

void Note(const std::string& line) {
  try {
    GetEnv().AppendFile(GetFolders().log_file, line);
  } catch (...) {
  }
}

// Told when not even the message naming the save finds memory; made at
// start-up, so telling needs none.
const std::string kUnnamedWriteFailed = "Korvel data could not be saved !";

}  // namespace

void WriteCoSaveFile(const std::string& save_name) {
  std::string message, path;
  bool written = false;
  try {
    // The message first: when memory runs out for good during the write,
    // the player is still told.
    try {
      message = CoSaveWriteFailedMessage(FileNamePart(save_name));
    } catch (...) {
    }
    ProbeSaveHeader(save_name);
    path = CoSaveNameOf(save_name);
    written = WriteWhole(path);
  } catch (...) {
    // Out of memory or a refused write: handled as any failed write.
  }
  if (written) return;
  // No partial co-save may stay behind.
  if (!path.empty()) GetEnv().RemoveFile(path);
  try {
    GetEngine().NoticeBox(message.empty() ? kUnnamedWriteFailed : message, "Ok");
  } catch (...) {
  }
}

void ReadCoSaveFile(const std::string& save_name) {
  std::string path = CoSaveNameOf(save_name);
  Env& env = GetEnv();
  if (!env.FileExists(path)) return;
  std::unique_ptr<RandomAccessFile> file;
  CoSaveReadStatus status = CoSaveReadStatus::kCorrupted;
  try {
    file = env.NewRandomAccessFile(path);
  } catch (...) {
  }
  const bool opened = file != nullptr;
  if (opened) {
    Note(kOpeningLine);
    CoSaveFileSource source(*file, read_window, sizeof read_window);
    status = Restore(source);
    file.reset();
  }
  if (status == CoSaveReadStatus::kOk) {
    GetFlags().data_reset = false;
  } else {
    CoSaveState& state = GetCoSaveState();
    bool repeat = status == CoSaveReadStatus::kMismatch && state.mismatch_shown;
    if (status == CoSaveReadStatus::kMismatch) state.mismatch_shown = true;
    try {
      CoSaveNotice notice = CoSaveReadNotice(status, FileNamePart(path), FileNamePart(save_name));
      if (!repeat) GetEngine().NoticeBox(notice.text, notice.button);
    } catch (...) {
    }
  }
  if (opened) Note(kClosingLine);
}

}  // namespace korvel
