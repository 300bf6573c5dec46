#include "calc/calc_text.h"

#include <array>
#include <cstdint>

namespace korvel {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOneOf(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

// What may stand before "$" and "(", and after ")".
constexpr std::string_view kOpensAfter = "%(*+-/p";
constexpr std::string_view kClosesBefore = "%)*+-/p";
// What may start an operand: after "(" and after a binary operator.
bool StartsOperand(char c) { return IsDigit(c) || IsOneOf(c, "$(+-."); }
// What may end an operand: before ")" and before a binary operator.
bool EndsOperand(char c) { return IsDigit(c) || c == ')' || c == '.'; }

bool NeighboursFit(std::string_view s, size_t i) {
  const bool first = i == 0, last = i + 1 == s.size();
  switch (s[i]) {
    case '$':
      return !last && (first || IsOneOf(s[i - 1], kOpensAfter)) && IsDigit(s[i + 1]);
    case '(':
      return !last && (first || IsOneOf(s[i - 1], kOpensAfter)) && StartsOperand(s[i + 1]);
    case ')':
      return !first && (last || IsOneOf(s[i + 1], kClosesBefore)) && EndsOperand(s[i - 1]);
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
  std::string cleaned(expression.size(), '\0');
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
  cleaned.resize(length);
  return cleaned;
}

bool IsWellFormed(std::string_view cleaned) {
  size_t open = 0;
  for (char c : cleaned) {
    if (c == '(') ++open;
    if (c == ')' && open-- == 0) return false;
  }
  for (size_t i = 0; i < cleaned.size(); ++i)
    if (!NeighboursFit(cleaned, i)) return false;
  return true;
}

}  // namespace korvel
