// Script commands called with arguments decoded from arbitrary bytes, the
// way the game calls them: through the frame, with the values a hostile or
// careless script can give. Each input starts from the same small world
// (an own, another mod's protected and a freed string, array, HUD surface
// and HUD text; forms of a loaded and of an unknown mod) and runs up to
// kMaxScriptCalls calls, so one call's creation or destruction meets the
// next call's ids.
//
// Input, per call: two bytes choose the command (every catalogue command but
// Halt, which ends the process), one byte the calling script (own mod,
// other mod, none, a mod not loaded), one byte how many arguments are given,
// then per given argument a selector byte and, for raw values and texts,
// the bytes that follow. A missing byte reads as zero.
//
// After every call: the result went to its slot and nowhere beside it; a
// NaN result only where the preset or a NaN argument gave one; another
// mod's protected objects are untouched unless the caller is that mod; every
// registry keeps its invariants and every object it reports reads back.
// CheckScriptArgs returns an empty text when all of that held, else what
// broke; the fuzz target aborts on it, the corpus test reports it.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "command_harness.h"
#include "base/flags.h"
#include "base/owners.h"
#include "core/catalogue.h"
#include "core/global.h"
#include "fake_engine.h"
#include "hud/hud.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_registries.h"
#include "temp_env.h"

namespace korvel::fuzzing {

inline constexpr size_t kMaxScriptCalls = 8;
inline constexpr size_t kMaxScriptInput = 40000;
inline constexpr size_t kMaxTextArgument = 16 * 1024;

// Ids in every registry: strings and arrays count from 0, HUD elements
// from 1.
inline constexpr int32_t kOwnId = 0, kForeignId = 1, kFreedId = 2;
inline constexpr int32_t kOwnHud = 1, kForeignHud = 2, kFreedHud = 3;

inline const int32_t kHostileInts[] = {
    INT_MIN, -1, 0, 1, 2, 3, INT_MAX, 4,
    -2000, -2099, -2100, -1999, -42, -87, 0x7FFFFF, 0x800000,
    255, 256, -255, 500, 100, -100, 16384, 65535};
inline const float kHostileFloats[] = {
    std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(), 0.0f, -0.0f, 1.0f, -1.0f, 3e38f,
    -3e38f, std::numeric_limits<float>::denorm_min(), 2147483648.0f, -2147483904.0f,
    0.5f, 100.0f, 1e-30f, 4294967296.0f};

// Reads the input a byte at a time; zero past its end.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint32_t U32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return v;
  }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  // Up to n bytes as they stand.
  std::string Bytes(size_t n) {
    n = std::min(n, size_ - std::min(at_, size_));
    std::string out(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

class ScriptArgsWorld {
 public:
  ScriptArgsWorld() {
    own_form_ = engine_.AddForm(0x01000ABC, "Sword");
    foreign_form_ = engine_.AddForm(0x7F000001, "Stray");
    base_form_ = engine_.AddForm(0x00000F00, "Blade");
    own_form_->base = base_form_;
  }

  // The same world before every input, files and folders included; false
  // when it could not be made.
  bool Build() {
    SetEnv(&env_);
    SetEngine(&engine_);
    engine_.SetMods({"Base.esm", "A.esp", "B.esp"});
    // What the engine showed stays with the call that showed it.
    engine_.messages.clear();
    engine_.console.clear();
    engine_.message_boxes.clear();
    engine_.script_lines.clear();
    engine_.closed_menus.clear();
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs", "C:\\Game\\lib.dll");
    std::error_code ec;
    std::filesystem::remove_all(env_.Real("C:\\"), ec);
    if (!env_.CreateDirectories(GetFolders().user_root) || !env_.CreateDirectories(GetFolders().data))
      return false;
    // The HUD variant: its commands work on the lists (without a device,
    // elements live without textures and fonts).
    CreateHud();
    GetFlags().hud_variant = true;
    ClearAllObjects();
    for (const char* kind : {"CreateArray", "CreateString"}) {
      bool array = kind[6] == 'A';
      if (Call(kind, kMine, {I(-1), array ? I(4) : T("mine")}) != kOwnId) return false;
      if (Call(kind, kTheirs, {I(-1), array ? I(4) : T("theirs"), I(1)}) != kForeignId) return false;
      if (Call(kind, kMine, {I(-1), array ? I(4) : T("gone")}) != kFreedId) return false;
    }
    Call("SetInArray", kTheirs, {I(kForeignId), I(0), I(77)});
    Call("DestroyArray", kMine, {I(kFreedId)});
    Call("DestroyString", kMine, {I(kFreedId)});
    for (const char* kind : {"NewHudS", "NewHudT"}) {
      bool surface = kind[5] == 'S';
      if (Call(kind, kMine, surface ? std::vector<Arg>{I(kOwnId)} : std::vector<Arg>{}) != kOwnHud)
        return false;
      if (Call(kind, kTheirs, surface ? std::vector<Arg>{I(kOwnId)} : std::vector<Arg>{}) != kForeignHud)
        return false;
      if (Call(kind, kMine, surface ? std::vector<Arg>{I(kOwnId)} : std::vector<Arg>{}) != kFreedHud)
        return false;
    }
    Call("DelHudS", kMine, {I(kFreedHud)});
    Call("DelHudT", kMine, {I(kFreedHud)});
    return Foreign() == Expected();
  }

  // The objects at the foreign ids, one text each (empty when absent): an
  // array, a string, a HUD surface and a HUD text.
  static constexpr size_t kKinds = 4;
  static std::string Describe(size_t kind) {
    auto head = [](const auto& e) { return std::to_string(e.EspID) + "/" + std::to_string(e.Protected) + " "; };
    Hud* hud = GetHud();
    switch (kind) {
      case 0:
        if (const ArrayEntry* a = GetArrays().Get(kForeignId)) {
          std::string out = "array " + head(*a) + std::to_string(a->Body.Size());
          for (int32_t i = 0; i < std::min(a->Body.Size(), 8); ++i)
            out += " " + std::to_string(a->Body.Type(i)) + ":" + std::to_string(a->Body.Value(i));
          return out;
        }
        return "";
      case 1:
        if (const StringR* s = GetStrings().Get(kForeignId)) return "string " + head(*s) + s->Text;
        return "";
      case 2:
        if (const HudSR* s = hud ? hud->surfaces().Get(kForeignHud) : nullptr)
          return "surface " + head(*s) + std::to_string(s->Show) + " " + std::to_string(s->X) + " " +
                 std::to_string(s->Y) + " " + std::to_string(s->ScaleX) + " " +
                 std::to_string(s->Opacity) + " " + s->Filename;
        return "";
      default:
        if (const HudTR* t = hud ? hud->texts().Get(kForeignHud) : nullptr)
          return "text " + head(*t) + std::to_string(t->Show) + " " + std::to_string(t->X) + " " +
                 std::to_string(t->Y) + " " + std::to_string(t->Opacity) + " " + t->Text;
        return "";
    }
  }
  static bool ProtectedOf(size_t kind, int32_t* esp_id) {
    Hud* hud = GetHud();
    auto read = [&](const auto* e) {
      if (!e || !e->Protected) return false;
      *esp_id = e->EspID;
      return true;
    };
    switch (kind) {
      case 0: return read(GetArrays().Get(kForeignId));
      case 1: return read(GetStrings().Get(kForeignId));
      case 2: return read(hud ? hud->surfaces().Get(kForeignHud) : nullptr);
      default: return read(hud ? hud->texts().Get(kForeignHud) : nullptr);
    }
  }
  // What a call by caller must leave as it is: every object at a foreign id
  // that is protected and owned by another mod than the caller's (a script
  // without a form id may change any array). The kinds not guarded read as
  // "-".
  static std::string Guarded(uint32_t caller, bool (&guarded)[kKinds]) {
    int32_t caller_esp = GetOwners().EspIdOfModIndex(caller == 0 ? 255 : caller >> 24);
    std::string out;
    for (size_t kind = 0; kind < kKinds; ++kind) {
      int32_t owner;
      guarded[kind] = ProtectedOf(kind, &owner) && owner != caller_esp && !(kind == 0 && caller == 0);
      out += (guarded[kind] ? Describe(kind) : "-") + "|";
    }
    return out;
  }
  static std::string Recheck(const bool (&guarded)[kKinds]) {
    std::string out;
    for (size_t kind = 0; kind < kKinds; ++kind) out += (guarded[kind] ? Describe(kind) : "-") + "|";
    return out;
  }
  std::string Foreign() const {
    std::string out;
    for (size_t kind = 0; kind < kKinds; ++kind) out += Describe(kind) + "|";
    return out;
  }
  const std::string& Expected() {
    if (expected_.empty()) expected_ = Foreign();
    return expected_;
  }

  Arg Value(ParamType type, ByteReader& in) {
    uint8_t selector = in.Byte();
    switch (type) {
      case ParamType::kInteger: {
        constexpr size_t n = std::size(kHostileInts);
        return selector < n ? I(kHostileInts[selector]) : I(static_cast<int32_t>(in.U32()));
      }
      case ParamType::kFloat: {
        constexpr size_t n = std::size(kHostileFloats);
        if (selector < n) return F(kHostileFloats[selector]);
        uint32_t bits = in.U32();
        float f;
        std::memcpy(&f, &bits, 4);
        return F(f);
      }
      case ParamType::kString: {
        // Empty, the input's next bytes, or a pattern repeated to a length
        // up to 16 KB (the longest the engine compiles is shorter).
        switch (selector % 4) {
          case 0: return T("");
          case 1: return T(in.Bytes(selector / 4 + 1));
          case 2: return T(in.Bytes(in.U16() % 512));
          default: {
            size_t length = in.U16() % (kMaxTextArgument + 1);
            std::string pattern = in.Bytes(selector % 7 + 1);
            if (pattern.empty()) pattern = "x";
            std::string text;
            while (text.size() < length) text += pattern;
            text.resize(length);
            return T(text);
          }
        }
      }
      default: {
        void* forms[] = {nullptr, own_form_, foreign_form_, base_form_};
        return Ref(forms[selector % 4]);
      }
    }
  }

  static constexpr uint32_t kMine = (1u << 24) | 0x000D01;
  static constexpr uint32_t kTheirs = (2u << 24) | 0x000D01;
  static constexpr uint32_t kUnloadedMod = (0x7Eu << 24) | 0x000D01;

 private:
  TempEnv env_;
  FakeEngine engine_;
  FakeForm* own_form_ = nullptr;
  FakeForm* foreign_form_ = nullptr;
  FakeForm* base_form_ = nullptr;
  std::string expected_;
};

// The process's world for the fuzz target; made on first use.
inline ScriptArgsWorld& GetScriptArgsWorld() {
  static ScriptArgsWorld world;
  return world;
}

template <class List>
std::string WholeIdList(const List& list, const char* kind) {
  if (list.empty())
    return list.min_used() == -1 && list.max_used() == -2 ? "" : std::string(kind) + ": empty with ends";
  if (!list.Get(list.min_used()) || !list.Get(list.max_used()) || list.max_used() > list.high())
    return std::string(kind) + ": ends do not hold objects";
  if (list.next_free() >= 0 && !list.IsInvalid(list.next_free()))
    return std::string(kind) + ": the next free id is in use";
  for (int32_t id = std::max(0, list.min_used()); id < list.next_free(); ++id)
    if (!list.Get(id)) return std::string(kind) + ": a free id below the next free one";
  return "";
}

template <class List>
std::string WholeHudList(const List& list, const char* kind) {
  if (list.Empty()) return "";
  if (!list.Get(list.MinUsed()) || !list.Get(list.MaxUsed()) || list.MaxUsed() > list.High())
    return std::string(kind) + ": ends do not hold elements";
  if (list.NextFree() >= 1 && !list.Invalid(list.NextFree()))
    return std::string(kind) + ": the next free id is in use";
  return "";
}

// Every registry whole, and every object it reports readable.
inline std::string CheckRegistries() {
  if (std::string why = WholeIdList(GetStrings(), "strings"); !why.empty()) return why;
  if (std::string why = WholeIdList(GetArrays(), "arrays"); !why.empty()) return why;
  const TStringIDList& strings = GetStrings();
  for (int32_t id = std::max(0, strings.min_used()); id <= strings.max_used(); ++id) {
    const StringR* s = strings.Get(id);
    if (!s) continue;
    std::optional<std::string> text = ResolveSource(id);
    if (!text || *text != s->Text) return "string " + std::to_string(id) + " does not read back";
  }
  const TArrayIDList& arrays = GetArrays();
  for (int32_t id = std::max(0, arrays.min_used()); id <= arrays.max_used(); ++id) {
    const ArrayEntry* a = arrays.Get(id);
    if (!a) continue;
    if (a->Body.Size() < 0) return "array " + std::to_string(id) + " has a negative size";
    // Both ends and a sample between: a body of millions reads in bounded time.
    int32_t size = a->Body.Size();
    uint64_t sum = 0;
    for (int32_t i = 0; i < size; i += std::max(1, size / 64)) sum += a->Body.Value(i) + a->Body.Type(i);
    if (size > 0) sum += a->Body.Value(size - 1) + a->Body.Type(size - 1);
    (void)sum;
  }
  if (Hud* hud = GetHud()) {
    if (std::string why = WholeHudList(hud->surfaces(), "surfaces"); !why.empty()) return why;
    if (std::string why = WholeHudList(hud->texts(), "texts"); !why.empty()) return why;
  }
  return "";
}

inline bool NanGiven(const std::vector<Arg>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const Arg& a) { return a.kind == Arg::kFloat && std::isnan(a.f); });
}

// Runs the calls an input describes; *calls (when given) receives how many
// ran. Empty when every rule held.
inline std::string CheckScriptArgs(const uint8_t* data, size_t size, size_t* calls = nullptr) {
  if (calls) *calls = 0;
  if (size > kMaxScriptInput) return "";
  ScriptArgsWorld& world = GetScriptArgsWorld();
  if (!world.Build()) return "the world could not be made";
  ByteReader in(data, size);
  for (size_t n = 0; n < kMaxScriptCalls && !in.done(); ++n) {
    size_t index = in.U16() % kCommandCount;
    const CommandEntry* entry = &kCatalogue[index];
    if (std::string_view(entry->name) == "Halt") entry = &kCatalogue[(index + 1) % kCommandCount];
    const uint32_t callers[] = {ScriptArgsWorld::kMine, ScriptArgsWorld::kTheirs, 0,
                                ScriptArgsWorld::kUnloadedMod};
    const uint32_t caller = callers[in.Byte() % 4];
    const size_t given = in.Byte() % (entry->param_count + 1);
    std::vector<Arg> args;
    for (size_t p = 0; p < given; ++p) args.push_back(world.Value(entry->params[p].type, in));

    bool guarded[ScriptArgsWorld::kKinds];
    const std::string before = ScriptArgsWorld::Guarded(caller, guarded);
    // The result slot between two guards: a command writes its slot only.
    double slots[3];
    std::memset(slots, 0xA5, sizeof slots);
    ListExtractor extractor(args);
    RunCommand(*entry, &slots[1], caller, nullptr, &extractor);
    if (calls) ++*calls;
    const std::string where = std::string(entry->name) + " (call " + std::to_string(n + 1) + "): ";
    unsigned char guard[sizeof(double)];
    std::memset(guard, 0xA5, sizeof guard);
    if (std::memcmp(&slots[0], guard, sizeof guard) != 0 || std::memcmp(&slots[2], guard, sizeof guard) != 0)
      return where + "wrote beside its result slot";
    if (std::isnan(slots[1]) && !std::isnan(entry->result_preset) && !NanGiven(args))
      return where + "a NaN result nobody gave";
    if (std::string after = ScriptArgsWorld::Recheck(guarded); after != before)
      return where + "changed another mod's protected object: " + before + " -> " + after;
    if (std::string why = CheckRegistries(); !why.empty()) return where + why;
  }
  return "";
}

}  // namespace korvel::fuzzing
