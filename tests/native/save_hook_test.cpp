#include <gtest/gtest.h>

#include "save/cosave_io.h"
#include "save/save_header_probe.h"
#include "save/save_hook.h"
#include "temp_env.h"

namespace korvel {
namespace {

TEST(SaveNames, ExtensionsAreLowerCaseAndAfterTheLastSeparator) {
  EXPECT_EQ(ExtensionOf("C:\\Saves\\Quick.ESS"), ".ess");
  EXPECT_EQ(ExtensionOf("C:\\Saves.d\\Quick"), "");
  EXPECT_EQ(ExtensionOf("C:Quick.bak"), ".bak");
  EXPECT_EQ(ExtensionOf("a.b.Ess"), ".ess");
  EXPECT_EQ(CoSaveNameOf("C:\\S\\Quick.ESS"), "C:\\S\\Quick.korvel");
  EXPECT_EQ(CoSaveNameOf("C:\\S.x\\Quick"), "C:\\S.x\\Quick.korvel");
}

TEST(SaveTraffic, RecognisesSavesLoadsAndPeeks) {
  SaveTraffic t;
  // A read/write open without arming is not a save.
  EXPECT_EQ(t.BeforeOpen("a.ess", kGenericRead | kGenericWrite), OpenKind::kOther);
  // Write-only arms; a read/write open of another save is still captured.
  EXPECT_EQ(t.BeforeOpen("a.ess", kGenericWrite), OpenKind::kOther);
  EXPECT_TRUE(t.write_armed());
  EXPECT_EQ(t.BeforeOpen("b.ESS", kGenericRead | kGenericWrite), OpenKind::kSave);
  t.AfterOpen(OpenKind::kSave, "b.ESS", 10);
  EXPECT_EQ(t.BeforeClose(11, [] { return 0; }, true), CloseAction::kNone);
  EXPECT_EQ(t.BeforeClose(10, [] { return 0; }, true), CloseAction::kWriteCoSave);
  EXPECT_FALSE(t.write_armed());
  EXPECT_EQ(t.save_name(), "b.ESS");
  // Nothing to keep: the stale co-save goes.
  t.BeforeOpen("a.ess", kGenericWrite);
  t.AfterOpen(t.BeforeOpen("a.ess", kGenericRead | kGenericWrite), "a.ess", 12);
  EXPECT_EQ(t.BeforeClose(12, [] { return 0; }, false), CloseAction::kDeleteCoSave);
  // Any other access disarms.
  t.BeforeOpen("a.ess", kGenericWrite);
  t.BeforeOpen("a.ess", 0x10000000);
  EXPECT_FALSE(t.write_armed());
  // Other extensions pass untouched.
  EXPECT_EQ(t.BeforeOpen("a.txt", kGenericWrite), OpenKind::kOther);
  EXPECT_FALSE(t.write_armed());
}

TEST(SaveTraffic, PeekLimitAndTheLatestLoadHandle) {
  SaveTraffic t;
  t.AfterOpen(t.BeforeOpen("missing.ess", kGenericRead), "missing.ess", 20);
  EXPECT_EQ(t.BeforeClose(20, [] { return int64_t{0x20000}; }, false), CloseAction::kPeeked);
  // The handle is forgotten after its close.
  EXPECT_EQ(t.BeforeClose(20, [] { return int64_t{0x30000}; }, false), CloseAction::kNone);
  t.AfterOpen(t.BeforeOpen("one.ess", kGenericRead), "one.ess", 21);
  t.AfterOpen(t.BeforeOpen("two.ess", kGenericRead), "two.ess", 22);
  EXPECT_EQ(t.BeforeClose(21, [] { return int64_t{0x20001}; }, false), CloseAction::kNone);
  EXPECT_EQ(t.BeforeClose(22, [] { return int64_t{0x20001}; }, false), CloseAction::kLoaded);
  EXPECT_EQ(t.load_name(), "two.ess");
  // A failed open is never watched.
  t.AfterOpen(t.BeforeOpen("x.ess", kGenericRead), "x.ess", static_cast<uintptr_t>(-1));
  EXPECT_EQ(t.BeforeClose(static_cast<uintptr_t>(-1), [] { return int64_t{1 << 20}; }, false),
            CloseAction::kNone);
}

TEST(SaveHeader, ProbeReadsTheMatchValueBehindTwoCountedFields) {
  TempEnv env;
  std::string header(42, 'h');
  header += '\3';
  header += "abc";
  header += "xy";
  header += '\xC8';  // 200: the second length is unsigned
  header += std::string(200, 'L');
  header += "tttt";
  header += std::string("\x78\x56\x34\x12", 4);
  ASSERT_TRUE(env.WriteFile("C:\\s.ess", header + std::string(1000, 'z')));
  ProbeSaveHeader("C:\\s.ess");
  EXPECT_EQ(GetCoSaveState().save_match, 0x12345678u);
  // Cut anywhere before the end of the value: unknown.
  for (size_t cut : {size_t{0}, size_t{42}, size_t{43}, header.size() - 1}) {
    ASSERT_TRUE(env.WriteFile("C:\\short.ess", header.substr(0, cut)));
    GetCoSaveState().save_match = 5;
    ProbeSaveHeader("C:\\short.ess");
    EXPECT_EQ(GetCoSaveState().save_match, 0xFFFFFFFFu) << cut;
  }
  ProbeSaveHeader("C:\\missing.ess");
  EXPECT_EQ(GetCoSaveState().save_match, 0xFFFFFFFFu);
}


TEST(SaveRenames, TheCoSaveFollowsUnderTheNameALoadLooksFor) {
  struct Case {
    const char* from;
    const char* to;
    const char* co_save_before;
    const char* co_save_after;
  };
  const Case cases[] = {
      {"C:\\S\\Quick.ess", "C:\\S\\Quick.bak", "C:\\S\\Quick.korvel", "C:\\S\\Quick.bak.korvel"},
      {"C:\\S\\Old.bak", "C:\\S\\Older.bak", "C:\\S\\Old.bak.korvel", "C:\\S\\Older.bak.korvel"},
      // Put back under a save's name: the load of Back.ess reads Back.korvel.
      {"C:\\S\\Old.bak", "C:\\S\\Back.ess", "C:\\S\\Old.bak.korvel", "C:\\S\\Back.korvel"},
      {"C:\\S\\A.ess", "C:\\S\\B.ESS", "C:\\S\\A.korvel", "C:\\S\\B.korvel"},
      {"C:\\S\\A.ess", "C:\\S\\A.tmp", "C:\\S\\A.korvel", "C:\\S\\A.tmp.korvel"},
  };
  for (const Case& c : cases) {
    TempEnv env;
    env.CreateDirectories("C:\\S");
    env.WriteFile(c.co_save_before, "co-save");
    OnSaveRenamed(c.from, c.to);
    EXPECT_FALSE(env.FileExists(c.co_save_before)) << c.to;
    std::string moved;
    EXPECT_TRUE(env.ReadFile(c.co_save_after, &moved)) << c.to;
    EXPECT_EQ(moved, "co-save");
  }
}

}  // namespace
}  // namespace korvel
