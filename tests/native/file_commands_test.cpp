// The user text file commands through the frame on the test double: the
// shared search, whole-file reads, sizes, appending and the script runner.
#include <gtest/gtest.h>

#include "command_harness.h"
#include "core/global.h"
#include "fake_engine.h"
#include "files/file_search.h"
#include "objects/string_store.h"
#include "temp_env.h"

namespace korvel {
namespace {

constexpr char kUserRoot[] = "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\";

class FileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs",
                               "C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    ClearAllStrings();
    CloseFileSearch();
    env.CreateDirectories(kUserRoot);
  }
  void TearDown() override {
    CloseFileSearch();
    ClearAllStrings();
  }
  int32_t S(const std::string& text) { return CreateString(1, text, false, false); }
  std::string Text(int32_t id) { return *ResolveSource(id); }
  void Put(const std::string& relative, const std::string& data) {
    env.WriteFile(kUserRoot + relative, data);
  }
  TempEnv env;
  FakeEngine engine;
  const uint32_t a = ScriptOf(1), b = ScriptOf(2);
};

TEST_F(FileCommands, SearchWalksFilesOrFoldersAndEnds) {
  Put("b.txt", "b");
  Put("a.txt", "a");
  env.CreateDirectories(std::string(kUserRoot) + "sub");
  int32_t found = S("");
  // Files mode, default mask "*": folders (".", "..", "sub") are skipped.
  EXPECT_EQ(Call("FindFirstFile", a, {I(found)}), 1);
  EXPECT_EQ(Text(found), "a.txt");
  EXPECT_EQ(Call("FindNextFile", a, {I(found)}), 1);
  EXPECT_EQ(Text(found), "b.txt");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Call("FindNextFile", a, {I(found)}), 0);
    EXPECT_EQ(Text(found), "");
  }
  // Folders mode returns "." and ".." like any folder; another script
  // continues the one open search.
  const char* folders[] = {".", "..", "sub", ""};
  EXPECT_EQ(Call("FindFirstFile", a, {I(found), I(-42), I(0), I(1)}), 1);
  EXPECT_EQ(Text(found), folders[0]);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(Call("FindNextFile", b, {I(-2000)}), folders[i][0] ? 1 : 0);
    EXPECT_EQ(Text(-2000), folders[i]);
  }
  // A mask that matches nothing writes the empty name; a second
  // FindFirstFile abandons the first search.
  EXPECT_EQ(Call("FindFirstFile", a, {I(found), I(S("*.txt"))}), 1);
  EXPECT_EQ(Call("FindFirstFile", a, {I(found), I(S("*.none"))}), 0);
  EXPECT_EQ(Text(found), "");
  EXPECT_EQ(Call("FindNextFile", a, {I(found)}), 0);
}

TEST_F(FileCommands, RefusedTargetsLeaveTheSearchAlone) {
  Put("a.txt", "a");
  Put("b.txt", "b");
  int32_t found = S("");
  int32_t locked = CreateString(1, "locked", true, false);
  Call("FindFirstFile", a, {I(found)});
  EXPECT_EQ(Call("FindFirstFile", b, {I(locked), I(-42), I(0), I(0), I(1)}), 0);
  EXPECT_EQ(Call("FindNextFile", b, {I(locked), I(1)}), 0);
  EXPECT_EQ(Text(locked), "locked");
  EXPECT_EQ(Call("FindNextFile", a, {I(found)}), 1);
  EXPECT_EQ(Text(found), "b.txt");
}

TEST_F(FileCommands, FileToStringReadsTheBytesUnchanged) {
  const std::string binary("a\0b\r\nc\n\xff", 8);
  Put("bin.dat", binary);
  Put("empty.txt", "");
  int32_t target = S("old");
  EXPECT_EQ(Call("FileToString", a, {I(S("bin.dat")), I(target)}), 0);
  EXPECT_EQ(Text(target), binary);
  Call("FileToString", a, {I(S("missing.txt")), I(target)});
  EXPECT_EQ(Text(target), binary);
  Call("FileToString", a, {I(S("empty.txt")), I(target)});
  EXPECT_EQ(Text(target), "");
  // RootID 257 is the data folder.
  env.CreateDirectories("C:\\Game\\Data");
  env.WriteFile("C:\\Game\\Data\\d.txt", "data");
  Call("FileToString", a, {I(S("d.txt")), I(target), I(0), I(257)});
  EXPECT_EQ(Text(target), "data");
  int32_t locked = CreateString(1, "locked", true, false);
  Call("FileToString", b, {I(S("d.txt")), I(locked), I(1), I(1)});
  EXPECT_EQ(Text(locked), "locked");
}

TEST_F(FileCommands, SizesExistenceRenameAndDelete) {
  Put("five.txt", "12345");
  Put("big.dat", "x");
  env.size_of["big.dat"] = 0x80000000ull;
  const struct {
    const char* path;
    double size;
  } sizes[] = {{"five.txt", 5}, {"f*.txt", 5}, {"missing.txt", -1}, {"big.dat", -2},
               {"..\\..\\five.txt", 5}, {"C:\\five.txt", -1}};
  for (const auto& c : sizes) EXPECT_EQ(Call("GetFileSize", a, {I(S(c.path))}), c.size) << c.path;
  env.size_of["big.dat"] = 0x7FFFFFFFull;
  EXPECT_EQ(Call("GetFileSize", a, {I(S("big.dat"))}), 0x7FFFFFFF);
  EXPECT_EQ(Call("UserFileExists", a, {I(S("five.txt"))}), 1);
  EXPECT_EQ(Call("UserFileExists", a, {I(S("five.txt")), I(1)}), 0);
  EXPECT_EQ(Call("UserFileExists", a, {I(S("..\\"))}), 0);  // the root is no file
  // Renaming onto an existing file fails and changes nothing.
  EXPECT_EQ(Call("RenFile", a, {I(S("five.txt")), I(S("big.dat"))}), 0);
  EXPECT_EQ(Call("GetFileSize", a, {I(S("five.txt"))}), 5);
  EXPECT_EQ(Call("RenFile", a, {I(S("five.txt")), I(S("six.txt"))}), 1);
  EXPECT_EQ(Call("UserFileExists", a, {I(S("five.txt"))}), 0);
  EXPECT_EQ(Call("DelFile", a, {I(S("six.txt"))}), 1);
  EXPECT_EQ(Call("DelFile", a, {I(S("six.txt"))}), 0);
  EXPECT_EQ(Call("DelFile", a, {I(999)}), 0);
}

TEST_F(FileCommands, AppendingCreatesFilesBelowTheRoot) {
  int32_t hello = S("hello");
  Call("StringToTxtFile", a, {I(S(".\\fresh.txt")), I(hello)});
  Call("StringToTxtFile", a, {I(S("fresh.txt")), I(hello), I(0)});
  Call("StringToTxtFile", a, {I(S("new/deeper/f.txt")), I(hello), I(0)});
  std::string text;
  env.ReadFile(std::string(kUserRoot) + "fresh.txt", &text);
  EXPECT_EQ(text, "hello\r\nhello");
  env.ReadFile(std::string(kUserRoot) + "new\\deeper\\f.txt", &text);
  EXPECT_EQ(text, "hello");
}

TEST_F(FileCommands, LinksLeadingOutOfTheRootAreNeitherReadNorListed) {
  env.CreateDirectories("C:\\Outside");
  env.WriteFile("C:\\Outside\\far.txt", "far away");
  Put("b.txt", "b");
  env.CreateDirectories(std::string(kUserRoot) + "inner");
  env.Link(std::string(kUserRoot) + "a-far.txt", "C:\\Outside\\far.txt");
  env.Link(std::string(kUserRoot) + "a-out", "C:\\Outside");
  env.Link(std::string(kUserRoot) + "a-in", "inner");
  int32_t target = S("old");
  for (const char* path : {"a-far.txt", "a-out\\far.txt"}) {
    SCOPED_TRACE(path);
    Call("FileToString", a, {I(S(path)), I(target)});
    EXPECT_EQ(Text(target), "old");
    EXPECT_EQ(Call("GetFileSize", a, {I(S(path))}), -1);
    EXPECT_EQ(Call("UserFileExists", a, {I(S(path))}), 0);
  }
  // The first match of a mask that a link leading out would be is the
  // next entry that stays inside.
  EXPECT_EQ(Call("GetFileSize", a, {I(S("*.txt"))}), 1);
  // Files mode passes over the link to the far file, folders mode over the
  // link to the far folder; a link that stays inside is listed.
  const char* files[] = {"b.txt", ""};
  EXPECT_EQ(Call("FindFirstFile", a, {I(target)}), 1);
  EXPECT_EQ(Text(target), files[0]);
  EXPECT_EQ(Call("FindNextFile", a, {I(target)}), 0);
  const char* folders[] = {".", "..", "a-in", "inner", ""};
  EXPECT_EQ(Call("FindFirstFile", a, {I(target), I(-42), I(0), I(1)}), 1);
  EXPECT_EQ(Text(target), folders[0]);
  for (int i = 1; i < 5; ++i) {
    Call("FindNextFile", a, {I(target)});
    EXPECT_EQ(Text(target), folders[i]);
  }
  // Nothing is listed through the link either.
  EXPECT_EQ(Call("FindFirstFile", a, {I(target), I(S("a-out\\*"))}), 0);
  EXPECT_EQ(Call("FindFirstFile", a, {I(target), I(S("a-out\\*")), I(0), I(1)}), 0);
  EXPECT_EQ(Call("FindFirstFile", a, {I(target), I(S("a-in\\*")), I(0), I(1)}), 1);
  // Appending through the links writes nothing anywhere.
  Call("StringToTxtFile", a, {I(S("a-far.txt")), I(S("more"))});
  Call("StringToTxtFile", a, {I(S("a-out\\new.txt")), I(S("more"))});
  std::string far;
  env.ReadFile("C:\\Outside\\far.txt", &far);
  EXPECT_EQ(far, "far away");
  EXPECT_FALSE(env.FileExists("C:\\Outside\\new.txt"));
}

TEST_F(FileCommands, RunBatStringHandsTheTextToTheCompanion) {
  Call("RunBatString", a, {I(S(std::string("player.additem f 1\0tail", 24)))});
  Call("RunBatString", a, {I(999)});
  ASSERT_EQ(engine.script_lines.size(), 1u);
  EXPECT_EQ(engine.script_lines[0], "player.additem f 1");
}

}  // namespace
}  // namespace korvel
