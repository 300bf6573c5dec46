// Every command of the catalogue, called through the frame as the game
// calls it, with hostile values in each argument: extreme integers, NaN
// and infinite floats, empty and 16 KB texts, null and foreign forms, and
// ids that are invalid, another mod's protected object or freed. Nothing
// may crash or hang (the sanitizers watch), another mod's protected object
// never changes, and the registries keep their invariants. Commands added
// to the catalogue later join by themselves.
#include <gtest/gtest.h>

#include <algorithm>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "command_harness.h"
#include "fake_engine.h"
#include "registry_checks.h"
#include "core/catalogue.h"
#include "core/global.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_registries.h"
#include "temp_env.h"

namespace korvel {
namespace {

// Ids 0, 1 and 2 of each registry: the caller's own object, another mod's
// protected one, and a freed one.
constexpr int32_t kOwn = 0, kForeign = 1, kFreed = 2;

const std::vector<int32_t> kInts = {INT_MIN, -1, kOwn, kForeign, kFreed, INT_MAX};
const std::vector<float> kFloats = {std::numeric_limits<float>::quiet_NaN(),
                                    std::numeric_limits<float>::infinity(),
                                    -std::numeric_limits<float>::infinity(), 0.0f, -1.0f, 3e38f};
const std::vector<std::string> kTexts = {"", std::string(16 * 1024, 'x'), "%s%n%d\\..\\..\\x",
                                         "..\\..\\..\\outside.txt"};

template <class List>
std::string Describe(List& list, int32_t id) {
  auto* e = list.Get(id);
  return e ? std::to_string(e->EspID) + "/" + std::to_string(e->Protected) : "none";
}

class Sweep : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    own_form = engine.AddForm(0x01000ABC, "Sword");
    foreign_form = engine.AddForm(0x7F000001, "Stray");
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs", "C:\\Game\\lib.dll");
    env.CreateDirectories(GetFolders().user_root);
  }
  void TearDown() override { ClearAllObjects(); }

  // The same small world before every call.
  void World() {
    ClearAllObjects();
    for (const char* kind : {"CreateArray", "CreateString"}) {
      bool array = kind[6] == 'A';
      ASSERT_EQ(Call(kind, mine, {I(-1), array ? I(4) : T("mine")}), kOwn);
      ASSERT_EQ(Call(kind, theirs, {I(-1), array ? I(4) : T("theirs"), I(1)}), kForeign);
      ASSERT_EQ(Call(kind, mine, {I(-1), array ? I(4) : T("gone")}), kFreed);
    }
    Call("SetInArray", theirs, {I(kForeign), I(0), I(77)});
    GetArrays().Destroy(kFreed);
    GetStrings().Destroy(kFreed);
  }

  std::string Foreign() {
    std::string out = Describe(GetArrays(), kForeign) + " " + Describe(GetStrings(), kForeign);
    if (const ArrayEntry* a = GetArrays().Get(kForeign))
      out += " " + std::to_string(a->Body.Size()) + " " + std::to_string(a->Body.Value(0));
    if (auto s = ResolveSource(kForeign)) out += " " + *s;
    return out;
  }

  // Argument k of a kind: the hostile values in turn.
  Arg Value(ParamType type, size_t k) {
    switch (type) {
      case ParamType::kInteger: return I(kInts[k % kInts.size()]);
      case ParamType::kFloat: return F(kFloats[k % kFloats.size()]);
      case ParamType::kString: return T(kTexts[k % kTexts.size()]);
      default: {
        void* forms[] = {nullptr, own_form, foreign_form};
        return Ref(forms[k % 3]);
      }
    }
  }
  // A harmless value for the arguments not under attack.
  Arg Benign(ParamType type) {
    switch (type) {
      case ParamType::kInteger: return I(kOwn);
      case ParamType::kFloat: return F(1.0f);
      case ParamType::kString: return T("a");
      default: return Ref(own_form);
    }
  }

  size_t Values(ParamType type) {
    switch (type) {
      case ParamType::kInteger: return kInts.size();
      case ParamType::kFloat: return kFloats.size();
      case ParamType::kString: return kTexts.size();
      default: return 3;
    }
  }

  TempEnv env;
  FakeEngine engine;
  FakeForm* own_form = nullptr;
  FakeForm* foreign_form = nullptr;
  const uint32_t mine = ScriptOf(1), theirs = ScriptOf(2);
};

TEST_F(Sweep, EveryCommandUnderHostileArguments) {
  size_t calls = 0;
  for (const CommandEntry& entry : kCatalogue) {
    // Halt ends the game process on purpose; its own test covers it.
    if (std::string_view(entry.name) == "Halt") continue;
    // The argument sets: none at all; every argument at the k-th hostile
    // value at once; and each argument alone at each value.
    std::vector<std::vector<Arg>> sets = {{}};
    for (size_t k = 0; k < 6; ++k) {
      std::vector<Arg> args;
      for (size_t p = 0; p < entry.param_count; ++p) args.push_back(Value(entry.params[p].type, k));
      sets.push_back(args);
    }
    for (size_t p = 0; p < entry.param_count; ++p) {
      for (size_t k = 0; k < Values(entry.params[p].type); ++k) {
        std::vector<Arg> args;
        for (size_t q = 0; q < entry.param_count; ++q)
          args.push_back(q == p ? Value(entry.params[q].type, k) : Benign(entry.params[q].type));
        sets.push_back(args);
      }
    }
    for (size_t s = 0; s < sets.size(); ++s) {
      World();
      const std::string before = Foreign();
      double result = Call(entry.name, mine, sets[s]);
      const std::string where = std::string(entry.name) + " set " + std::to_string(s);
      EXPECT_EQ(Foreign(), before) << where;
      // NaN comes back only where it was given: a NaN preset, or a NaN
      // argument a command hands back (a read's default value).
      const bool nan_given = std::any_of(sets[s].begin(), sets[s].end(), [](const Arg& a) {
        return a.kind == Arg::kFloat && std::isnan(a.f);
      });
      EXPECT_FALSE(std::isnan(result) && !std::isnan(entry.result_preset) && !nan_given) << where;
      ExpectWhole(GetArrays(), where);
      ExpectWhole(GetStrings(), where);
      ++calls;
    }
  }
  RecordProperty("calls", static_cast<int>(calls));
  std::printf("sweep: %zu commands, %zu calls\n", kCommandCount - 1, calls);
  EXPECT_GT(calls, kCommandCount * 7);
}

}  // namespace
}  // namespace korvel
