// The INI commands through the frame, on the profile test double: formats,
// folders, roots, the target rule and deletion.
#include <gtest/gtest.h>

#include "command_harness.h"
#include "core/global.h"
#include "fake_engine.h"
#include "objects/string_store.h"
#include "temp_env.h"

namespace korvel {
namespace {

constexpr char kUserRoot[] = "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\";

class IniCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs",
                               "C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    ClearAllStrings();
  }
  void TearDown() override { ClearAllStrings(); }
  // A stored string of mod A holding text.
  int32_t S(const std::string& text) { return CreateString(1, text, false, false); }
  std::string Text(int32_t id) { return *ResolveSource(id); }
  std::string File(const std::string& relative) {
    std::string text;
    env.ReadFile(kUserRoot + relative, &text);
    return text;
  }
  TempEnv env;
  FakeEngine engine;
  const uint32_t a = ScriptOf(1), b = ScriptOf(2);
};

TEST_F(IniCommands, WrittenValuesReadBackInTheirFormats) {
  int32_t file = S("sub\\dir\\my.ini"), sec = S("Main"), ki = S("i"), kf = S("f"), kr = S("r"),
          ks = S("s");
  FakeForm* sword = engine.AddForm(0x0001A2B3);
  EXPECT_EQ(Call("IniWriteInt", a, {I(file), I(sec), I(ki), I(-42)}), 0);
  EXPECT_EQ(Call("IniWriteFloat", a, {I(file), I(sec), I(kf), F(0.1f)}), 0);
  EXPECT_EQ(Call("IniWriteRef", a, {I(file), I(sec), I(kr), Ref(sword)}), 0);
  EXPECT_EQ(Call("IniWriteString", a, {I(file), I(sec), I(ks), I(S("  text =x "))}), 0);
  // Both folders were made below the user-file root; the text is written
  // as it stands, and reading takes the blanks around it away.
  EXPECT_EQ(File("sub\\dir\\my.ini"),
            "[Main]\r\ni=-42\r\nf=0.100000001490116\r\nr=0001A2B3\r\ns=  text =x \r\n");
  EXPECT_EQ(Call("IniReadInt", a, {I(file), I(sec), I(ki), I(7)}), -42);
  EXPECT_EQ(Call("IniReadFloat", a, {I(file), I(sec), I(kf), F(7)}), static_cast<double>(0.1f));
  EXPECT_EQ(CallRef("IniReadRef", a, {I(file), I(sec), I(kr), Ref(nullptr)}), 0x0001A2B3u);
  int32_t target = S("old");
  EXPECT_EQ(Call("IniReadString", a, {I(target), I(file), I(sec), I(ks), I(-1)}), 0);
  EXPECT_EQ(Text(target), "text =x");
  // A null reference is written as eight zeros.
  Call("IniWriteRef", a, {I(file), I(sec), I(kr), Ref(nullptr)});
  EXPECT_NE(File("sub\\dir\\my.ini").find("r=00000000\r\n"), std::string::npos);
}

TEST_F(IniCommands, ReadersFallBackToTheirDefaults) {
  env.CreateDirectories(kUserRoot);
  env.WriteFile(std::string(kUserRoot) + "v.ini",
                "[V]\r\nhex=0x1F\r\ndollar=$1F\r\nbad=1F\r\nneg=-2.5\r\nbig=5E39\r\nabc=abc\r\n"
                "ref=0001a2b3\r\nshort=1A2B3\r\n");
  int32_t file = S("v.ini"), sec = S("V"), missing = S("nofile.ini");
  const struct {
    const char* key;
    double as_int, as_float;
  } cases[] = {{"hex", 31, -1}, {"dollar", 31, -1}, {"bad", -1, -1}, {"neg", -1, -2.5},
               {"big", -1, -1}, {"abc", -1, -1},    {"none", -1, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(Call("IniReadInt", a, {I(file), I(sec), I(S(c.key)), I(-1)}), c.as_int) << c.key;
    EXPECT_EQ(Call("IniReadFloat", a, {I(file), I(sec), I(S(c.key)), F(-1)}), c.as_float) << c.key;
  }
  FakeForm* fallback = engine.AddForm(0x00000ABC);
  EXPECT_EQ(CallRef("IniReadRef", a, {I(file), I(sec), I(S("ref")), Ref(fallback)}), 0x0001A2B3u);
  EXPECT_EQ(CallRef("IniReadRef", a, {I(file), I(sec), I(S("short")), Ref(fallback)}), 0xABCu);
  EXPECT_EQ(CallRef("IniReadRef", a, {I(file), I(sec), I(S("none")), Ref(fallback)}), 0xABCu);
  // A missing file reads as empty.
  EXPECT_EQ(Call("IniReadInt", a, {I(missing), I(sec), I(S("hex")), I(9)}), 9);
  int32_t target = S("keep");
  Call("IniReadString", a, {I(target), I(missing), I(sec), I(S("x")), I(S("dflt"))});
  EXPECT_EQ(Text(target), "dflt");
  // A StringID that names no string ends the command with its preset.
  EXPECT_EQ(Call("IniReadInt", a, {I(999), I(sec), I(S("hex")), I(9)}), 0);
  EXPECT_EQ(Call("IniSectionsCount", a, {I(missing)}), 0);
}

TEST_F(IniCommands, RootIdUsesItsLowEightBits) {
  env.CreateDirectories("C:\\Game\\Data");
  env.WriteFile("C:\\Game\\Data\\d.ini", "[S]\r\nk=1\r\n");
  int32_t file = S("d.ini"), sec = S("S"), key = S("k");
  EXPECT_EQ(Call("IniReadInt", a, {I(file), I(sec), I(key), I(0), I(1)}), 1);
  EXPECT_EQ(Call("IniReadInt", a, {I(file), I(sec), I(key), I(0), I(257)}), 1);
  EXPECT_EQ(Call("IniReadInt", a, {I(file), I(sec), I(key), I(0), I(0)}), 0);
  EXPECT_EQ(Call("IniKeyExists", a, {I(file), I(sec), I(key), I(1)}), 1);
  EXPECT_EQ(Call("IniKeyExists", a, {I(file), I(sec), I(key)}), 0);
  EXPECT_EQ(Call("IniSectionsCount", a, {I(file), I(513)}), 1);
  // Writers always work below the user-file root.
  Call("IniWriteInt", a, {I(file), I(sec), I(key), I(5)});
  EXPECT_EQ(File("d.ini"), "[S]\r\nk=5\r\n");
  EXPECT_EQ(Call("IniReadInt", a, {I(file), I(sec), I(key), I(0), I(1)}), 1);
}

TEST_F(IniCommands, KeysSectionsAndDeletion) {
  env.CreateDirectories(kUserRoot);
  env.WriteFile(std::string(kUserRoot) + "s.ini",
                "[First]\r\nA=1\r\nb=2\r\n[Empty]\r\n[Third]\r\nc=3\r\n");
  int32_t file = S("s.ini");
  const struct {
    const char* section;
    int32_t key;  // -1: the key omitted
    double exists;
  } cases[] = {{"First", S("a"), 1}, {"first", S("B"), 1}, {"First", S("c"), 0},
               {"First", -1, 1},     {"Empty", -1, 0},     {"Missing", -1, 0}};
  for (const auto& c : cases) {
    std::vector<Arg> args = {I(file), I(S(c.section))};
    if (c.key != -1) args.push_back(I(c.key));
    EXPECT_EQ(Call("IniKeyExists", a, args), c.exists) << c.section;
  }
  EXPECT_EQ(Call("IniSectionsCount", a, {I(file)}), 3);
  int32_t name = S("");
  const char* nth[] = {"", "First", "Empty", "Third", ""};
  for (int32_t n = 0; n <= 4; ++n) {
    Call("IniGetNthSection", a, {I(name), I(file), I(n)});
    EXPECT_EQ(Text(name), nth[n]) << n;
  }
  Call("IniDelKey", a, {I(file), I(S("First")), I(S("a"))});
  EXPECT_EQ(Call("IniKeyExists", a, {I(file), I(S("First")), I(S("a"))}), 0);
  EXPECT_EQ(Call("IniKeyExists", a, {I(file), I(S("First")), I(S("b"))}), 1);
  Call("IniDelKey", a, {I(file), I(S("Third"))});
  EXPECT_EQ(Call("IniSectionsCount", a, {I(file)}), 2);
  // Deleting from a missing file creates nothing.
  Call("IniDelKey", a, {I(S("none.ini")), I(S("x"))});
  EXPECT_FALSE(env.FileExists(std::string(kUserRoot) + "none.ini"));
}

TEST_F(IniCommands, TargetsFollowTheTargetRule) {
  env.CreateDirectories(kUserRoot);
  env.WriteFile(std::string(kUserRoot) + "t.ini", "[S]\r\nk=value\r\n");
  int32_t file = S("t.ini"), sec = S("S"), key = S("k");
  int32_t locked = CreateString(1, "locked", true, false);
  // B may not write A's protected string, Global or not.
  Call("IniReadString", b, {I(locked), I(file), I(sec), I(key), I(-1), I(1)});
  Call("IniGetNthSection", b, {I(locked), I(file), I(1), I(0), I(1)});
  EXPECT_EQ(Text(locked), "locked");
  int32_t open = S("open");
  Call("IniReadString", b, {I(open), I(file), I(sec), I(key), I(-1)});
  EXPECT_EQ(Text(open), "open");
  Call("IniReadString", b, {I(open), I(file), I(sec), I(key), I(-1), I(1)});
  EXPECT_EQ(Text(open), "value");
  // A temporary string is always written.
  Call("IniGetNthSection", b, {I(-2000), I(file), I(1)});
  EXPECT_EQ(Text(-2000), "S");
}

TEST_F(IniCommands, PathsStayBelowTheirRoot) {
  int32_t sec = S("S"), key = S("k");
  for (const char* path : {"..\\..\\escape.ini", "C:\\Windows\\win.ini", "a\\..\\..\\..\\x.ini"}) {
    Call("IniWriteInt", a, {I(S(path)), I(sec), I(key), I(1)});
    EXPECT_EQ(Call("IniReadInt", a, {I(S(path)), I(sec), I(key), I(3), I(2)}), 3) << path;
  }
  EXPECT_FALSE(env.FileExists("C:\\Docs\\My Games\\Veldmark\\escape.ini"));
  EXPECT_FALSE(env.FileExists("C:\\Windows\\win.ini"));
  // "..\\escape.ini" loses its leading parent reference and lands below the root.
  Call("IniWriteInt", a, {I(S("..\\escape.ini")), I(sec), I(key), I(1)});
  EXPECT_EQ(File("escape.ini"), "[S]\r\nk=1\r\n");
}

TEST_F(IniCommands, LinksLeadingOutOfTheRootAreNeitherReadNorWritten) {
  const std::string far = "[S]\r\nk=7\r\n";
  env.CreateDirectories("C:\\Outside");
  env.WriteFile("C:\\Outside\\far.ini", far);
  env.CreateDirectories(kUserRoot);
  env.Link(std::string(kUserRoot) + "far.ini", "C:\\Outside\\far.ini");
  env.Link(std::string(kUserRoot) + "out", "C:\\Outside");
  env.Link(std::string(kUserRoot) + "new.ini", "C:\\Outside\\new.ini");
  int32_t sec = S("S"), key = S("k");
  for (const char* path : {"far.ini", "out\\far.ini"}) {
    SCOPED_TRACE(path);
    int32_t file = S(path);
    EXPECT_EQ(Call("IniReadInt", a, {I(file), I(sec), I(key), I(3)}), 3);
    EXPECT_EQ(Call("IniKeyExists", a, {I(file), I(sec), I(key)}), 0);
    EXPECT_EQ(Call("IniSectionsCount", a, {I(file)}), 0);
    Call("IniWriteInt", a, {I(file), I(sec), I(key), I(1)});
    Call("IniDelKey", a, {I(file), I(sec)});
  }
  // A link that leads nowhere is not made into a file at its far end.
  Call("IniWriteInt", a, {I(S("new.ini")), I(sec), I(key), I(1)});
  Call("IniWriteInt", a, {I(S("out\\sub\\x.ini")), I(sec), I(key), I(1)});
  std::string text;
  env.ReadFile("C:\\Outside\\far.ini", &text);
  EXPECT_EQ(text, far);
  EXPECT_FALSE(env.FileExists("C:\\Outside\\new.ini"));
  EXPECT_FALSE(env.DirectoryExists("C:\\Outside\\sub"));
}

}  // namespace
}  // namespace korvel
