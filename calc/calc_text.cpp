#include "calc/calc_text.h"

#include <array>
#include <cstdint>

namespace korvel {
namespace {

// What each byte may neighbour, as bits of one table: the checks run
// over every character of expressions up to megabytes long, and of every
// short LC text.
enum Role : uint8_t {
  kDigitRole = 1,
  kOpensAfterRole = 2,    // may stand before "$" and "(": "%(*+-/p"
  kClosesBeforeRole = 4,  // may stand after ")": "%)*+-/p"
  kStartsOperandRole = 8,  // after "(" and a binary operator: digits, "$(+-."
  kEndsOperandRole = 16,   // before ")" and a binary operator: digits, ")."
};
constexpr auto kRoles = [] {
  std::array<uint8_t, 256> roles{};
  auto add = [&](std::string_view chars, uint8_t role) {
    for (char c : chars) roles[static_cast<unsigned char>(c)] |= role;
  };
  add("0123456789", kDigitRole | kStartsOperandRole | kEndsOperandRole);
  add("%(*+-/p", kOpensAfterRole);
  add("%)*+-/p", kClosesBeforeRole);
  add("$(+-.", kStartsOperandRole);
  add(").", kEndsOperandRole);
  return roles;
}();
bool Has(char c, uint8_t role) { return (kRoles[static_cast<unsigned char>(c)] & role) != 0; }
bool IsDigit(char c) { return Has(c, kDigitRole); }
bool StartsOperand(char c) { return Has(c, kStartsOperandRole); }
bool EndsOperand(char c) { return Has(c, kEndsOperandRole); }

inline bool NeighboursFit(std::string_view s, size_t i) {
  const bool first = i == 0, last = i + 1 == s.size();
  switch (s[i]) {
    case '$':
      return !last && (first || Has(s[i - 1], kOpensAfterRole)) && IsDigit(s[i + 1]);
    case '(':
      return !last && (first || Has(s[i - 1], kOpensAfterRole)) && StartsOperand(s[i + 1]);
    case ')':
      return !first && (last || Has(s[i + 1], kClosesBeforeRole)) && EndsOperand(s[i - 1]);
    case '%':
    case '*':
    case '/':
    case 'p':
      return !first && !last && EndsOperand(s[i - 1]) && StartsOperand(s[i + 1]);
    default:
      return true;  // digits, ".", "+" and "-" have no rule of their own
  }
}

}  // namespace

std::optional<std::string> CleanExpression(std::string_view expression) {
  std::string cleaned(expression.size(), '\0');
  std::optional<size_t> length = CleanExpressionInto(expression, cleaned.data());
  if (!length) return std::nullopt;
  cleaned.resize(*length);
  return cleaned;
}

std::optional<size_t> CleanExpressionInto(std::string_view expression, char* cleaned) {
  // What each byte is to the cleaning; a table, as this runs over every
  // byte of expressions up to megabytes long.
  enum Kind : uint8_t { kDropped, kDigit, kPoint, kSeparator };
  static constexpr auto kKinds = [] {
    std::array<Kind, 256> kinds{};
    for (char c = '0'; c <= '9'; ++c) kinds[static_cast<unsigned char>(c)] = kDigit;
    kinds['.'] = kPoint;
    for (char c : std::string_view("$%()*+-/p")) kinds[static_cast<unsigned char>(c)] = kSeparator;
    return kinds;
  }();
  size_t length = 0;
  bool dot_in_number = false;
  for (char c : expression) {
    switch (kKinds[static_cast<unsigned char>(c)]) {
      case kDropped:
        continue;
      case kPoint:
        if (dot_in_number) return std::nullopt;
        dot_in_number = true;
        break;
      case kSeparator:
        dot_in_number = false;
        break;
      case kDigit:
        break;
    }
    cleaned[length++] = c;
  }
  return length;
}

bool IsWellFormed(std::string_view cleaned) {
  // One pass: the balance so far, and each character's neighbours (digits,
  // ".", "+" and "-", most of any text, have no rule of their own).
  size_t open = 0;
  for (size_t i = 0; i < cleaned.size(); ++i) {
    char c = cleaned[i];
    if (Has(c, kDigitRole) || c == '.' || c == '+' || c == '-') continue;
    if (c == '(') ++open;
    if (c == ')' && open-- == 0) return false;
    if (!NeighboursFit(cleaned, i)) return false;
  }
  return true;
}

}  // namespace korvel
