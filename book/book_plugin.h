// The book plug-in generator: a small game plug-in made from the embedded
// 787-byte template, with a random identifier suffix and the book's four
// texts. Portable: files and the template come through Env.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

inline constexpr char kBookTemplateResource[] = "KorvelCreatedBook";
inline constexpr size_t kBookTemplateSize = 787;
// A field's size is 16 bits and counts the closing zero.
inline constexpr size_t kMaxBookTextLength = 65534;

struct BookTexts {
  std::string name, text, model, icon;
};

// The pseudo-random generator of the suffix (a linear congruential
// generator over 32 bits): each draw advances the seed.
class BookRandom {
 public:
  explicit BookRandom(uint32_t seed) : seed_(seed) {}
  // A value below n: the high 32 bits of n times the advanced seed.
  uint32_t Below(uint32_t n);

 private:
  uint32_t seed_;
};

// The 16-character identifier suffix: two draws, each a value below
// 0xFFFFFFFF shifted down by 2^31, as 8 upper-case hex digits; the second
// draw comes first.
std::string BookSuffix(BookRandom& random);

// The plug-in's bytes from the template, or "" when the template is not the
// expected one or a text is too long.
std::string BuildBookPlugin(std::string_view book_template, std::string_view suffix,
                            const BookTexts& texts);

// Writes the plug-in for the Plugin text into the data folder: its base name
// + ".esp", or "KorvelCreatedBook" + suffix + ".esp" when that exists. The
// file is written under a temporary name and renamed once complete, so a
// failed write leaves no plug-in behind for the game to load. Returns the
// path written, or "" when nothing was.
std::string WriteBookPlugin(const std::string& data_folder, std::string_view plugin,
                            const BookTexts& texts);

}  // namespace korvel
