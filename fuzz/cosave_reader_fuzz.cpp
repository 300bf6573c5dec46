// The co-save reader against arbitrary bytes. Each input is read as it is
// and once more with its trailer re-signed (length and checksum made
// right), so that mutations reach the sections behind the checksum. What
// reads is written back in the current layout, which must read again and
// write to the same bytes. Read a piece at a time through a window of a
// size the input chooses, each input must give what it gives held whole.
// The game save header probe gets the bytes too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bytes_file.h"
#include "save/cosave_image.h"
#include "save/save_header_probe.h"
#include "save/crc32.h"

namespace {

using namespace korvel;

void PutU32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

void ReadAndRewrite(std::string_view bytes, uint32_t probed) {
  const size_t window = kCoSaveLeastWindow + (bytes.empty() ? 0 : static_cast<uint8_t>(bytes[0]) % 64);
  if (!WindowReadMatches(bytes, probed, window)) std::abort();
  CoSaveImage image;
  if (DecodeCoSaveImage(bytes, probed, &image) != CoSaveReadStatus::kOk) return;
  std::string rewritten = EncodeCoSaveImage(image);
  CoSaveImage again;
  if (DecodeCoSaveImage(rewritten, kUnknownSaveMatch, &again) != CoSaveReadStatus::kOk) std::abort();
  if (EncodeCoSaveImage(again) != rewritten) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)ProbeSaveMatch(bytes);
  // The probed value: unknown, or one the input may hold as its own.
  uint32_t probed = size >= 4 && (data[size - 1] & 1) ? Crc32(data, 4) : kUnknownSaveMatch;
  ReadAndRewrite(bytes, probed);
  if (size >= kCoSaveHeaderSize + 8) {
    std::string sealed(bytes);
    PutU32(sealed, size - 8, static_cast<uint32_t>(size - 8));
    PutU32(sealed, size - 4, Crc32(sealed.data(), size - 4));
    ReadAndRewrite(sealed, kUnknownSaveMatch);
  }
  return 0;
}
