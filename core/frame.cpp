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

// The room a text argument is extracted into, made once: a call that takes
// a text neither allocates nor clears 64 KiB. The text is copied out before
// the handler runs, so a command that runs a script line (and with it other
// commands) leaves nothing in it to lose. Null when it cannot be had.
char* TextScratch() {
  static char* scratch = nullptr;
  if (!scratch) scratch = new (std::nothrow) char[kTextScratch];
  return scratch;
}

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
        text = TextScratch();
        if (!text) return true;
        // The extractor sees a zeroed buffer of the command's own size; the
        // rest of the scratch room only ever holds a longer literal that is
        // cut below.
        std::memset(text, 0, std::min(entry.text_buffer, kTextScratch));
      }
      extractor->Extract(entry, call.slots(), text, text ? kTextScratch : 0);
      call.SetArgumentsRead(extractor->ArgumentsRead());
      if (text) {
        text[kTextScratch - 1] = '\0';
        size_t length = std::strlen(text);
        if (length > entry.text_buffer - 1) length = entry.text_buffer - 1;
        call.text().assign(text, length);
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
