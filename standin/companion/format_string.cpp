#include "format_string.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace standin {
namespace {

constexpr int kMaxWidth = 99;
constexpr int kMaxPrecision = 20;

bool ReadNumber(const char*& p, int limit, int* value) {
  if (*p < '0' || *p > '9') return false;
  int v = 0;
  while (*p >= '0' && *p <= '9') {
    v = v * 10 + (*p++ - '0');
    if (v > limit) return false;
  }
  *value = v;
  return true;
}

}  // namespace

bool ExpandFormat(const char* format, const float* values, size_t count, char* out,
                  size_t capacity) {
  if (!out || capacity == 0) return false;
  out[0] = '\0';
  if (!format) return false;
  std::string text;
  size_t next = 0;
  for (const char* p = format; *p;) {
    if (*p != '%') {
      text += *p++;
      continue;
    }
    ++p;
    if (*p == '%') {
      text += *p++;
      continue;
    }
    std::string pattern = "%";
    while (*p == '-' || *p == '+' || *p == '0' || *p == ' ') pattern += *p++;
    int width = -1, precision = -1;
    if (*p >= '0' && *p <= '9' && !ReadNumber(p, kMaxWidth, &width)) return false;
    if (*p == '.') {
      ++p;
      if (!ReadNumber(p, kMaxPrecision, &precision)) return false;
    }
    char conversion = *p;
    if (conversion != 'f' && conversion != 'e' && conversion != 'g' && conversion != 'd')
      return false;
    ++p;
    if (next >= count) return false;
    double value = values[next++];
    if (width >= 0) pattern += std::to_string(width);
    char piece[160];
    if (conversion == 'd') {
      // Whole numbers: the variable cut toward zero; no precision.
      if (precision >= 0 || !std::isfinite(value) || std::fabs(value) >= 2147483648.0)
        return false;
      std::snprintf(piece, sizeof piece, (pattern + "ld").c_str(), static_cast<long>(value));
    } else {
      if (precision >= 0) pattern += "." + std::to_string(precision);
      std::snprintf(piece, sizeof piece, (pattern + conversion).c_str(), value);
    }
    text += piece;
    if (text.size() >= capacity) return false;
  }
  if (text.size() >= capacity) return false;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace standin
