// The profile (INI) services for the native test double: the file's lines
// as sections and key=value pairs, names compared ignoring letter case,
// written back with CR LF line ends. A close model of what the Windows
// services do with plain files, not of every corner of their syntax.
#pragma once

#include <string>
#include <vector>

namespace korvel::profile_double {

inline std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

inline std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

inline std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// "[name]" gives true and the name.
inline bool IsHeader(const std::string& line, std::string* name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

// "key=value" gives true, the key and the value.
inline bool IsPair(const std::string& line, std::string* key, std::string* value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  *key = Trim(t.substr(0, eq));
  *value = Trim(t.substr(eq + 1));
  return true;
}

// The line range [first, end) of a section's body; first is npos when the
// section is missing.
inline void Section(const std::vector<std::string>& lines, const std::string& section,
                    size_t* first, size_t* end) {
  *first = std::string::npos;
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsHeader(lines[i], &name)) continue;
    if (*first != std::string::npos) {
      *end = i;
      return;
    }
    if (Lower(name) == Lower(section)) *first = i + 1;
  }
  *end = lines.size();
}

inline std::vector<std::string> SectionNames(const std::string& text) {
  std::vector<std::string> names;
  std::string name;
  for (const std::string& line : Lines(text))
    if (IsHeader(line, &name)) names.push_back(name);
  return names;
}

inline std::vector<std::string> KeyNames(const std::string& text, const std::string& section) {
  std::vector<std::string> lines = Lines(text), keys;
  size_t first, end;
  Section(lines, section, &first, &end);
  std::string key, value;
  for (size_t i = first; first != std::string::npos && i < end; ++i)
    if (IsPair(lines[i], &key, &value)) keys.push_back(key);
  return keys;
}

inline bool Find(const std::string& text, const std::string& section, const std::string& key,
                 std::string* value) {
  std::vector<std::string> lines = Lines(text);
  size_t first, end;
  Section(lines, section, &first, &end);
  std::string k, v;
  for (size_t i = first; first != std::string::npos && i < end; ++i)
    if (IsPair(lines[i], &k, &v) && Lower(k) == Lower(key)) {
      *value = v;
      return true;
    }
  return false;
}

// Sets (value not null) or deletes (value null) a key; with key null
// erases the whole section.
inline std::string Write(const std::string& text, const std::string& section, const std::string* key,
                         const std::string* value) {
  std::vector<std::string> lines = Lines(text);
  size_t first, end;
  Section(lines, section, &first, &end);
  if (!key) {
    if (first != std::string::npos) lines.erase(lines.begin() + (first - 1), lines.begin() + end);
    return Join(lines);
  }
  std::string k, v;
  for (size_t i = first; first != std::string::npos && i < end; ++i) {
    if (IsPair(lines[i], &k, &v) && Lower(k) == Lower(*key)) {
      if (value) lines[i] = k + "=" + *value;
      else lines.erase(lines.begin() + i);
      return Join(lines);
    }
  }
  if (!value) return Join(lines);
  if (first == std::string::npos) {
    lines.push_back("[" + section + "]");
    lines.push_back(*key + "=" + *value);
  } else {
    size_t at = end;
    while (at > first && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + at, *key + "=" + *value);
  }
  return Join(lines);
}

}  // namespace korvel::profile_double
