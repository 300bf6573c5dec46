// The calculator exactly as its algorithm is written: clean, balance,
// check the neighbours, wrap every operator in parentheses in four passes
// over a growing text, then evaluate the text with a right-recursive scan.
// Quadratic and recursive once per operator: an oracle for short
// expressions, sharing no code with the calculator it checks.
#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace korvel::reference {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool In(char c, const char* set) { return std::string_view(set).find(c) != std::string_view::npos; }
inline bool IsOperandChar(char c) { return IsDigit(c) || c == '.' || c == '$'; }

// Step 1; false when the expression is rejected.
inline bool Clean(std::string_view expression, std::string* out) {
  out->clear();
  bool dot_seen = false;
  for (char c : expression) {
    if (!IsDigit(c) && !In(c, ".$%()*+-/p")) continue;
    if (c == '.') {
      if (dot_seen) return false;
      dot_seen = true;
    } else if (!IsDigit(c)) {
      dot_seen = false;
    }
    *out += c;
  }
  return true;
}

// Step 2.
inline bool Balanced(const std::string& s) {
  long depth = 0;
  for (char c : s) {
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) return false;
  }
  return true;
}

// Step 3.
inline bool Checked(const std::string& s) {
  const size_t n = s.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = s[i];
    const bool first = i == 0, last = i == n - 1;
    const char prev = first ? 0 : s[i - 1], next = last ? 0 : s[i + 1];
    const bool prev_ends = IsDigit(prev) || prev == ')' || prev == '.';
    const bool next_starts = IsDigit(next) || In(next, "$(+-.");
    if (c == '$' && (last || (!first && !In(prev, "%(*+-/p")) || !IsDigit(next))) return false;
    if (c == '(' && ((!first && !In(prev, "%(*+-/p")) || last || !next_starts)) return false;
    if (c == ')' && ((!last && !In(next, "%)*+-/p")) || first || !prev_ends)) return false;
    if (In(c, "%*/p") && (first || last || !prev_ends || !next_starts)) return false;
  }
  return true;
}

// Step 4: wraps the operator at index i of s; returns the index of the
// operator after the wrapping.
inline size_t Wrap(std::string& s, size_t i, bool unary) {
  if (unary) {
    s.insert(i, 1, '(');
  } else if (s[i - 1] == ')') {
    long depth = 1;
    size_t k = i - 1;
    while (k > 0) {
      --k;
      if (s[k] == ')') ++depth;
      if (s[k] == '(' && --depth == 0) break;
    }
    s.insert(k, 1, '(');
  } else {
    size_t k = i;
    while (k > 0 && IsOperandChar(s[k - 1])) --k;
    s.insert(k, 1, '(');
  }
  ++i;
  bool seen = false;
  size_t j = i + 1;
  while (j < s.size()) {
    const char c = s[j];
    if (c == '(') {
      long depth = 0;
      size_t k = j;
      for (; k < s.size(); ++k) {
        if (s[k] == '(') ++depth;
        if (s[k] == ')' && --depth == 0) break;
      }
      if (k < s.size()) {
        s.insert(k, 1, ')');
        return i;
      }
      ++j;
      continue;
    }
    if (In(c, "%*/p") || (In(c, "+-") && seen)) {
      s.insert(j, 1, ')');
      return i;
    }
    if (j == s.size() - 1) {
      s += ')';
      return i;
    }
    if (IsDigit(c) || c == '.') seen = true;
    ++j;
  }
  s += ')';
  return i;
}

inline void Group(std::string& s) {
  for (const char* ops : {"p", "*/", "%"}) {
    for (size_t i = 1; i + 1 < s.size(); ++i)
      if (In(s[i], ops)) i = Wrap(s, i, false) + 1;
  }
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    if (!In(s[i], "+-")) continue;
    const bool unary = i == 0 || !(IsDigit(s[i - 1]) || s[i - 1] == ')' || s[i - 1] == '.');
    i = Wrap(s, i, unary) + 1;
  }
}

inline double Convert(const std::string& number) {
  double value = 0;
  const char* end = number.data() + number.size();
  auto result = std::from_chars(number.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) return 0;
  return value;
}

// Step 5.
inline double Evaluate(const std::string& s, size_t& pos, const std::array<int32_t, 10>& v) {
  double acc = 0;
  std::string pending;
  while (pos < s.size()) {
    const char c = s[pos++];
    if (IsDigit(c) || c == '.') {
      pending += c;
      if (pos == s.size()) acc = Convert(pending);
      continue;
    }
    if (!pending.empty()) {
      acc = Convert(pending);
      pending.clear();
    }
    double r;
    switch (c) {
      case '$':
        acc = v[s[pos] - '0'];
        ++pos;
        break;
      case '(':
        acc = Evaluate(s, pos, v);
        break;
      case ')':
        return acc;
      case '+':
        return Evaluate(s, pos, v) + acc;
      case '-':
        return acc - Evaluate(s, pos, v);
      case '*':
        return Evaluate(s, pos, v) * acc;
      case '/':
        r = Evaluate(s, pos, v);
        return r == 0 ? acc : acc / r;
      case '%':
        r = Evaluate(s, pos, v);
        return r == 0 ? acc : acc - std::trunc(acc / r) * r;
      case 'p':
        r = Evaluate(s, pos, v);
        if (acc < 0 && std::isfinite(r) && r != std::trunc(r)) return std::pow(acc, std::trunc(r));
        return std::pow(acc, r);
    }
  }
  return acc;
}

// Step 6, halves to even; values no 64-bit integer holds stay as they are.
inline double Round(double x) {
  if (!(std::fabs(x) < 9223372036854775808.0)) return x;
  double r = std::nearbyint(x);  // the default rounding mode: to nearest, ties to even
  return r == 0 ? 0.0 : r;
}

// The text as written leaves unclosed parentheses open to the end; the
// calculator closes them before grouping (see UnclosedAsWritten).
inline void CloseUnclosed(std::string& s) {
  long open = 0;
  for (char c : s) open += c == '(' ? 1 : c == ')' ? -1 : 0;
  s.append(static_cast<size_t>(open), ')');
}

enum class Unclosed { kClosedAtEnd, kAsWritten };

inline double Calculate(std::string_view expression, const std::array<int32_t, 10>& v,
                        int32_t rounded, Unclosed unclosed = Unclosed::kClosedAtEnd) {
  std::string s;
  if (!Clean(expression, &s) || !Balanced(s) || !Checked(s)) return 0;
  if (unclosed == Unclosed::kClosedAtEnd) CloseUnclosed(s);
  Group(s);
  size_t pos = 0;
  double value = Evaluate(s, pos, v);
  return rounded != 0 ? Round(value) : value;
}

// The grouped text, for messages.
inline std::string Grouped(std::string_view expression) {
  std::string s;
  if (!Clean(expression, &s) || !Balanced(s) || !Checked(s)) return "(rejected)";
  CloseUnclosed(s);
  Group(s);
  return s;
}

// Two results agree when their bits do; any NaN agrees with any other, as
// the order of a commutative operation's operands may pick either payload.
inline bool SameResult(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace korvel::reference
