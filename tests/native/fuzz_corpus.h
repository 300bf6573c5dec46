// The seeds of one of the fuzz targets' corpora (fuzz/corpus/KIND), read
// whole, in name order, for the tests that replay them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace korvel {

struct CorpusSeed {
  std::string name;
  std::string bytes;
};

// Every regular file of the corpus; none when the folder is missing.
inline std::vector<CorpusSeed> ReadCorpus(const char* kind) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(KORVEL_SOURCE_DIR) / "fuzz" / "corpus" / kind;
  std::vector<CorpusSeed> seeds;
  if (!fs::is_directory(folder)) return seeds;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    seeds.push_back({entry.path().filename().string(),
                     std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
  }
  std::sort(seeds.begin(), seeds.end(),
            [](const CorpusSeed& a, const CorpusSeed& b) { return a.name < b.name; });
  return seeds;
}

}  // namespace korvel
