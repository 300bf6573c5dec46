#include "game/sim_tokenizer.h"

#include <windows.h>

#include <cctype>

namespace standin {
namespace {

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '-' ||
         c == '+';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseFormId(const std::string& hex, uint32_t* id) {
  if (hex.empty() || hex.size() > 8) return false;
  uint32_t value = 0;
  for (char c : hex) {
    int v = HexValue(c);
    if (v < 0) return false;
    value = value * 16 + static_cast<uint32_t>(v);
  }
  *id = value;
  return true;
}

bool LooksNumeric(const std::string& word) {
  size_t i = (word[0] == '-' || word[0] == '+') ? 1 : 0;
  // "nan", "inf" and "-inf": the values a script's float variable holds
  // after 0/0 or an overflow.
  if (_stricmp(word.c_str() + i, "nan") == 0 || _stricmp(word.c_str() + i, "inf") == 0) return true;
  return i < word.size() && (std::isdigit(static_cast<unsigned char>(word[i])) ||
                             (word[i] == '.' && i + 1 < word.size()));
}

}  // namespace

bool Tokenize(const std::string& line, std::vector<Token>* tokens, std::string* error) {
  tokens->clear();
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == ';') {
      break;  // comment to the end of the line
    } else if (c == '"') {
      std::string text;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d != '\\') {
          text += d;
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case 'n': text += '\n'; break;
          case 'r': text += '\r'; break;
          case 't': text += '\t'; break;
          case '\\': text += '\\'; break;
          case '"': text += '"'; break;
          case 'x': {
            int hi = i < line.size() ? HexValue(line[i]) : -1;
            int lo = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
            if (hi < 0 || lo < 0) {
              *error = "\\x needs two hexadecimal digits";
              return false;
            }
            text += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
          }
          default:
            *error = std::string("unknown escape \\") + e;
            return false;
        }
      }
      if (!closed) {
        *error = "text without closing quote";
        return false;
      }
      tokens->push_back({Token::kText, text});
    } else if (c == '#') {
      size_t start = ++i;
      while (i < line.size() && HexValue(line[i]) >= 0) ++i;
      Token t{Token::kForm, line.substr(start, i - start)};
      if (!ParseFormId(t.text, &t.form_id)) {
        *error = "a form is # and 1 to 8 hexadecimal digits";
        return false;
      }
      tokens->push_back(t);
    } else if (IsWordChar(c)) {
      size_t start = i;
      while (i < line.size() && IsWordChar(line[i])) ++i;
      std::string word = line.substr(start, i - start);
      tokens->push_back({LooksNumeric(word) ? Token::kNumber : Token::kWord, word});
    } else {
      *error = std::string("unexpected character '") + c + "'";
      return false;
    }
  }
  return true;
}

bool IsWord(const Token& t, const char* word) {
  return t.kind == Token::kWord && _stricmp(t.text.c_str(), word) == 0;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace standin
