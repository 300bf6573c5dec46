// The text algorithms of the search, compare, edit and sanitize commands,
// apart from the string store so that tests and benchmarks run them alone.
// Positions are 1-based character positions; 0 means none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// No edit makes a string longer than this: a longer one would take a large
// part of the game's 32-bit address space.
inline constexpr size_t kMaxEditedTextLength = 0x4000000;  // 64 MiB

// Position of the first difference, 0 when equal; without case_sensitive
// the texts are compared after ASCII upper-casing.
int32_t CompareTexts(std::string_view a, std::string_view b, bool case_sensitive);

// StringPos: the position of substring in text within the window of the
// first `end` characters (a negative end is the whole text), at or after
// start; with find_last the last such occurrence (overlaps counted).
int32_t FindPosition(std::string_view substring, std::string_view text, int32_t start,
                     int32_t end, bool ignore_case, bool find_last);

// StringIns: the `length` characters at `start` replaced by substring. False
// (text unchanged) for start < 1, length < 0 or a result beyond the limit.
bool InsertText(std::string& text, std::string_view substring, int32_t start, int32_t length);

// Replaces occurrences of pattern in text, left to right, never rescanning
// replaced text. Text and pattern are seen up to their first code-0
// character. fold, when given, maps each character before comparing (the
// locale's upper-casing). False (text unchanged) when the result would pass
// the limit; otherwise true, whether or not anything was replaced.
bool ReplaceInText(std::string& text, std::string_view pattern, std::string_view replacement,
                   const uint8_t* fold, bool all);

// StringRep's window: count = end - start + 1 characters from start (a
// negative end is the text's end); the whole text when that is its length.
bool ReplaceInWindow(std::string& text, std::string_view pattern, std::string_view replacement,
                     int32_t start, int32_t end, const uint8_t* fold, bool all);

// SanString: the characters of text found in allowed (after ASCII
// lower-casing both with ignore_case), at most max_length of them (a
// negative max_length is the text's length).
std::string Sanitize(std::string_view text, std::string_view allowed, int32_t max_length,
                     bool ignore_case);

}  // namespace korvel
