// The calculator's alphabet and the rules every accepted expression keeps:
// which characters count, which may stand next to which, and where.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace korvel::calc_text {

// Every byte falls in one class; bytes of a class have the same rules and
// stand in the same places. The edge is the start and the end of the
// text, the neighbour of the first and of the last character.
enum Class : uint8_t {
  kDropped,    // outside the alphabet: cleaned away
  kDigit,      // 0-9
  kPoint,      // .
  kSign,       // + -
  kVariable,   // $
  kOpen,       // (
  kClose,      // )
  kOperator,   // % * / p
  kEdge,
  kClasses
};

inline constexpr auto kClassOf = [] {
  std::array<Class, 256> classes{};
  for (char c = '0'; c <= '9'; ++c) classes[static_cast<unsigned char>(c)] = kDigit;
  classes['.'] = kPoint;
  classes['+'] = classes['-'] = kSign;
  classes['$'] = kVariable;
  classes['('] = kOpen;
  classes[')'] = kClose;
  for (char c : std::string_view("%*/p")) classes[static_cast<unsigned char>(c)] = kOperator;
  return classes;
}();

// A set of classes, as bits.
constexpr unsigned ClassSet(std::initializer_list<Class> classes) {
  unsigned bits = 0;
  for (Class c : classes) bits |= 1u << c;
  return bits;
}
constexpr bool InSet(Class c, unsigned set) { return (set >> c & 1u) != 0; }

// Whether left may stand just before right. "$" needs a digit after it;
// "(" and a binary operator need what starts an operand after them; ")"
// needs an operator, a sign or ")" after it, or the end. "$" and "("
// stand first or after what opens an operand; ")" and a binary operator
// stand after what ends one. Digits, "." and the signs have no rule of
// their own.
constexpr bool MayFollow(Class left, Class right) {
  constexpr unsigned kStartsOperand = ClassSet({kDigit, kVariable, kOpen, kSign, kPoint});
  constexpr unsigned kEndsOperand = ClassSet({kDigit, kClose, kPoint});
  constexpr unsigned kOpensAfter = ClassSet({kOperator, kOpen, kSign, kEdge});
  constexpr unsigned kClosesBefore = ClassSet({kOperator, kClose, kSign, kEdge});
  switch (left) {
    case kVariable:
      if (right != kDigit) return false;
      break;
    case kOpen:
    case kOperator:
      if (!InSet(right, kStartsOperand)) return false;
      break;
    case kClose:
      if (!InSet(right, kClosesBefore)) return false;
      break;
    default:
      break;
  }
  switch (right) {
    case kVariable:
    case kOpen:
      return InSet(left, kOpensAfter);
    case kClose:
    case kOperator:
      return InSet(left, kEndsOperand);
    default:
      return true;
  }
}

// 1 where the pair (left, right) is refused, by left * kClasses + right.
inline constexpr auto kRefusedPair = [] {
  std::array<uint8_t, kClasses * kClasses> refused{};
  for (int left = kDigit; left < kClasses; ++left)
    for (int right = kDigit; right < kClasses; ++right)
      refused[left * kClasses + right] = MayFollow(Class(left), Class(right)) ? 0 : 1;
  return refused;
}();

}  // namespace korvel::calc_text
