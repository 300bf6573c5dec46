// The host's side of the execution frame: one cdecl handler per catalogue
// entry, the two argument extractors and the parse stub.
#include "core/frame_win32.h"

#include <windows.h>

#include <cstring>
#include <array>
#include <utility>

#include "core/catalogue.h"
#include "core/engine_win32.h"
#include "core/frame.h"

namespace korvel {
namespace {

abi::ParseCallback default_parse = nullptr;

// Fills the out-variable pointers in parameter order: the text buffer for a
// text parameter, the argument slot for every other one. Always 23 pointers;
// an extractor reads only as many as the parameter table has.
void ArgPointers(const CommandEntry& entry, ArgSlot* slots, char* text, void* out[kMaxParams]) {
  for (size_t i = 0; i < kMaxParams; ++i) {
    bool is_text = i < entry.param_count && entry.params[i].type == ParamType::kString;
    out[i] = is_text ? static_cast<void*>(text) : static_cast<void*>(&slots[i]);
  }
}

class HostExtractor final : public ArgExtractor {
 public:
  HostExtractor(abi::ParamRecord* params, void* script_data, uint32_t* opcode_offset,
                void* calling_ref, void* containing, void* script, void* event_list)
      : params_(params),
        script_data_(script_data),
        opcode_offset_(opcode_offset),
        calling_ref_(calling_ref),
        containing_(containing),
        script_(script),
        event_list_(event_list) {}

  void Extract(const CommandEntry& entry, ArgSlot* slots, char* text, size_t) override {
    void* p[kMaxParams];
    ArgPointers(entry, slots, text, p);
    if (entry.extractor == Extractor::kEngine) {
      abi::EngineTable* table = EngineTableOrNull();
      if (!table || !table->extract_args) return;
      table->extract_args(params_, script_data_, opcode_offset_, calling_ref_, containing_,
                          script_, event_list_, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7],
                          p[8], p[9], p[10], p[11], p[12], p[13], p[14], p[15], p[16], p[17],
                          p[18], p[19], p[20], p[21], p[22]);
    } else if (entry.extractor == Extractor::kCompanion) {
      auto extract = GetCompanion().ExtractArgsExOld;
      if (!extract) return;
      extract(params_, script_data_, opcode_offset_, script_, event_list_, p[0], p[1], p[2],
              p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10], p[11], p[12], p[13], p[14],
              p[15], p[16], p[17], p[18], p[19], p[20], p[21], p[22]);
    } else if (entry.extractor == Extractor::kFormatString) {
      // The format string is parameter 2; the companion writes the expanded
      // text into the buffer and the two integers before it through the
      // pointers that follow.
      auto extract = GetCompanion().ExtractFormatStringArgs;
      read_ = extract && text &&
              extract(2, text, params_, script_data_, opcode_offset_, script_, event_list_,
                      static_cast<uint32_t>(entry.param_count), &slots[0].i, &slots[1].i);
    }
  }
  bool ArgumentsRead() const override { return read_; }

 private:
  abi::ParamRecord* params_;
  void* script_data_;
  uint32_t* opcode_offset_;
  void* calling_ref_;
  void* containing_;
  void* script_;
  void* event_list_;
  bool read_ = true;
};

template <size_t N>
bool __cdecl Execute(abi::ParamRecord* params, void* script_data, void* calling_ref,
                     void* containing, void* script, void* event_list, double* result,
                     uint32_t* opcode_offset) noexcept {
  try {
    HostExtractor extractor(params, script_data, opcode_offset, calling_ref, containing, script,
                            event_list);
    uint32_t script_form_id = script ? GetEngine().FormId(script) : 0;
    RunCommand(kCatalogue[N], result, script_form_id, calling_ref, &extractor, script);
  } catch (...) {
  }
  return true;
}

template <size_t... N>
constexpr std::array<abi::ExecuteHandler, sizeof...(N)> MakeHandlers(std::index_sequence<N...>) {
  return {&Execute<N>...};
}

constexpr auto kHandlers = MakeHandlers(std::make_index_sequence<kCommandCount>());

bool __cdecl ParseStub(uint32_t a, void* b, void* c, void* d) noexcept {
  try {
    abi::ParseCallback parse = default_parse;
    if (!parse && EngineTableOrNull()) parse = EngineTableOrNull()->default_parse_game;
    return parse ? parse(a, b, c, d) : false;
  } catch (...) {
    return false;
  }
}

abi::ParamRecord param_records[kCommandCount][kMaxParams];
abi::CommandRecord command_records[kCommandCount];

}  // namespace

void SetDefaultParse(abi::ParseCallback parse) { default_parse = parse; }

abi::CommandRecord* CommandRecords() {
  for (size_t n = 0; n < kCommandCount; ++n) {
    const CommandEntry& entry = kCatalogue[n];
    for (size_t i = 0; i < entry.param_count; ++i) {
      param_records[n][i] = {entry.params[i].name, static_cast<uint32_t>(entry.params[i].type),
                             entry.params[i].optional ? 1u : 0u};
    }
    command_records[n] = {entry.name,
                          entry.alias,
                          0,
                          entry.help,
                          0,
                          static_cast<uint16_t>(entry.param_count),
                          entry.param_count ? param_records[n] : nullptr,
                          kHandlers[n],
                          &ParseStub,
                          nullptr,
                          0};
  }
  return command_records;
}

}  // namespace korvel
