#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/global.h"
#include "files/paths.h"
#include "temp_env.h"

namespace korvel {
namespace {

// "%HH" decoded to a byte and "%%" to "%".
std::string Decode(const std::string& text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
      decoded += '%';
      ++i;
    } else if (text[i] == '%' && i + 2 < text.size()) {
      decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// One corpus line: the path and, after a tab, what it must become ("*":
// refused or inside, no tab: refused).
struct CorpusLine {
  std::string path;
  bool has_expectation = false;
  std::string expected;
};

std::vector<CorpusLine> Corpus(const std::string& name) {
  std::ifstream in(std::string(KORVEL_SOURCE_DIR) + "/tests/data/" + name, std::ios::binary);
  std::vector<CorpusLine> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    CorpusLine entry;
    size_t tab = line.find('\t');
    entry.path = Decode(line.substr(0, tab));
    if (tab != std::string::npos) {
      entry.has_expectation = true;
      entry.expected = Decode(line.substr(tab + 1));
    }
    lines.push_back(entry);
  }
  return lines;
}

constexpr char kUserRoot[] = "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\";

// Whether full is base followed by names that lead down from it: no part
// goes up (".."), "." and empty parts stay where they are, and at least one
// part names something. Worked out here on the text alone, apart from the
// resolution the paths module asks the system for.
bool NamesSomethingBelow(const std::string& full, const std::string& base) {
  if (full.compare(0, base.size(), base) != 0) return false;
  bool names_something = false;
  std::stringstream rest(full.substr(base.size()));
  for (std::string part; std::getline(rest, part, '\\');) {
    if (part == "..") return false;
    if (!part.empty() && part != ".") names_something = true;
  }
  return names_something;
}

class Paths : public ::testing::Test {
 protected:
  void SetUp() override {
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs",
                               "C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
  }
  std::string Read(const std::string& path) {
    std::string text;
    env.ReadFile(path, &text);
    return text;
  }
  TempEnv env;
};

TEST_F(Paths, BaseFolderByRootId) {
  const struct {
    int32_t root;
    const char* base;
  } cases[] = {{1, "C:\\Game\\Data\\"}, {2, "C:\\Game\\"}, {0, kUserRoot},
               {3, kUserRoot},          {-1, kUserRoot},  {INT32_MIN, kUserRoot}};
  for (const auto& c : cases) EXPECT_EQ(BaseFolder(c.root), c.base) << c.root;
}

TEST_F(Paths, SanitizeRewritesUntilNothingChanges) {
  std::vector<CorpusLine> benign = Corpus("benign-paths.txt");
  ASSERT_GE(benign.size(), 10u);
  for (const CorpusLine& line : benign) {
    ASSERT_TRUE(line.has_expectation) << line.path;
    EXPECT_EQ(Sanitize(line.path), line.expected) << line.path;
    EXPECT_EQ(RefusalOf(line.expected), nullptr) << line.path;
  }
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"a\\..\\..\\b", "a\\b"},            // one pass would leave a\..\b
      {"..\\..\\..\\x", "x"},              // one pass would leave ..\..\x
      {"a/../../b", "a\\b"},               // slashes first, then the same
      {"..\\a\\..\\..\\b", "a\\b"},        // both rules feed each other
      {"x\\..\\..\\y\\..\\..\\z", "x\\y\\z"},
      {"\\..\\..\\x", "\\x"},              // the leading "\" stays
      {"....\\x", "....\\x"},              // not a parent reference: left for the refusal
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sanitize(c.in), c.out) << c.in;
    EXPECT_EQ(Sanitize(Sanitize(c.in)), Sanitize(c.in)) << c.in;
  }
}

TEST_F(Paths, OrdinaryPathsKeepTheirPlace) {
  const struct {
    const char* relative;
    int32_t root;
    const char* full;
  } cases[] = {
      {"notes/today.txt", 0, "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\notes\\today.txt"},
      {"notes\\today.txt", 0, "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\notes\\today.txt"},
      {"..\\secret.txt", 0, "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\secret.txt"},
      {"a\\..\\b.txt", -3, "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a\\b.txt"},
      {"\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", 1,
       "C:\\Game\\Data\\\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll"},
      {"Veldmark.ini", 2, "C:\\Game\\Veldmark.ini"},
      {"./notes.txt", 0, "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\.\\notes.txt"},
      {"textures/hud.dds", 1, "C:\\Game\\Data\\textures\\hud.dds"},
  };
  for (const auto& c : cases) {
    std::optional<std::string> full = ResolveUserPath(c.relative, c.root);
    ASSERT_TRUE(full.has_value()) << c.relative;
    EXPECT_EQ(*full, c.full) << c.relative;
  }
}

TEST_F(Paths, HostileCorpusIsRefusedOrDefused) {
  std::vector<CorpusLine> corpus = Corpus("hostile-paths.txt");
  ASSERT_GE(corpus.size(), 100u);
  size_t refused = 0;
  env.CreateDirectories(kUserRoot);
  for (const CorpusLine& line : corpus) {
    for (int32_t root : {0, 1, 2}) {
      std::optional<std::string> full = ResolveUserPath(line.path, root);
      const std::string& base = BaseFolder(root);
      if (!line.has_expectation) {
        EXPECT_FALSE(full.has_value()) << "accepted: " << line.path << " -> " << *full;
      } else if (line.expected != "*") {
        EXPECT_EQ(full.value_or("(refused)"), base + line.expected) << line.path;
      }
      if (full) {
        EXPECT_TRUE(NamesSomethingBelow(*full, base)) << line.path << " -> " << *full;
      }
    }
    refused += line.has_expectation ? 0 : 1;
    // Writing through a hostile path never lands outside the user-file root.
    env.AppendFile(std::string(kUserRoot) + "kept.txt", "");
    AppendUserText(line.path, "x", true);
    RenameUserFile("kept.txt", line.path);
    DeleteUserFile(line.path);
  }
  EXPECT_GE(refused, 100u);
  size_t files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(env.Real("C:\\"))) {
    if (entry.is_directory()) continue;
    ++files;
    EXPECT_EQ(entry.path().string().rfind(env.Real(kUserRoot).string(), 0), 0u) << entry.path();
  }
  EXPECT_GE(files, 1u);  // kept.txt at least: the walk did see the root
}

TEST_F(Paths, RefusedPathActsAsMissingFile) {
  // Files a refused path would name if it were simply appended.
  env.CreateDirectories("C:\\Game");
  env.WriteFile("C:\\Game\\secret.txt", "secret");
  env.CreateDirectories(std::string(kUserRoot) + "sub");
  env.WriteFile(std::string(kUserRoot) + "sub\\x.txt", "sub");
  env.WriteFile(std::string(kUserRoot) + "kept.txt", "kept");
  const char* refused[] = {
      "C:\\Game\\secret.txt", "C:/Game/secret.txt", "\\\\?\\C:\\Game\\secret.txt",
      "sub.\\x.txt",  // Windows drops the trailing dot: "sub\x.txt"
      "sub \\x.txt", "sub\\x.txt:stream", "sub\\x.txt.", "nul", "sub\\CON.txt", "",
      ".", "..\\", "\\",
  };
  for (const char* path : refused) {
    SCOPED_TRACE(path);
    for (int32_t root : {0, 1, 2}) EXPECT_FALSE(UserFileExists(path, root));
    EXPECT_FALSE(DeleteUserFile(path));
    EXPECT_FALSE(RenameUserFile(path, "moved.txt"));
    EXPECT_FALSE(RenameUserFile("kept.txt", path));
    AppendUserText(path, "appended", true);
  }
  EXPECT_EQ(Read("C:\\Game\\secret.txt"), "secret");
  EXPECT_EQ(Read(std::string(kUserRoot) + "sub\\x.txt"), "sub");
  EXPECT_EQ(Read(std::string(kUserRoot) + "kept.txt"), "kept");
  EXPECT_FALSE(env.FileExists(std::string(kUserRoot) + "moved.txt"));
  // A refused file name creates no folder either.
  AppendUserText("fresh\\deeper\\nul.txt", "x", false);
  AppendUserText("fresh2\\a.txt:stream", "x", false);
  EXPECT_FALSE(env.DirectoryExists(std::string(kUserRoot) + "fresh"));
  EXPECT_FALSE(env.DirectoryExists(std::string(kUserRoot) + "fresh2"));
}

// An Env whose textual path resolution (GetFullPathName) can be steered, as
// a spelling the system rewrites would (a short 8.3 name, say).
class SteeredEnv : public TempEnv {
 public:
  bool FullPath(const std::string& path, std::string* full) override {
    if (path.find("respelled") != std::string::npos) {
      *full = "C:\\Elsewhere\\a folder name longer than the user-file root\\x.txt";
      return true;
    }
    if (path.find("unresolvable") != std::string::npos) return false;
    if (!TempEnv::FullPath(path, full)) return false;
    if (upper_case && path.find("Today") != std::string::npos)  // not the root itself
      for (char& c : *full) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return true;
  }
  bool upper_case = false;
};

TEST(PathsResolution, ATextualResolutionOutsideTheBaseIsRefused) {
  SteeredEnv env;
  GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs", "C:\\Game\\lib.dll");
  EXPECT_TRUE(ResolveUserPath("plain.txt", 0).has_value());
  EXPECT_FALSE(ResolveUserPath("respelled\\x.txt", 0).has_value());
  EXPECT_FALSE(ResolveUserPath("unresolvable.txt", 0).has_value());
  AppendUserText("respelled\\x.txt", "x", false);
  EXPECT_FALSE(env.DirectoryExists("C:\\Elsewhere"));
  EXPECT_FALSE(env.DirectoryExists(BaseFolder(0) + "respelled"));
  // The comparison ignores case, as the file system does.
  env.upper_case = true;
  std::optional<std::string> full = ResolveUserPath("notes\\Today.txt", 0);
  ASSERT_TRUE(full.has_value());
  EXPECT_EQ(*full, BaseFolder(0) + "notes\\Today.txt");
}

// Real symbolic links in the temporary folder: C:\Outside holds what no
// path below the user-file root may reach, and a sibling folder whose name
// begins with the root's.
class PathsThroughLinks : public Paths {
 protected:
  void SetUp() override {
    Paths::SetUp();
    env.CreateDirectories("C:\\Outside\\deeper");
    env.WriteFile("C:\\Outside\\secret.txt", "secret");
    env.CreateDirectories(root2);
    env.WriteFile(root2 + "near.txt", "near");
    env.CreateDirectories(root + "inner");
    env.WriteFile(root + "inner\\mine.txt", "mine");
    env.Link(root + "out", "C:\\Outside");
    env.Link(root + "secret.txt", "C:\\Outside\\secret.txt");
    env.Link(root + "nowhere.txt", "C:\\Outside\\missing.txt");
    env.Link(root + "nowhere", "C:\\Outside\\missing");
    env.Link(root + "up", "..");
    env.Link(root + "near", "..\\User Files2");
    env.Link(root + "alias", "inner");
    env.Link(root + "alias.txt", "inner\\mine.txt");
    env.Link(root + "self", ".");
  }
  // Every file, folder and link of the temporary drive outside the
  // user-file root, with the contents of the files.
  std::map<std::string, std::string> Outside() {
    std::map<std::string, std::string> seen;
    const std::string inside = env.Real(kUserRoot).string();
    for (const auto& e : std::filesystem::recursive_directory_iterator(env.Real("C:\\"))) {
      std::string name = e.path().string();
      if (name.rfind(inside, 0) == 0) continue;
      std::stringstream data;
      if (e.is_symlink()) {
        data << "link to " << std::filesystem::read_symlink(e.path()).string();
      } else if (e.is_regular_file()) {
        std::ifstream in(e.path(), std::ios::binary);
        data << in.rdbuf();
      } else {
        data << "folder";
      }
      seen[name] = data.str();
    }
    return seen;
  }
  const std::string root = kUserRoot;
  const std::string root2 = "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files2\\";
};

TEST_F(PathsThroughLinks, LinksLeadingOutOfTheUserRootActAsMissing) {
  const std::map<std::string, std::string> before = Outside();
  ASSERT_EQ(before.at(env.Real("C:\\Outside\\secret.txt").string()), "secret");
  const char* outside[] = {"out\\secret.txt", "secret.txt",        "up\\secret.txt",
                           "near\\near.txt",  "self\\up\\x.txt",   "out\\deeper\\new.txt",
                           "nowhere.txt",     "nowhere\\new.txt",  "near\\fresh.txt"};
  for (const char* path : outside) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(ResolveUserPath(path, 0).has_value());
    EXPECT_FALSE(UserFileExists(path, 0));
    EXPECT_FALSE(DeleteUserFile(path));
    EXPECT_FALSE(RenameUserFile(path, "taken.txt"));
    EXPECT_FALSE(RenameUserFile("inner\\mine.txt", path));
    AppendUserText(path, "appended", true);
  }
  for (const char* folder : {"out", "up", "near", "nowhere", "out\\fresh\\deeper"}) {
    SCOPED_TRACE(folder);
    EXPECT_FALSE(EnsureUserFolder(folder));
  }
  EXPECT_EQ(Outside(), before);
  EXPECT_FALSE(env.FileExists(root + "taken.txt"));
  EXPECT_EQ(Read(root + "inner\\mine.txt"), "mine");
}

TEST_F(PathsThroughLinks, LinksThatStayInsideKeepWorking) {
  EXPECT_TRUE(UserFileExists("alias\\mine.txt", 0));
  EXPECT_TRUE(UserFileExists("alias.txt", 0));
  EXPECT_TRUE(UserFileExists("self\\inner\\mine.txt", 0));
  AppendUserText("alias\\mine.txt", "+", false);
  AppendUserText("self\\made\\new.txt", "new", false);
  EXPECT_EQ(Read(root + "inner\\mine.txt"), "mine+");
  EXPECT_EQ(Read(root + "made\\new.txt"), "new");
  EXPECT_TRUE(EnsureUserFolder("self"));
  EXPECT_TRUE(EnsureUserFolder("alias\\sub"));
  EXPECT_TRUE(env.DirectoryExists(root + "inner\\sub"));
  // A link that stays inside may be renamed and deleted.
  EXPECT_TRUE(RenameUserFile("alias.txt", "alias2.txt"));
  EXPECT_TRUE(DeleteUserFile("alias2.txt"));
  EXPECT_EQ(Read(root + "inner\\mine.txt"), "mine+");
}

TEST_F(PathsThroughLinks, LinksInTheGameAndDataFoldersAreFollowed) {
  // Mod managers deploy into Data\ through links; scripts only read there.
  env.CreateDirectories("C:\\Game\\Data");
  env.Link("C:\\Game\\Data\\deployed.ini", "C:\\Outside\\secret.txt");
  EXPECT_TRUE(UserFileExists("deployed.ini", 1));
  EXPECT_TRUE(UserFileExists("Data\\deployed.ini", 2));
}

TEST_F(PathsThroughLinks, WithoutFinalPathsEveryLinkBelowTheRootIsRefused) {
  env.final_paths_unknown = true;
  for (const char* path : {"out\\secret.txt", "secret.txt", "alias.txt", "alias\\mine.txt"})
    EXPECT_FALSE(UserFileExists(path, 0)) << path;
  EXPECT_FALSE(EnsureUserFolder("alias\\sub"));
  EXPECT_TRUE(UserFileExists("inner\\mine.txt", 0));
  AppendUserText("inner\\fresh\\new.txt", "new", false);
  EXPECT_EQ(Read(root + "inner\\fresh\\new.txt"), "new");
}

TEST_F(Paths, FileOperations) {
  AppendUserText("new/deeper/file.txt", "one", true);
  AppendUserText("new\\deeper\\file.txt", "two", false);
  EXPECT_TRUE(env.DirectoryExists(std::string(kUserRoot) + "new\\deeper"));
  EXPECT_EQ(Read(std::string(kUserRoot) + "new\\deeper\\file.txt"), "one\r\ntwo");
  EXPECT_TRUE(UserFileExists("new/deeper/file.txt", 0));
  EXPECT_TRUE(UserFileExists("..\\new\\deeper\\file.txt", 5));
  EXPECT_FALSE(UserFileExists("new/deeper/file.txt", 1));
  EXPECT_FALSE(UserFileExists("new/deeper", 0));  // a folder is no file
  // Renaming onto an existing file fails and leaves both.
  AppendUserText("other.txt", "o", false);
  EXPECT_FALSE(RenameUserFile("other.txt", "new/deeper/file.txt"));
  EXPECT_EQ(Read(std::string(kUserRoot) + "other.txt"), "o");
  EXPECT_EQ(Read(std::string(kUserRoot) + "new\\deeper\\file.txt"), "one\r\ntwo");
  EXPECT_TRUE(RenameUserFile("other.txt", "..\\moved.txt"));
  EXPECT_EQ(Read(std::string(kUserRoot) + "moved.txt"), "o");
  EXPECT_FALSE(UserFileExists("other.txt", 0));
  EXPECT_TRUE(DeleteUserFile("moved.txt"));
  EXPECT_FALSE(DeleteUserFile("moved.txt"));
  // Folders: the root itself, and a sanitized folder with its parents.
  EXPECT_TRUE(EnsureUserFolder(""));
  EXPECT_TRUE(EnsureUserFolder("x\\y\\z"));
  EXPECT_TRUE(env.DirectoryExists(std::string(kUserRoot) + "x\\y\\z"));
  EXPECT_FALSE(EnsureUserFolder("C:\\Outside"));
  EXPECT_FALSE(env.DirectoryExists("C:\\Outside"));
  // The query's duplicate check: the plug-in file inside the data folder,
  // named with a leading backslash.
  EXPECT_FALSE(UserFileExists("\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", 1));
  env.CreateDirectories("C:\\Game\\Data\\Qarn\\Plugins");
  env.WriteFile("C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", "dll");
  EXPECT_TRUE(UserFileExists("\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", 1));
  EXPECT_FALSE(UserFileExists("\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", 0));
}

}  // namespace
}  // namespace korvel
