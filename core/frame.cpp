#include "core/frame.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "base/engine.h"
#include "base/owners.h"

namespace korvel {

uint32_t CommandCall::FormId(size_t i) const {
  void* form = slots_[i].form;
  return form ? GetEngine().FormId(form) : 0;
}

int32_t CommandCall::CallerEspId() const {
  if (script_form_id_ == 0) return -1;
  return GetOwners().EspIdOfModIndex(script_form_id_ >> 24);
}

void CommandCall::SetResultRef(uint32_t form_id) {
  // Only the low four bytes; the high four keep what the preset left there.
  std::memcpy(reinterpret_cast<unsigned char*>(result_), &form_id, sizeof form_id);
}

namespace {

// The room a text argument is extracted into, made once and zeroed once: a
// call that takes a text neither allocates nor clears the whole buffer.
// Between calls the room is all zero; each call clears what its extractor
// wrote once the text is copied out, before the handler runs, so a command
// that runs a script line (and with it other commands) leaves nothing in
// it to lose. Null when it cannot be had.
char* TextScratch() {
  static char* scratch = nullptr;
  if (!scratch) scratch = new (std::nothrow) char[kTextScratch]();
  return scratch;
}

// Gives the room back zeroed, however the extraction ended. An extractor
// writes its text from the start of the room and at most a terminator
// after it, so what it wrote ends at the first zero byte.
class RoomClearer {
 public:
  explicit RoomClearer(char* room) : room_(room) {}
  RoomClearer(const RoomClearer&) = delete;
  RoomClearer& operator=(const RoomClearer&) = delete;
  ~RoomClearer() {
    if (!room_) return;
    const void* end = std::memchr(room_, 0, kTextScratch);
    std::memset(room_, 0, end ? static_cast<const char*>(end) - room_ : kTextScratch);
  }

 private:
  char* room_;
};

void PresetSlots(const CommandEntry& entry, ArgSlot* slots) {
  for (size_t i = 0; i < entry.param_count; ++i) {
    const ParamEntry& p = entry.params[i];
    if (p.type == ParamType::kFloat)
      slots[i].f = static_cast<float>(p.preset);
    else if (p.type == ParamType::kInteger)
      slots[i].i = static_cast<int32_t>(p.preset);
    else
      slots[i].form = nullptr;
  }
}

}  // namespace

bool RunCommand(const CommandEntry& entry, double* result, uint32_t script_form_id,
                void* calling_ref, ArgExtractor* extractor, void* script) noexcept {
  if (result == nullptr) return true;
  *result = entry.result_preset;
  try {
    CommandCall call(entry, result);
    call.SetCaller(script_form_id, calling_ref);
    call.SetScript(script);
    PresetSlots(entry, call.slots());
    if (extractor != nullptr && entry.extractor != Extractor::kNone) {
      char* text = nullptr;
      if (entry.text_buffer > 0) {
        // The extractor sees a zeroed buffer, larger than the command's own
        // so that a longer literal cannot overrun it; it is cut below.
        text = TextScratch();
        if (!text) return true;
      }
      {
        RoomClearer clear_after(text);
        extractor->Extract(entry, call.slots(), text, text ? kTextScratch : 0);
        call.SetArgumentsRead(extractor->ArgumentsRead());
        if (text) {
          // Up to the first NUL, cut to the command's buffer size minus one.
          const size_t most = std::min(entry.text_buffer, kTextScratch) - 1;
          const void* end = std::memchr(text, 0, most);
          call.text().assign(text, end ? static_cast<const char*>(end) - text : most);
        }
      }
    }
    if (script_form_id != 0) {
      for (size_t i = 0; i < entry.param_count; ++i) {
        if (entry.params[i].role == ParamRole::kCallerEspId && call.slots()[i].i == -1)
          call.slots()[i].i = call.CallerEspId();
      }
    }
    if (entry.handler != nullptr) entry.handler(call);
  } catch (...) {
    // Nothing crosses into the host; the preset stands.
    *result = entry.result_preset;
  }
  return true;
}

}  // namespace korvel
