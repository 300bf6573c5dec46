// The book plug-in: its bytes against the template, the names it chooses,
// and a write that fails at any step leaving no plug-in behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/le_bytes.h"
#include "book/book_plugin.h"
#include "temp_env.h"

namespace korvel {
namespace {

std::string TemplateBytes() {
  std::ifstream in(std::string(KORVEL_SOURCE_DIR) + "/book/KorvelCreatedBook.bin", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The template as the library's resource, a fixed seed, and a fault at the
// n-th file write or rename (counting from 1; 0 for none).
class BookEnv : public TempEnv {
 public:
  bool Resource(const std::string& name, std::string* data) override {
    if (name != kBookTemplateResource) return false;
    *data = TemplateBytes();
    return true;
  }
  uint64_t RandomSeedSource() override { return seed; }
  bool WriteFile(const std::string& path, const std::string& data) override {
    return !Fault() && TempEnv::WriteFile(path, data);
  }
  bool AppendFile(const std::string& path, const std::string& data) override {
    return !Fault() && TempEnv::AppendFile(path, data);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return !Fault() && TempEnv::RenameFile(from, to);
  }
  size_t calls = 0, fail_at = 0;
  uint64_t seed = 12345;

 private:
  bool Fault() { return ++calls == fail_at; }
};

const BookTexts kTexts{"My Book", "Once upon a time.", "Clutter\\Books\\folio03.nif",
                       "Clutter\\iconbook2.dds"};

TEST(BookPlugin, SuffixComesFromTheGeneratorSecondDrawFirst) {
  BookRandom random(0);
  // seed 1: 0xFFFFFFFF * 1 >> 32 = 0; seed 134775814 likewise from its value.
  uint32_t first = static_cast<uint32_t>((0xFFFFFFFFull * 1u) >> 32) + 0x80000000u;
  uint32_t second = static_cast<uint32_t>((0xFFFFFFFFull * 134775814u) >> 32) + 0x80000000u;
  char want[17];
  std::snprintf(want, sizeof want, "%08X%08X", second, first);
  EXPECT_EQ(BookSuffix(random), want);
  EXPECT_EQ(BookSuffix(random).size(), 16u);
}

TEST(BookPlugin, OnlyTheSuffixTextsAndSizesDifferFromTheTemplate) {
  std::string tpl = TemplateBytes();
  ASSERT_EQ(tpl.size(), kBookTemplateSize);
  std::string same = BuildBookPlugin(tpl, "0123456789ABCDEF",
                                     {"Bookname", "BookText", "Clutter\\Books\\folio03.nif",
                                      "Clutter\\iconbook2.dds"});
  EXPECT_EQ(same, tpl);
  std::string book = BuildBookPlugin(tpl, "FEDCBA9876543210", kTexts);
  // 94 fixed bytes plus the four texts, and the group 40 more.
  uint32_t data_size = 94 + 7 + 17 + 25 + 21;
  EXPECT_EQ(LoadU32(book.data() + 0x200), data_size);
  EXPECT_EQ(LoadU32(book.data() + 0x1EC), data_size + 40);
  EXPECT_EQ(book.size(), tpl.size() - 156 + data_size);
  EXPECT_EQ(book.find("0123456789ABCDEF"), std::string::npos);
  size_t count = 0;
  for (size_t at = book.find("FEDCBA9876543210"); at != std::string::npos;
       at = book.find("FEDCBA9876543210", at + 1))
    ++count;
  EXPECT_EQ(count, 6u);
  EXPECT_EQ(book.substr(0x238, 6 + 8), std::string("FULL\x08\x00My Book\0", 14));
  // After the replaced fields the template's bytes follow unchanged.
  std::string kept = BuildBookPlugin(tpl, "0123456789ABCDEF", kTexts);
  EXPECT_EQ(kept.substr(kept.size() - (tpl.size() - 0x29C)), tpl.substr(0x29C));
  EXPECT_EQ(kept.substr(0, 0x1EC), tpl.substr(0, 0x1EC));
}

TEST(BookPlugin, RefusesLongTextsAndAForeignTemplate) {
  std::string tpl = TemplateBytes();
  BookTexts long_name = kTexts;
  long_name.name.assign(65535, 'n');
  EXPECT_EQ(BuildBookPlugin(tpl, "FEDCBA9876543210", long_name), "");
  long_name.name.pop_back();
  EXPECT_NE(BuildBookPlugin(tpl, "FEDCBA9876543210", long_name), "");
  EXPECT_EQ(BuildBookPlugin(tpl.substr(1), "FEDCBA9876543210", kTexts), "");
  std::string broken = tpl;
  broken[0x238] = 'X';  // FULL renamed: the fields no longer add up as known
  broken[0x23C] = 0x7F;
  EXPECT_EQ(BuildBookPlugin(broken, "FEDCBA9876543210", kTexts), "");
}

TEST(BookPlugin, NamesTheFileAfterThePluginTextThenFallsBack) {
  BookEnv env;
  ASSERT_TRUE(env.CreateDirectories("C:\\Game\\Data"));
  EXPECT_EQ(WriteBookPlugin("C:\\Game\\Data\\", "Folder\\MyBook.txt", kTexts),
            "C:\\Game\\Data\\MyBook.esp");
  std::string second = WriteBookPlugin("C:\\Game\\Data\\", "MyBook", kTexts);
  ASSERT_EQ(second.size(), std::string("C:\\Game\\Data\\KorvelCreatedBook").size() + 16 + 4);
  EXPECT_TRUE(env.FileExists(second));
  // The same seed again: the fallback exists too, so nothing is written.
  EXPECT_EQ(WriteBookPlugin("C:\\Game\\Data\\", "MyBook", kTexts), "");
  EXPECT_EQ(WriteBookPlugin("C:\\Game\\Data\\", "Folder\\.esp", kTexts), "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(env.Real("C:\\Game\\Data")),
                          std::filesystem::directory_iterator()), 2);
}

TEST(BookPlugin, AFaultAtAnyWriteLeavesNoFile) {
  BookEnv env;
  ASSERT_TRUE(env.CreateDirectories("C:\\Game\\Data"));
  std::string path = WriteBookPlugin("C:\\Game\\Data\\", "Whole", kTexts);
  ASSERT_FALSE(path.empty());
  size_t writes = env.calls;
  ASSERT_GE(writes, 3u);  // several writes and the rename
  std::string whole;
  ASSERT_TRUE(env.ReadFile(path, &whole));
  for (size_t n = 1; n <= writes; ++n) {
    env.calls = 0;
    env.fail_at = n;
    EXPECT_EQ(WriteBookPlugin("C:\\Game\\Data\\", "Broken", kTexts), "") << "fault at " << n;
    std::filesystem::path data = env.Real("C:\\Game\\Data");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data),
                            std::filesystem::directory_iterator()), 1)
        << "fault at " << n;
  }
  env.calls = 0;
  env.fail_at = 0;
  std::string again = WriteBookPlugin("C:\\Game\\Data\\", "Broken", kTexts);
  std::string bytes;
  ASSERT_TRUE(env.ReadFile(again, &bytes));
  EXPECT_EQ(bytes, whole);  // the same seed gives the same suffix
}

}  // namespace
}  // namespace korvel
