// Calls a catalogue command the way the game does, through the frame, with
// the arguments a script would give; omitted trailing arguments keep their
// presets.
#pragma once

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/frame.h"

namespace korvel {

struct Arg {
  enum Kind { kInt, kFloat, kText, kForm } kind = kInt;
  int32_t i = 0;
  float f = 0;
  std::string text;
  void* form = nullptr;
};
inline Arg I(int32_t v) {
  Arg a;
  a.kind = Arg::kInt;
  a.i = v;
  return a;
}
inline Arg F(float v) {
  Arg a;
  a.kind = Arg::kFloat;
  a.f = v;
  return a;
}
inline Arg T(std::string v) {
  Arg a;
  a.kind = Arg::kText;
  a.text = std::move(v);
  return a;
}
inline Arg Ref(void* form) {
  Arg a;
  a.kind = Arg::kForm;
  a.form = form;
  return a;
}

class ListExtractor : public ArgExtractor {
 public:
  explicit ListExtractor(const std::vector<Arg>& args) : args_(args) {}
  void Extract(const CommandEntry& entry, ArgSlot* slots, char* text, size_t capacity) override {
    for (size_t i = 0; i < args_.size() && i < entry.param_count; ++i) {
      const Arg& a = args_[i];
      switch (a.kind) {
        case Arg::kInt:
          if (entry.params[i].type == ParamType::kFloat) slots[i].f = static_cast<float>(a.i);
          else slots[i].i = a.i;
          break;
        case Arg::kFloat: slots[i].f = a.f; break;
        case Arg::kForm: slots[i].form = a.form; break;
        case Arg::kText: {
          size_t n = std::min(a.text.size(), capacity - 1);
          std::memcpy(text, a.text.data(), n);
          text[n] = '\0';
          break;
        }
      }
    }
  }

 private:
  const std::vector<Arg>& args_;
};

// The result slot after the call.
inline double Call(const char* name, uint32_t script_form_id, const std::vector<Arg>& args,
                   void* calling_ref = nullptr) {
  const CommandEntry* entry = FindCommand(name);
  if (!entry) throw std::runtime_error(std::string("no command ") + name);
  double result = 12345.0;  // overwritten by the preset
  ListExtractor extractor(args);
  RunCommand(*entry, &result, script_form_id, calling_ref, &extractor);
  return result;
}

// The low four bytes of the result slot: a reference result.
inline uint32_t CallRef(const char* name, uint32_t script_form_id, const std::vector<Arg>& args,
                        void* calling_ref = nullptr) {
  double result = Call(name, script_form_id, args, calling_ref);
  uint32_t low;
  std::memcpy(&low, &result, 4);
  return low;
}

// A script form id of the mod at a load-order index.
inline uint32_t ScriptOf(uint32_t mod_index) { return (mod_index << 24) | 0x000D01; }

}  // namespace korvel
