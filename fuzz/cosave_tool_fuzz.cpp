// The co-save tool's dump and build against arbitrary bytes. An input read
// as a co-save goes to JSON text and back and must give the same image and
// file; the same input read as JSON must never crash the builder, and what
// it builds must read back. Seeds: the co-save reader's corpus.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "save/cosave_image.h"
#include "tools/cosave/cosave_json.h"
#include "tools/cosave/cosave_report.h"

using namespace korvel;
using namespace korvel::cosave_tool;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CoSaveImage image;
  if (DecodeCoSaveImage(bytes, kUnknownSaveMatch, &image) == CoSaveReadStatus::kOk) {
    Json json = Json::parse(ImageToJson(image).dump());
    CoSaveImage back;
    std::string why;
    if (!JsonToImage(json, &back, &why) || !(back == image)) std::abort();
    if (MeasureUsage(image).total() == 0) std::abort();
  }
  Json json = Json::parse(bytes.begin(), bytes.end(), nullptr, false);
  CoSaveImage built;
  std::string why;
  if (!json.is_discarded() && JsonToImage(json, &built, &why)) {
    CoSaveImage again;
    if (DecodeCoSaveImage(EncodeCoSaveImage(built), kUnknownSaveMatch, &again) != CoSaveReadStatus::kOk) std::abort();
  }
  return 0;
}
