#include "save/save_header_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "save/cosave_format.h"

namespace korvel {
namespace {

// A game save header: 42 bytes, a counted field, 2 bytes, a counted field,
// 4 bytes, the match value.
std::string SaveHeader(uint8_t first, uint8_t second, uint32_t match) {
  std::string h(42, 'h');
  h += static_cast<char>(first);
  h += std::string(first, 'a');
  h += "xx";
  h += static_cast<char>(second);
  h += std::string(second, 'b');
  h += "yyyy";
  char stored[4];
  StoreU32(stored, match);
  h.append(stored, 4);
  return h;
}

TEST(CoSaveFormat, HeaderProbe) {
  struct Case {
    std::string header;
    uint32_t expected;
  } cases[] = {
      {SaveHeader(0, 0, 0xCAFEBABE), 0xCAFEBABE},
      {SaveHeader(5, 9, 0x01020304), 0x01020304},
      {SaveHeader(255, 255, 0x77777777), 0x77777777},  // the longest header
      {SaveHeader(255, 255, 0x77777777) + "more", 0x77777777},
      {SaveHeader(3, 4, 0x5).substr(0, 42 + 1 + 3 + 2 + 1 + 4 + 4 + 3), kUnknownSaveMatch},
      {std::string(42, 'h'), kUnknownSaveMatch},
      {std::string(43, '\0'), kUnknownSaveMatch},  // the second length is missing
      {"", kUnknownSaveMatch},
  };
  for (const Case& c : cases) EXPECT_EQ(ProbeSaveMatch(c.header), c.expected) << c.header.size();
  EXPECT_EQ(SaveHeader(255, 255, 0).size(), kSaveHeaderProbeBytes);
}

}  // namespace
}  // namespace korvel
