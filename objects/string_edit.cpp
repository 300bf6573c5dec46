#include "objects/string_edit.h"

#include <algorithm>
#include <cstring>

namespace korvel {
namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string_view UpToZero(std::string_view text) {
  size_t zero = text.find('\0');
  return zero == std::string_view::npos ? text : text.substr(0, zero);
}

}  // namespace

int32_t CompareTexts(std::string_view a, std::string_view b, bool case_sensitive) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char x = case_sensitive ? a[i] : AsciiUpper(a[i]);
    char y = case_sensitive ? b[i] : AsciiUpper(b[i]);
    if (x != y) return static_cast<int32_t>(i + 1);
  }
  return a.size() == b.size() ? 0 : static_cast<int32_t>(n + 1);
}

int32_t FindPosition(std::string_view substring, std::string_view text, int32_t start,
                     int32_t end, bool ignore_case, bool find_last) {
  if (start <= 0 || substring.empty()) return 0;
  int64_t window_end = end < 0 ? static_cast<int64_t>(text.size()) : end;
  std::string_view window = text.substr(0, static_cast<size_t>(
                                               std::min<int64_t>(window_end, text.size())));
  if (static_cast<size_t>(start) > window.size()) return 0;
  std::string folded_window, folded_substring;
  if (ignore_case) {
    folded_window = Lowered(window);
    folded_substring = Lowered(substring);
    window = folded_window;
    substring = folded_substring;
  }
  size_t found = window.find(substring, static_cast<size_t>(start - 1));
  if (found == std::string_view::npos) return 0;
  if (find_last) {
    // Later starting points are tried only while they can still hold the
    // whole substring within the first `end` characters.
    int64_t last_start = window_end - static_cast<int64_t>(substring.size()) + 1;
    while (static_cast<int64_t>(found) + 2 <= last_start) {
      size_t next = window.find(substring, found + 1);
      if (next == std::string_view::npos) break;
      found = next;
    }
  }
  return static_cast<int32_t>(found + 1);
}

bool InsertText(std::string& text, std::string_view substring, int32_t start, int32_t length) {
  if (start < 1 || length < 0) return false;
  size_t head = std::min<size_t>(static_cast<size_t>(start) - 1, text.size());
  int64_t tail_from = static_cast<int64_t>(start) - 1 + length;  // 0-based
  size_t tail = tail_from >= static_cast<int64_t>(text.size())
                    ? text.size()
                    : static_cast<size_t>(tail_from);
  size_t new_size = head + substring.size() + (text.size() - tail);
  if (new_size > kMaxEditedTextLength) return false;
  std::string out;
  out.reserve(new_size);
  out.append(text, 0, head).append(substring).append(text, tail, std::string::npos);
  text = std::move(out);
  return true;
}

bool ReplaceInText(std::string& text, std::string_view pattern, std::string_view replacement,
                   const uint8_t* fold, bool all) {
  pattern = UpToZero(pattern);
  std::string_view scanned = UpToZero(text);
  if (pattern.empty() || pattern.size() > scanned.size()) return true;
  // Folding text and pattern once keeps the scan a plain substring search.
  std::string folded_text, folded_pattern;
  std::string_view haystack = scanned, needle = pattern;
  if (fold) {
    folded_text.resize(scanned.size());
    for (size_t i = 0; i < scanned.size(); ++i)
      folded_text[i] = static_cast<char>(fold[static_cast<uint8_t>(scanned[i])]);
    folded_pattern.resize(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i)
      folded_pattern[i] = static_cast<char>(fold[static_cast<uint8_t>(pattern[i])]);
    haystack = folded_text;
    needle = folded_pattern;
  }
  size_t hit = haystack.find(needle);
  if (hit == std::string_view::npos) return true;
  std::string out;
  out.reserve(text.size() + (replacement.size() > pattern.size()
                                 ? replacement.size() - pattern.size() : 0));
  size_t from = 0;
  while (hit != std::string_view::npos) {
    if (out.size() + (hit - from) + replacement.size() > kMaxEditedTextLength) return false;
    out.append(text, from, hit - from).append(replacement);
    from = hit + pattern.size();
    if (!all) break;
    hit = haystack.find(needle, from);
  }
  if (out.size() + (text.size() - from) > kMaxEditedTextLength) return false;
  out.append(text, from, std::string::npos);
  text = std::move(out);
  return true;
}

bool ReplaceInWindow(std::string& text, std::string_view pattern, std::string_view replacement,
                     int32_t start, int32_t end, const uint8_t* fold, bool all) {
  if (start <= 0) return true;
  int64_t last = end < 0 ? static_cast<int64_t>(text.size()) : end;
  int64_t count = last - start + 1;
  if (count <= 0) return true;
  if (count == static_cast<int64_t>(text.size()))
    return ReplaceInText(text, pattern, replacement, fold, all);
  size_t head = static_cast<size_t>(start) - 1;
  if (head >= text.size()) return true;  // an empty part: nothing to replace
  size_t part_size = static_cast<size_t>(std::min<int64_t>(count, text.size() - head));
  std::string part = text.substr(head, part_size);
  if (!ReplaceInText(part, pattern, replacement, fold, all)) return false;
  if (text.size() - part_size + part.size() > kMaxEditedTextLength) return false;
  text.replace(head, part_size, part);
  return true;
}

std::string Sanitize(std::string_view text, std::string_view allowed, int32_t max_length,
                     bool ignore_case) {
  bool keep[256] = {};
  for (char c : allowed) keep[static_cast<uint8_t>(ignore_case ? AsciiLower(c) : c)] = true;
  size_t limit = max_length < 0 ? text.size() : static_cast<size_t>(max_length);
  std::string out;
  for (char c : text) {
    if (keep[static_cast<uint8_t>(ignore_case ? AsciiLower(c) : c)]) out += c;
    if (out.size() == limit) break;
  }
  return out;
}

}  // namespace korvel
