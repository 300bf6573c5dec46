// The stand-in sibling string plug-in "Nyxa_1_2_0_416.dll": a host plug-in
// that registers nothing and keeps its own strings, numbered from 1. It
// starts with one string, id 1 "nyxa one"; ExtSetString adds a string and
// answers its id, saying so on standard output as "nyxa: set N: TEXT".
// STANDIN_NYXA_INCOMPLETE builds a variant without ExtSetString.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/qarn_abi_win32.h"

namespace {

std::vector<std::string>& Strings() {
  static std::vector<std::string> strings{"nyxa one"};
  return strings;
}

}  // namespace

extern "C" {

__declspec(dllexport) bool __cdecl QarnPlugin_Query(const korvel::abi::HostInterface*,
                                                    korvel::abi::PluginInfoRecord* info) {
  if (info) {
    info->info_version = 1;
    info->name = "Nyxa";
    info->version = 416;
  }
  return true;
}

__declspec(dllexport) bool __cdecl QarnPlugin_Load(const korvel::abi::HostInterface*) {
  return true;
}

// The text of an id, null for an id it does not know.
__declspec(dllexport) const char* __cdecl ExtGetString(int32_t id) {
  auto& strings = Strings();
  if (id < 1 || static_cast<size_t>(id) > strings.size()) return nullptr;
  return strings[static_cast<size_t>(id) - 1].c_str();
}

#ifndef STANDIN_NYXA_INCOMPLETE
__declspec(dllexport) int32_t __cdecl ExtSetString(const char* text, void* calling_script) {
  if (!text || !calling_script) return 0;
  auto& strings = Strings();
  strings.emplace_back(text);
  int32_t id = static_cast<int32_t>(strings.size());
  std::printf("nyxa: set %d: %s\n", static_cast<int>(id), text);
  std::fflush(stdout);
  return id;
}
#endif

}  // extern "C"
