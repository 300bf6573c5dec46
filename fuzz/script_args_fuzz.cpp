// Script commands through the frame with arguments decoded from arbitrary
// bytes (script_args_target.h); aborts when a call writes beside its
// result, touches another mod's protected object or leaves a registry
// broken. The sanitizers catch the rest.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/script_args_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string violation = korvel::fuzzing::CheckScriptArgs(data, size);
  if (!violation.empty()) {
    std::fprintf(stderr, "script arguments: %s\n", violation.c_str());
    std::abort();
  }
  return 0;
}
