// Every allocation along a command's or a co-save's path is made to fail in
// turn, first alone and then for good (the first N-1 succeed): each command
// either completes or leaves every registry as it was, and a save under
// memory pressure either completes or says so.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "command_harness.h"
#include "exempt_doubles.h"
#include "failing_allocator.h"
#include "base/flags.h"
#include "core/global.h"
#include "names/names.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_image.h"
#include "save/cosave_io.h"
#include "save/cosave_registries.h"
#include "save/save_hook.h"

namespace korvel {
namespace {

// Everything a script can observe of the string and array registries.
std::string Snapshot() {
  std::string out;
  auto fields = [&](const char* what, auto& list) {
    out += std::string(what) + " " + std::to_string(list.next_free()) + " " +
           std::to_string(list.min_used()) + " " + std::to_string(list.max_used()) + "\n";
  };
  TStringIDList& strings = GetStrings();
  fields("strings", strings);
  for (int32_t id = strings.min_used(); id >= 0 && id <= strings.max_used(); ++id)
    if (const StringR* s = strings.Get(id))
      out += std::to_string(id) + ":" + std::to_string(s->EspID) + "," +
             std::to_string(s->Protected) + "," + s->Text + "\n";
  TArrayIDList& arrays = GetArrays();
  fields("arrays", arrays);
  for (int32_t id = arrays.min_used(); id >= 0 && id <= arrays.max_used(); ++id) {
    const ArrayEntry* a = arrays.Get(id);
    if (!a) continue;
    out += std::to_string(id) + ":" + std::to_string(a->EspID) + "," +
           std::to_string(a->Protected) + "," + std::to_string(a->Body.Size()) + "," +
           std::to_string(a->Body.Count()) + "[";
    for (int32_t i = 0; i < a->Body.Size(); ++i)
      if (a->Body.Has(i)) out += std::to_string(i) + "=" + std::to_string(a->Body.Value(i)) + " ";
    out += "]\n";
  }
  out += "names " + std::to_string(GetNames().records().size()) + "\n";
  return out;
}

class OutOfMemory : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp"});
    GetFolders().log_file = "C:\\log.txt";
    ClearAllObjects();
  }
  void TearDown() override {
    oom::Disarm();
    ClearAllObjects();
  }

  // Runs op with the Nth allocation failing, for N = 1, 2, ... until op
  // completes without a failure; check(n, failed) runs after each, unarmed.
  // Returns the number of allocations of the run that did not fail.
  int64_t ForEveryN(const std::function<void()>& setup, const std::function<void()>& op,
                    const std::function<void(int64_t, bool)>& check) {
    for (int64_t n = 1; n < 100000; ++n) {
      setup();
      oom::FailNthAllocation(n, GetParam());
      op();
      bool failed = oom::Disarm();
      check(n, failed);
      if (!failed) return n - 1;
    }
    ADD_FAILURE() << "the operation never completed";
    return 0;
  }

  ExemptEnv env;
  ExemptEngine engine;
  const uint32_t script = ScriptOf(1);
};

TEST_P(OutOfMemory, CreateEitherCompletesOrChangesNothing) {
  struct Case {
    const char* command;
    std::vector<Arg> args;
    int32_t existing;  // objects there before
  };
  const Case cases[] = {
      {"CreateArray", {I(-1), I(10)}, 0},
      {"CreateArray", {I(-1), I(10), I(0), I(1)}, 0},
      {"CreateArray", {I(-1), I(3)}, 1},
      {"CreateArray", {I(-1), I(3)}, 4},
      {"CreateString", {I(-1), T("a text long enough to live on the heap")}, 0},
      {"CreateString", {I(-1), T("a text long enough to live on the heap"), I(0), I(1)}, 0},
      {"CreateString", {I(-1), T("x")}, 3},
  };
  for (const Case& c : cases) {
    std::string before;
    double result = 0;
    bool is_array = std::string(c.command) == "CreateArray";
    ForEveryN(
        [&] {
          ClearAllObjects();
          for (int32_t i = 0; i < c.existing; ++i)
            Call(c.command, script, {I(-1), is_array ? I(1) : T("old")});
          before = Snapshot();
        },
        [&] { result = Call(c.command, script, c.args); },
        [&](int64_t n, bool failed) {
          SCOPED_TRACE(std::string(c.command) + " N=" + std::to_string(n));
          if (result < 0) {
            EXPECT_TRUE(failed);
            EXPECT_EQ(Snapshot(), before);
            return;
          }
          auto id = static_cast<int32_t>(result);
          // The new object is whole; without it the registry is as before,
          // and the next create does not land on it.
          if (is_array) {
            ASSERT_NE(GetArrays().Get(id), nullptr);
            EXPECT_EQ(Call("ArraySize", script, {I(id)}), c.args[1].i);
          } else {
            EXPECT_EQ(*ResolveSource(id), c.args[1].text);
          }
          double next = Call(c.command, script, {I(-1)});
          EXPECT_NE(next, result);
          auto destroy = [&](int32_t object) {
            if (is_array) {
              GetArrays().Destroy(object);
            } else {
              GetStrings().Destroy(object);
            }
          };
          destroy(id);
          if (next >= 0) destroy(static_cast<int32_t>(next));
          EXPECT_EQ(Snapshot(), before);
        });
  }
}

TEST_P(OutOfMemory, GrowingCommandsReportTheStateAfterTheStep) {
  int32_t id = -1;
  std::string before;
  double result = 0;
  // Arguments are made before arming: only the command's own path fails.
  std::vector<Arg> resize, store, copy;
  auto setup = [&] {
    ClearAllObjects();
    id = static_cast<int32_t>(Call("CreateArray", script, {I(-1), I(3)}));
    Call("SetInArray", script, {I(id), I(1), I(7)});
    resize = {I(id), I(100000)};
    store = {I(id), I(5000), I(9), I(4096)};
    copy = {I(id)};
    before = Snapshot();
  };
  // ArraySize answers the size after the step: the new one, or the old one
  // with the array untouched.
  ForEveryN(setup, [&] { result = Call("ArraySize", script, resize); },
            [&](int64_t n, bool failed) {
              SCOPED_TRACE(n);
              EXPECT_EQ(result, Call("ArraySize", script, {I(id)}));
              if (result == 3) {
                EXPECT_EQ(Snapshot(), before);
              } else {
                EXPECT_EQ(result, 100000);
              }
              EXPECT_EQ(Call("GetInArray", script, {I(id), I(1)}), 7);
              (void)failed;
            });
  // A store beyond the end grows by blocks or not at all.
  ForEveryN(setup, [&] { Call("SetInArray", script, store); },
            [&](int64_t n, bool) {
              SCOPED_TRACE(n);
              if (Call("ArraySize", script, {I(id)}) == 3) {
                EXPECT_EQ(Snapshot(), before);
              } else {
                EXPECT_EQ(Call("ArraySize", script, {I(id)}), 3 + 2 * 4096);
                EXPECT_EQ(Call("GetInArray", script, {I(id), I(5000)}), 9);
              }
            });
  // A copy is made whole or not at all.
  ForEveryN(setup, [&] { result = Call("CopyArray", script, copy); },
            [&](int64_t n, bool) {
              SCOPED_TRACE(n);
              if (result < 0) {
                EXPECT_EQ(Snapshot(), before);
              } else {
                EXPECT_EQ(Call("ArrayCmp", script, {I(id), I(static_cast<int32_t>(result))}), 1);
              }
            });
}

// The registries a save holds: strings, arrays with items, a name override.
void Fill(FakeEngine& engine, uint32_t script) {
  FakeForm* sword = engine.AddForm(0x01000ABC, "Sword");
  for (int i = 0; i < 6; ++i)
    Call("CreateString", script, {I(-1), T("string number " + std::to_string(i) + " of six")});
  for (int i = 0; i < 4; ++i) {
    auto a = static_cast<int32_t>(Call("CreateArray", script, {I(-1), I(5 + i)}));
    Call("SetInArray", script, {I(a), I(i), I(100 + i)});
  }
  Call("FixName", script, {Ref(sword), I(0)});
}

TEST_P(OutOfMemory, ASaveEitherCompletesOrSaysSo) {
  Fill(engine, script);
  const std::string save = "C:\\Slot.ess";
  env.WriteFile(save, std::string(300, 's'));
  WriteCoSaveFile(save);
  std::string good;
  ASSERT_TRUE(env.ReadFile("C:\\Slot.korvel", &good));
  env.RemoveFile("C:\\Slot.korvel");
  int64_t completed_at = ForEveryN(
      [&] { engine.message_boxes.clear(); },
      [&] { WriteCoSaveFile(save); },
      [&](int64_t n, bool failed) {
        SCOPED_TRACE(n);
        std::string written;
        if (env.ReadFile("C:\\Slot.korvel", &written)) {
          EXPECT_EQ(written, good);
          EXPECT_TRUE(engine.message_boxes.empty());
        } else {
          EXPECT_TRUE(failed);
          ASSERT_EQ(engine.message_boxes.size(), 1u);
          // The save's own name, unless memory ran out for good before
          // even that message was made.
          if (engine.message_boxes[0] != "Slot.ess could not be saved !") {
            EXPECT_TRUE(GetParam() && n <= 2) << n;
            EXPECT_EQ(engine.message_boxes[0], "Korvel data could not be saved !");
          }
        }
        env.RemoveFile("C:\\Slot.korvel");
      });
  EXPECT_GT(completed_at, 3);
}

TEST_P(OutOfMemory, ALoadDropsWhatFindsNoMemoryAndReadsOn) {
  Fill(engine, script);
  const std::string save = "C:\\Slot.ess";
  env.WriteFile(save, std::string(300, 's'));
  WriteCoSaveFile(save);
  const std::string full = Snapshot();
  auto lines = [&](const char* line) {
    std::string log;
    env.ReadFile("C:\\log.txt", &log);
    size_t count = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
    return count;
  };
  bool partial_without_message = false;
  int64_t total = 0;
  std::vector<std::pair<int64_t, std::string>> outcomes;
  total = ForEveryN(
      [&] { engine.message_boxes.clear(); },
      [&] { OnSaveLoaded(save); },
      [&](int64_t n, bool failed) {
        std::string now = Snapshot();
        outcomes.emplace_back(n, now);
        if (!failed) {
          EXPECT_EQ(now, full);
        }
        if (engine.message_boxes.empty() && now != full) partial_without_message = true;
        // What came back is what was saved: every restored line is a line
        // of the full state.
        size_t start = 0;
        while (start < now.size()) {
          size_t end = now.find('\n', start);
          std::string line = now.substr(start, end - start);
          bool counts = line.rfind("strings", 0) == 0 || line.rfind("arrays", 0) == 0 ||
                        line.rfind("names", 0) == 0;
          if (!counts) {
            EXPECT_NE(full.find(line + "\n"), std::string::npos) << "N=" << n << " " << line;
          }
          start = end + 1;
        }
      });
  // Each opened stream was closed.
  EXPECT_EQ(lines("Opening stream"), lines("Closing stream"));
  EXPECT_GT(lines("Opening stream"), 1u);
  EXPECT_GT(total, 10);
  // Alone, a failure drops one entry and the rest are read.
  if (!GetParam()) {
    EXPECT_TRUE(partial_without_message);
  }
}

INSTANTIATE_TEST_SUITE_P(Allocations, OutOfMemory, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "ForGood" : "Once"; });

}  // namespace
}  // namespace korvel
