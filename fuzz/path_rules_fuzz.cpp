// The user-path rules against arbitrary bytes and root ids
// (path_rules_target.h); aborts when a path leaves its base folder, a
// refused path changes something or an operation does unbounded work.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/path_rules_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string violation = korvel::fuzzing::CheckPathRules(data, size);
  if (!violation.empty()) {
    std::fprintf(stderr, "path rules: %s\n", violation.c_str());
    std::abort();
  }
  return 0;
}
