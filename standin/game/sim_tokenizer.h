// The tokens of a sim script line: words, numbers, quoted texts with
// escapes, and #forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct Token {
  enum Kind { kWord, kNumber, kText, kForm } kind;
  std::string text;  // word, decoded text, or the number as written
  uint32_t form_id = 0;
};

// Splits a line into tokens; false with an error message on bad syntax.
bool Tokenize(const std::string& line, std::vector<Token>* tokens, std::string* error);

// True when t is that word, letter case ignored.
bool IsWord(const Token& t, const char* word);
// ASCII lower case.
std::string Lower(std::string s);

}  // namespace standin
