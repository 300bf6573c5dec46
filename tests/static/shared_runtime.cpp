// A DLL linked against the shared C++ runtime: the static checks must refuse it.
#include <stdexcept>
#include <string>

extern "C" __declspec(dllexport) int QarnPlugin_Query(const char* text) {
  try {
    std::string copy(text);
    if (copy.empty()) throw std::runtime_error("empty");
    return static_cast<int>(copy.size());
  } catch (const std::exception&) {
    return -1;
  }
}

extern "C" __declspec(dllexport) int QarnPlugin_Load() { return 1; }
