#include "book/book_plugin.h"

#include <cstdio>
#include <vector>

#include "base/env.h"
#include "base/le_bytes.h"

namespace korvel {
namespace {

constexpr std::string_view kPlaceholder = "0123456789ABCDEF";
constexpr size_t kFieldHeader = 6;  // type (4 characters), data size (u16)

// Where the template's BOOK group and record lie and which of its fields
// carry the texts.
constexpr size_t kBookGroupSizeAt = 0x1EC;
constexpr size_t kBookDataSizeAt = 0x200;
constexpr size_t kBookDataStart = 0x210;
constexpr size_t kBookFieldsStart = 0x238;  // the FULL field, after EDID
constexpr size_t kBookFieldsEnd = 0x29C;    // the DATA field
constexpr size_t kBookGroupHeader = 20, kBookRecordHeader = 20;

std::string Field(std::string_view type, const std::string& text) {
  std::string f(type);
  f.resize(kFieldHeader);
  StoreU16(f.data() + 4, static_cast<uint16_t>(text.size() + 1));
  f += text;
  f += '\0';
  return f;
}

// The template's parts in file order, the texts' fields in their places.
// Empty when the template is not the one this code knows.
std::vector<std::string> Pieces(std::string_view tpl, std::string_view suffix,
                                const BookTexts& texts) {
  if (tpl.size() != kBookTemplateSize || suffix.size() != kPlaceholder.size()) return {};
  std::string bytes(tpl);
  size_t replaced = 0;
  for (size_t at = bytes.find(kPlaceholder); at != std::string::npos;
       at = bytes.find(kPlaceholder, at + kPlaceholder.size())) {
    bytes.replace(at, suffix.size(), suffix);
    ++replaced;
  }
  if (replaced != 6) return {};
  std::vector<std::string> pieces{bytes.substr(0, kBookFieldsStart)};
  size_t at = kBookFieldsStart;
  while (at < kBookFieldsEnd) {
    if (at + kFieldHeader > kBookFieldsEnd) return {};
    std::string type = bytes.substr(at, 4);
    size_t size = LoadU16(bytes.data() + at + 4);
    const std::string* text = type == "FULL"   ? &texts.name
                              : type == "MODL" ? &texts.model
                              : type == "ICON" ? &texts.icon
                              : type == "DESC" ? &texts.text
                                               : nullptr;
    pieces.push_back(text ? Field(type, *text) : bytes.substr(at, kFieldHeader + size));
    at += kFieldHeader + size;
  }
  if (at != kBookFieldsEnd || bytes.compare(kBookDataSizeAt - 4, 4, "BOOK") != 0 ||
      bytes.compare(kBookGroupSizeAt - 4, 4, "GRUP") != 0 ||
      bytes.compare(kBookFieldsEnd, 4, "DATA") != 0)
    return {};
  pieces.push_back(bytes.substr(kBookFieldsEnd));
  // The BOOK record ends with its DATA field; its data size is the file
  // length there minus where its data starts, and its group holds the
  // record and both headers.
  size_t book_end = kFieldHeader + LoadU16(bytes.data() + kBookFieldsEnd + 4);
  for (size_t i = 0; i + 1 < pieces.size(); ++i) book_end += pieces[i].size();
  uint32_t data_size = static_cast<uint32_t>(book_end - kBookDataStart);
  StoreU32(pieces[0].data() + kBookDataSizeAt, data_size);
  StoreU32(pieces[0].data() + kBookGroupSizeAt, data_size + kBookGroupHeader + kBookRecordHeader);
  return pieces;
}

bool TooLong(const BookTexts& t) {
  return t.name.size() > kMaxBookTextLength || t.text.size() > kMaxBookTextLength ||
         t.model.size() > kMaxBookTextLength || t.icon.size() > kMaxBookTextLength;
}

std::string BaseName(std::string_view plugin) {
  size_t slash = plugin.find_last_of("\\/:");
  std::string_view name = slash == std::string_view::npos ? plugin : plugin.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace

uint32_t BookRandom::Below(uint32_t n) {
  seed_ = seed_ * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(n) * seed_) >> 32);
}

std::string BookSuffix(BookRandom& random) {
  // Two's complement of value - 2^31 is value + 2^31 modulo 2^32.
  uint32_t first = random.Below(0xFFFFFFFFu) + 0x80000000u;
  uint32_t second = random.Below(0xFFFFFFFFu) + 0x80000000u;
  char suffix[17];
  std::snprintf(suffix, sizeof suffix, "%08X%08X", static_cast<unsigned>(second),
                static_cast<unsigned>(first));
  return suffix;
}

std::string BuildBookPlugin(std::string_view book_template, std::string_view suffix,
                            const BookTexts& texts) {
  if (TooLong(texts)) return "";
  std::string out;
  for (const std::string& piece : Pieces(book_template, suffix, texts)) out += piece;
  return out;
}

std::string WriteBookPlugin(const std::string& data_folder, std::string_view plugin,
                            const BookTexts& texts) {
  if (TooLong(texts)) return "";
  std::string base = BaseName(plugin);
  if (base.empty()) return "";
  Env& env = GetEnv();
  std::string book_template;
  if (!env.Resource(kBookTemplateResource, &book_template)) return "";
  BookRandom random(static_cast<uint32_t>(env.RandomSeedSource()));
  std::string suffix = BookSuffix(random);
  std::string target = data_folder + base + ".esp";
  if (env.FileExists(target)) {
    target = data_folder + "KorvelCreatedBook" + suffix + ".esp";
    if (env.FileExists(target)) return "";
  }
  std::vector<std::string> pieces = Pieces(book_template, suffix, texts);
  if (pieces.empty()) return "";
  // The template's parts go out one write each; whatever fails, the
  // temporary file goes and the target is never created half-written.
  std::string partial = target + ".tmp";
  bool ok = env.WriteFile(partial, pieces[0]);
  for (size_t i = 1; ok && i < pieces.size(); ++i) ok = env.AppendFile(partial, pieces[i]);
  if (ok && !env.FileExists(target)) ok = env.RenameFile(partial, target);
  else ok = false;
  if (!ok) {
    env.RemoveFile(partial);
    return "";
  }
  return target;
}

}  // namespace korvel
