#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/global.h"
#include "host/paths.h"
#include "temp_env.h"

namespace korvel {
namespace {

// Lines of a corpus file, "%HH" decoded to a byte and "%%" to "%".
std::vector<std::string> Corpus(const std::string& name) {
  std::ifstream in(std::string(KORVEL_SOURCE_DIR) + "/tests/data/" + name, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::string decoded;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') {
        decoded += '%';
        ++i;
      } else if (line[i] == '%' && i + 2 < line.size()) {
        decoded += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        decoded += line[i];
      }
    }
    lines.push_back(decoded);
  }
  return lines;
}

class Paths : public ::testing::Test {
 protected:
  void SetUp() override {
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs",
                               "C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
  }
  TempEnv env;
};

TEST_F(Paths, SanitizeRewritesUntilNothingChanges) {
  for (const std::string& line : Corpus("benign-paths.txt")) {
    size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    EXPECT_EQ(Sanitize(line.substr(0, tab)), line.substr(tab + 1)) << line;
    EXPECT_EQ(RefusalOf(line.substr(tab + 1)), nullptr) << line;
  }
  EXPECT_EQ(Sanitize("a\\..\\..\\b"), "a\\b");
  EXPECT_EQ(Sanitize("..\\..\\..\\x"), "x");
  EXPECT_EQ(BaseFolder(1), "C:\\Game\\Data\\");
  EXPECT_EQ(BaseFolder(2), "C:\\Game\\");
  EXPECT_EQ(BaseFolder(-7), "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\");
}

TEST_F(Paths, HostileCorpusStaysInsideEveryRoot) {
  std::vector<std::string> corpus = Corpus("hostile-paths.txt");
  ASSERT_GE(corpus.size(), 100u);
  for (const std::string& path : corpus) {
    for (int32_t root : {0, 1, 2}) {
      std::optional<std::string> full = ResolveUserPath(path, root);
      if (!full) continue;
      std::string resolved;
      ASSERT_TRUE(env.FullPath(*full, &resolved));
      std::string base;
      env.FullPath(BaseFolder(root), &base);
      ASSERT_EQ(base.back(), '\\');
      EXPECT_GT(resolved.size(), base.size());
      EXPECT_EQ(resolved.compare(0, base.size(), base), 0) << path << " -> " << resolved;
    }
    // Writing through a hostile path never lands outside the user-file root.
    AppendUserText(path, "x", true);
    DeleteUserFile(path);
    RenameUserFile("kept.txt", path);
  }
  std::filesystem::path user_root = env.Real(BaseFolder(0));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(env.Real("C:\\"))) {
    if (!entry.is_regular_file()) continue;
    std::string p = entry.path().string();
    EXPECT_EQ(p.rfind(user_root.string(), 0), 0u) << p;
  }
}

TEST_F(Paths, FileOperations) {
  AppendUserText("new/deeper/file.txt", "one", true);
  AppendUserText("new\\deeper\\file.txt", "two", false);
  std::string text;
  ASSERT_TRUE(env.ReadFile(BaseFolder(0) + "new\\deeper\\file.txt", &text));
  EXPECT_EQ(text, "one\r\ntwo");
  EXPECT_TRUE(UserFileExists("new/deeper/file.txt", 0));
  EXPECT_TRUE(UserFileExists("..\\new\\deeper\\file.txt", 5));
  EXPECT_FALSE(UserFileExists("new/deeper/file.txt", 1));
  AppendUserText("other.txt", "o", false);
  EXPECT_FALSE(RenameUserFile("other.txt", "new/deeper/file.txt"));
  EXPECT_TRUE(UserFileExists("other.txt", 0));
  EXPECT_TRUE(RenameUserFile("other.txt", "moved.txt"));
  EXPECT_TRUE(DeleteUserFile("moved.txt"));
  EXPECT_FALSE(DeleteUserFile("moved.txt"));
  // The plug-in file inside the data folder, with the leading backslash.
  env.CreateDirectories("C:\\Game\\Data\\Qarn\\Plugins");
  env.WriteFile("C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", "dll");
  EXPECT_TRUE(UserFileExists("\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll", 1));
}

}  // namespace
}  // namespace korvel
