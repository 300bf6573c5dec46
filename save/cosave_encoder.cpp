#include "save/cosave_encoder.h"

#include "base/le_bytes.h"
#include "save/crc32.h"

namespace korvel {

void FieldAppender::U32(uint32_t v) {
  char b[4];
  StoreU32(b, v);
  out_.append(b, 4);
}

void FieldAppender::F32(float v) {
  char b[4];
  StoreF32(b, v);
  out_.append(b, 4);
}

void FieldAppender::U16(uint16_t v) {
  char b[2];
  StoreU16(b, v);
  out_.append(b, 2);
}

void FieldAppender::Text(std::string_view text) {
  I32(static_cast<int32_t>(text.size()));
  out_.append(text);
}

void FieldAppender::EspId(int32_t esp_id) {
  if (CoSaveWideEspIds(version_))
    I32(esp_id);
  else
    U8(static_cast<uint8_t>(esp_id));
}

void FieldAppender::Protected(uint8_t is_protected) {
  if (CoSaveHasProtected(version_)) U8(is_protected);
}

namespace {

// The Io that writes an entry's fixed-width fields at a place already sized
// for them: an array's items, the bulk of a large co-save.
class FieldPlacer {
 public:
  explicit FieldPlacer(char* at) : at_(at) {}
  char* at() const { return at_; }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void U32(uint32_t v) {
    StoreU32(at_, v);
    at_ += 4;
  }
  void U8(uint8_t v) { *at_++ = static_cast<char>(v); }

 private:
  char* at_;
};

// A string entry straight from the registry, without copying its text.
struct StringView {
  int32_t id, owner;
  uint8_t is_protected;
  std::string_view text;
};

struct ArrayHeader {
  int32_t id, owner;
  uint8_t is_protected;
  int32_t size;
};

}  // namespace

CoSaveEncoder::CoSaveEncoder(int32_t version) : version_(version), append_(out_, version) {
  out_.assign(kCoSaveMagic, 10);
  append_.I32(version_);
}

template <class Entry>
void CoSaveEncoder::Section(uint8_t type, const std::vector<Entry>& entries,
                            void (*fields)(FieldAppender&, const Entry&)) {
  append_.U8(type);
  append_.I32(static_cast<int32_t>(entries.size()));
  for (const Entry& entry : entries) fields(append_, entry);
}

void CoSaveEncoder::Mods(const std::vector<CoSaveMod>& mods) {
  Section(kSectionMods, mods, &ModFields<FieldAppender, const CoSaveMod>);
}

void CoSaveEncoder::BeginStrings() {
  append_.U8(kSectionStrings);
  count_at_ = out_.size();
  count_ = 0;
  append_.I32(0);
}

void CoSaveEncoder::String(int32_t id, int32_t owner, uint8_t is_protected,
                           std::string_view text) {
  const StringView entry{id, owner, is_protected, text};
  StringFields(append_, entry);
  ++count_;
}

void CoSaveEncoder::EndStrings() { StoreU32(out_.data() + count_at_, static_cast<uint32_t>(count_)); }

void CoSaveEncoder::Array(int32_t id, int32_t owner, uint8_t is_protected, int32_t size,
                          const std::vector<CoSaveItem>& items) {
  append_.U8(kSectionArray);
  const ArrayHeader header{id, owner, is_protected, size};
  ArrayHeaderFields(append_, header);
  append_.I32(static_cast<int32_t>(items.size()));
  size_t item_size = MinEntrySize(version_, &ItemFields<FixedSize, const CoSaveItem>);
  size_t at = out_.size();
  out_.resize(at + item_size * items.size());
  FieldPlacer place(out_.data() + at);
  for (const CoSaveItem& item : items) ItemFields(place, item);
}

void CoSaveEncoder::Names(const std::vector<CoSaveName>& names) {
  Section(kSectionNames, names, &NameFields<FieldAppender, const CoSaveName>);
}

void CoSaveEncoder::Screen(int32_t width, int32_t height) {
  append_.U8(kSectionScreen);
  const CoSaveScreen screen{width, height};
  ScreenFields(append_, screen);
}

void CoSaveEncoder::HudSurfaces(const std::vector<CoSaveHudSurface>& surfaces) {
  Section(kSectionHudSurfaces, surfaces, &HudSurfaceFields<FieldAppender, const CoSaveHudSurface>);
}

void CoSaveEncoder::HudTexts(const std::vector<CoSaveHudText>& texts) {
  Section(kSectionHudTexts, texts, &HudTextFields<FieldAppender, const CoSaveHudText>);
}

std::string CoSaveEncoder::Finish(uint32_t save_match) {
  if (CoSaveHasMatch(version_)) append_.U32(save_match);
  append_.I32(static_cast<int32_t>(out_.size()));
  append_.U32(Crc32(out_.data(), out_.size()));
  return std::move(out_);
}

}  // namespace korvel
