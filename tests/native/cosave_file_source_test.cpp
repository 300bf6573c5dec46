// A co-save read from its file through a small window decodes exactly as
// the same bytes held whole; damage and failed reads end the read as a
// corrupted one without reading outside what the file holds.
#include "save/cosave_file_source.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "save/cosave_image.h"
#include "bytes_file.h"
#include "temp_env.h"
#include "tools/cosave_samples.h"

namespace korvel {
namespace {

const std::string kPath = "C:\\Window.korvel";

// The rich sample with texts longer than every window tried, one that is
// exactly a window long, and an array whose items fill many windows and
// many batches.
CoSaveImage Sample() {
  CoSaveImage image = samples::RichImage();
  image.strings.push_back({7, 1, 0, std::string(70000, 'L')});
  image.strings.push_back({6, 0, 1, std::string(64, 'W')});
  image.names.push_back({0x01000DEF, std::string(300, 'n')});
  CoSaveArray many{12, 1, 0, 3000, {}};
  for (int32_t i = 0; i < 3000; i += 2)
    many.items.push_back({i, static_cast<uint8_t>(i % 3), static_cast<uint32_t>(i * 7919)});
  image.arrays.insert(image.arrays.begin(), many);
  return image;
}

// The file read through a window of the given size.
CoSaveReadStatus ReadThrough(TempEnv& env, size_t window, CoSaveImage* out,
                             uint32_t probed = kUnknownSaveMatch) {
  std::unique_ptr<RandomAccessFile> file = env.NewRandomAccessFile(kPath);
  EXPECT_NE(file, nullptr);
  std::vector<char> buffer(window);
  CoSaveFileSource source(*file, buffer.data(), buffer.size());
  return DecodeCoSaveImage(source, probed, out);
}

// The image as the bytes' own decoder gives it, less the header and
// trailer values only that overload fills.
CoSaveReadStatus ReadWhole(const std::string& bytes, CoSaveImage* out,
                           uint32_t probed = kUnknownSaveMatch) {
  CoSaveReadStatus status = DecodeCoSaveImage(bytes, probed, out);
  out->version = CoSaveImage{}.version;
  out->save_match = CoSaveImage{}.save_match;
  return status;
}

const size_t kWindows[] = {kCoSaveLeastWindow, 17, 31, 64, 100, 4096, kCoSaveReadWindow};

TEST(CoSaveFileSource, EveryWindowReadsWhatTheWholeFileHolds) {
  TempEnv env;
  const std::string bytes = EncodeCoSaveImage(Sample());
  ASSERT_TRUE(env.WriteFile(kPath, bytes));
  CoSaveImage whole;
  ASSERT_EQ(ReadWhole(bytes, &whole), CoSaveReadStatus::kOk);
  ASSERT_EQ(whole.strings.size(), Sample().strings.size());
  for (size_t window : kWindows) {
    SCOPED_TRACE(window);
    CoSaveImage read;
    ASSERT_EQ(ReadThrough(env, window, &read), CoSaveReadStatus::kOk);
    EXPECT_EQ(read, whole);
  }
}

// Cut short, one byte changed, or belonging to another save: the window
// makes no difference to the outcome or to what was handed over first.
TEST(CoSaveFileSource, DamageIsJudgedAsInTheWholeFile) {
  TempEnv env;
  CoSaveImage small = samples::RichImage();
  const std::string bytes = EncodeCoSaveImage(small);
  std::vector<std::string> damaged;
  for (size_t cut = 0; cut < bytes.size(); cut += 7) damaged.push_back(bytes.substr(0, cut));
  for (size_t at = 0; at < bytes.size(); at += 5) {
    damaged.push_back(bytes);
    damaged.back()[at] = static_cast<char>(damaged.back()[at] ^ 0x10);
  }
  for (const std::string& file : damaged) {
    ASSERT_TRUE(env.WriteFile(kPath, file));
    CoSaveImage whole;
    const CoSaveReadStatus expected = ReadWhole(file, &whole, 0x12345678);
    for (size_t window : {kCoSaveLeastWindow, size_t{23}, size_t{4096}}) {
      CoSaveImage read;
      ASSERT_EQ(ReadThrough(env, window, &read, 0x12345678), expected)
          << "size " << file.size() << ", window " << window;
      EXPECT_EQ(read, whole);
    }
  }
}

// A file whose reads begin to fail after a number of them: the read ends
// as corrupted whichever read failed, and succeeds once none does.
TEST(CoSaveFileSource, AFailedReadEndsTheReadAsCorrupted) {
  const std::string bytes = EncodeCoSaveImage(Sample());
  char buffer[64];
  int needed = 0;
  {
    BytesFile file(bytes);
    CoSaveFileSource source(file, buffer, sizeof buffer);
    CoSaveImage read;
    ASSERT_EQ(DecodeCoSaveImage(source, kUnknownSaveMatch, &read), CoSaveReadStatus::kOk);
    needed = file.reads();
  }
  // The header, the trailer, the checksum pass and the sections each read.
  ASSERT_GT(needed, 4);
  for (int allowed = 0; allowed < needed; ++allowed) {
    BytesFile file(bytes, allowed);
    CoSaveFileSource source(file, buffer, sizeof buffer);
    CoSaveImage read;
    EXPECT_EQ(DecodeCoSaveImage(source, kUnknownSaveMatch, &read), CoSaveReadStatus::kCorrupted)
        << allowed;
    EXPECT_EQ(file.reads(), allowed + 1) << "reading went on after a failed read";
  }
}

}  // namespace
}  // namespace korvel
