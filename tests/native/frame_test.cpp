#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "fake_engine.h"
#include "core/frame.h"

namespace korvel {
namespace {

// An extractor that writes fixed values, leaving untouched what it is not given.
class Scripted : public ArgExtractor {
 public:
  std::string text;
  int given_ints = 0;
  int32_t ints[kMaxParams] = {};
  void Extract(const CommandEntry& entry, ArgSlot* slots, char* buffer, size_t capacity) override {
    for (int i = 0; i < given_ints; ++i) slots[i].i = ints[i];
    if (buffer && !text.empty()) {
      size_t n = std::min(text.size(), capacity - 1);
      std::memcpy(buffer, text.data(), n);
    }
    (void)entry;
  }
};

int32_t seen_esp = 0, seen_other = 0;
std::string seen_text;

// Reads the test entry's three parameters as a generated accessor would.
class TestArgs : ArgReader {
 public:
  explicit TestArgs(const CommandCall& call) : ArgReader(call) {}
  int32_t Owner() const { return Int(0); }
  int32_t EspID() const { return Int(1); }
  std::string_view Text() const { return ArgReader::Text(); }
};

void Record(CommandCall& call) {
  TestArgs args(call);
  seen_esp = args.Owner();
  seen_other = args.EspID();
  seen_text = std::string(args.Text());
  call.SetResult(42);
}
void Throws(CommandCall& call) {
  call.SetResult(7);
  throw std::runtime_error("boom");
}
void RunsOutOfMemory(CommandCall& call) {
  call.SetResult(7);
  throw std::bad_alloc();
}

// The role, not the name, makes a parameter take the caller's EspID: the
// second one is called EspID but is plain.
const ParamEntry kParams[] = {{"Owner", ParamType::kInteger, true, -1, ParamRole::kCallerEspId},
                             {"EspID", ParamType::kInteger, true, -1},
                             {"Text", ParamType::kString, true, 0}};

CommandEntry MakeEntry(CommandHandler handler, size_t text_buffer = 8) {
  return CommandEntry{"Test", "", "", 0x2330, -1, Extractor::kEngine, text_buffer, kParams, 3, handler};
}

TEST(Frame, PresetsAndCallerEspId) {
  FakeEngine engine;
  engine.SetMods({"A.esm", "B.esp", "C.esp", "D.esp"});
  Scripted extractor;
  CommandEntry entry = MakeEntry(&Record);
  double result = 0;
  // Omitted EspID from a script of the mod at index 3 becomes that mod's EspID.
  RunCommand(entry, &result, 0x03000D01, nullptr, &extractor);
  EXPECT_EQ(result, 42);
  EXPECT_EQ(seen_esp, 3);
  EXPECT_EQ(seen_other, -1);  // only parameters with the role are replaced
  // A script with form id 0 leaves it at -1.
  RunCommand(entry, &result, 0, nullptr, &extractor);
  EXPECT_EQ(seen_esp, -1);
  // Only the exact value -1 is replaced; other negative values pass.
  extractor.given_ints = 1;
  extractor.ints[0] = -2;
  RunCommand(entry, &result, 0x03000D01, nullptr, &extractor);
  EXPECT_EQ(seen_esp, -2);
  // An explicit -1 behaves like the omitted argument.
  extractor.ints[0] = -1;
  RunCommand(entry, &result, 0x01000D01, nullptr, &extractor);
  EXPECT_EQ(seen_esp, 1);
  // No mod at the index: -1.
  RunCommand(entry, &result, 0x09000D01, nullptr, &extractor);
  EXPECT_EQ(seen_esp, -1);
}

TEST(Frame, TextIsCutToTheBufferSizeMinusOne) {
  FakeEngine engine;
  Scripted extractor;
  extractor.text = std::string(5000, 'x');
  double result = 0;
  CommandEntry entry = MakeEntry(&Record, kStringTextBuffer);
  RunCommand(entry, &result, 0, nullptr, &extractor);
  EXPECT_EQ(seen_text.size(), 4096u);
  extractor.text = std::string(100000, 'y');  // longer than any engine literal
  entry = MakeEntry(&Record, kEspFileNameBuffer);
  RunCommand(entry, &result, 0, nullptr, &extractor);
  EXPECT_EQ(seen_text, std::string(255, 'y'));
}

// The text room is shared by every call and cleared only as far as the
// last extractor wrote: no call may see what an earlier one left, whether
// that text was terminated, cut, given up by a throwing extractor, or
// written while another command was running.
class Throwing : public ArgExtractor {
 public:
  void Extract(const CommandEntry&, ArgSlot*, char* buffer, size_t) override {
    std::memcpy(buffer, "leftover", 8);
    throw std::runtime_error("extractor failed");
  }
};

class Terminated : public ArgExtractor {
 public:
  std::string text;
  void Extract(const CommandEntry&, ArgSlot*, char* buffer, size_t capacity) override {
    size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
};

std::string inner_seen;
Scripted* inner_extractor = nullptr;
void RunsAnother(CommandCall& call) {
  std::string outer(TestArgs(call).Text());
  CommandEntry inner = MakeEntry(&Record, kStringTextBuffer);
  double result = 0;
  RunCommand(inner, &result, 0, nullptr, inner_extractor);
  inner_seen = seen_text;
  seen_text = outer;
}

TEST(Frame, EveryCallSeesAZeroedTextRoom) {
  FakeEngine engine;
  double result = 0;
  const CommandEntry entry = MakeEntry(&Record, kStringTextBuffer);
  Scripted unterminated;
  Terminated terminated;
  Throwing throwing;
  // Long texts of each kind, then a short one without a terminator.
  terminated.text = std::string(3000, 't');
  RunCommand(entry, &result, 0, nullptr, &terminated);
  EXPECT_EQ(seen_text, terminated.text);
  unterminated.text = "ab";
  RunCommand(entry, &result, 0, nullptr, &unterminated);
  EXPECT_EQ(seen_text, "ab");
  unterminated.text = std::string(20000, 'u');  // beyond the command's buffer
  RunCommand(entry, &result, 0, nullptr, &unterminated);
  EXPECT_EQ(seen_text, std::string(4096, 'u'));
  const CommandEntry wide = MakeEntry(&Record, kFormatTextBuffer);
  unterminated.text = "cd";
  RunCommand(wide, &result, 0, nullptr, &unterminated);
  EXPECT_EQ(seen_text, "cd");
  // An extractor that throws leaves nothing behind.
  RunCommand(entry, &result, 0, nullptr, &throwing);
  unterminated.text = "e";
  RunCommand(entry, &result, 0, nullptr, &unterminated);
  EXPECT_EQ(seen_text, "e");
  // No text at all reads as an empty text.
  unterminated.text.clear();
  RunCommand(entry, &result, 0, nullptr, &unterminated);
  EXPECT_EQ(seen_text, "");
  // A command run by a handler gets a clean room too, and the outer
  // command keeps its own text.
  Scripted inner;
  inner.text = "in";
  inner_extractor = &inner;
  unterminated.text = std::string(500, 'o');
  const CommandEntry outer = MakeEntry(&RunsAnother, kStringTextBuffer);
  RunCommand(outer, &result, 0, nullptr, &unterminated);
  EXPECT_EQ(inner_seen, "in");
  EXPECT_EQ(seen_text, std::string(500, 'o'));
}

TEST(Frame, NothingEscapesAndThePresetStays) {
  FakeEngine engine;
  Scripted extractor;
  for (CommandHandler handler : {&Throws, &RunsOutOfMemory}) {
    double result = 0;
    CommandEntry entry = MakeEntry(handler);
    EXPECT_TRUE(RunCommand(entry, &result, 0, nullptr, &extractor));
    EXPECT_EQ(result, -1);
  }
}

TEST(Frame, ReferenceResultWritesOnlyTheLowFourBytes) {
  // A slot full of non-zero bytes: a write of all eight would show.
  double slot;
  std::memset(&slot, 0xAB, sizeof slot);
  CommandEntry entry = MakeEntry(nullptr);
  CommandCall call(entry, &slot);
  call.SetResultRef(0xFF000ABC);
  uint32_t words[2];
  std::memcpy(words, &slot, sizeof words);
  EXPECT_EQ(words[0], 0xFF000ABCu);
  EXPECT_EQ(words[1], 0xABABABABu);
}

}  // namespace
}  // namespace korvel
