// SaveHook: follows the game's own file traffic to know when a save has
// been written, really loaded, moved or deleted, and drives the co-save.
// This part decides; save_hook_win32.cpp sits in the game's file calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

inline constexpr uint32_t kGenericRead = 0x80000000u;
inline constexpr uint32_t kGenericWrite = 0x40000000u;
// A save closed after reading at most this many bytes was only peeked at.
inline constexpr int64_t kPeekLimit = 0x20000;

// The extension of a file name: from the last "." after the last "\" or
// ":", in ASCII lower case; empty when there is none.
std::string ExtensionOf(std::string_view name);
// The name with its extension replaced (or, without one, appended).
std::string ReplaceExtension(std::string_view name, std::string_view extension);
// The co-save of a game save: its extension replaced by ".korvel".
std::string CoSaveNameOf(std::string_view save_name);

enum class OpenKind { kOther, kLoad, kSave };
enum class CloseAction {
  kNone,           // not a watched handle
  kPeeked,         // the game only looked at the save header
  kLoaded,         // the save was really loaded: clear and read the co-save
  kWriteCoSave,    // a save was written and there is something to keep
  kDeleteCoSave,   // a save was written with nothing to keep
};

class SaveTraffic {
 public:
  // Before the engine opens a file. Probes the header of a save about to
  // be loaded. Returns what the open is.
  OpenKind BeforeOpen(std::string_view name, uint32_t access);
  // After the engine open returned handle for an open of the given kind.
  void AfterOpen(OpenKind kind, std::string_view name, uintptr_t handle);
  // Before the engine closes handle. position is the handle's file
  // position (asked for only when it is the load handle).
  template <class Position>
  CloseAction BeforeClose(uintptr_t handle, Position position, bool something_to_save) {
    if (handle != 0 && handle == load_handle_) {
      load_handle_ = 0;
      return position() <= kPeekLimit ? CloseAction::kPeeked : CloseAction::kLoaded;
    }
    if (handle != 0 && handle == save_handle_) {
      save_handle_ = 0;
      write_armed_ = false;
      return something_to_save ? CloseAction::kWriteCoSave : CloseAction::kDeleteCoSave;
    }
    return CloseAction::kNone;
  }

  const std::string& load_name() const { return load_name_; }
  const std::string& save_name() const { return save_name_; }
  bool write_armed() const { return write_armed_; }

 private:
  std::string load_name_, save_name_;
  uintptr_t load_handle_ = 0, save_handle_ = 0;
  bool write_armed_ = false;
};

SaveTraffic& GetSaveTraffic();

// The three patched points of the game.
void OnSaveRenamed(std::string_view existing, std::string_view renamed);
void OnSaveDeleted(std::string_view name);
void OnResetPoint();
// The game has really loaded a save: clear everything and read its co-save.
void OnSaveLoaded(std::string_view save_name);

}  // namespace korvel
