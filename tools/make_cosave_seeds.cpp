// Writes the seed co-saves of the reader's fuzz corpus into a folder: the
// small example, an empty co-save, and the sample image in every version
// the reader accepts.
//   korvel_cosave_seeds FOLDER
#include <cstdio>
#include <fstream>
#include <string>

#include "save/cosave_image.h"
#include "tools/cosave_samples.h"

namespace {

bool Put(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  using namespace korvel;
  std::string folder = argv[1];
  bool ok = Put(folder, "small.korvel", EncodeCoSaveImage(samples::SmallImage()));
  ok &= Put(folder, "empty.korvel", EncodeCoSaveImage(CoSaveImage{}));
  for (int32_t version : samples::CoSaveVersions()) {
    char name[32];
    std::snprintf(name, sizeof name, "rich-%08x.korvel", static_cast<unsigned>(version));
    bool with_protected = CoSaveHasProtected(version);
    ok &= Put(folder, name, EncodeCoSaveImage(samples::RichImage(with_protected), version));
  }
  return ok ? 0 : 1;
}
