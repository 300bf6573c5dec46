#include "save/cosave_encoder.h"

#include "base/le_bytes.h"

namespace korvel {

void FieldAppender::U32(uint32_t v) {
  char b[4];
  StoreU32(b, v);
  out_.Append(b, 4);
}

void FieldAppender::F32(float v) {
  char b[4];
  StoreF32(b, v);
  out_.Append(b, 4);
}

void FieldAppender::U16(uint16_t v) {
  char b[2];
  StoreU16(b, v);
  out_.Append(b, 2);
}

void FieldAppender::Text(std::string_view text) {
  I32(static_cast<int32_t>(text.size()));
  out_.Append(text.data(), text.size());
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

void FieldAppender::Reserved(size_t n) {
  for (size_t i = 0; i < n; ++i) U8(0);
}

void CoSaveEncoder::ItemPlacer::U32(uint32_t v) {
  StoreU32(at, v);
  at += 4;
}

namespace {

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

CoSaveEncoder::CoSaveEncoder(CoSaveByteSink& sink, int32_t version)
    : out_(sink),
      version_(version),
      append_(out_, version),
      item_size_(MinEntrySize(version, &ItemFields<FixedSize, const CoSaveItem>)) {
  out_.Append(kCoSaveMagic, 10);
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

void CoSaveEncoder::BeginStrings(int32_t count) {
  append_.U8(kSectionStrings);
  append_.I32(count);
}

void CoSaveEncoder::String(int32_t id, int32_t owner, uint8_t is_protected,
                           std::string_view text) {
  const StringView entry{id, owner, is_protected, text};
  StringFields(append_, entry);
}

void CoSaveEncoder::BeginArray(int32_t id, int32_t owner, uint8_t is_protected, int32_t size,
                               int32_t count) {
  append_.U8(kSectionArray);
  const ArrayHeader header{id, owner, is_protected, size};
  ArrayHeaderFields(append_, header);
  append_.I32(count);
}

void CoSaveEncoder::Array(int32_t id, int32_t owner, uint8_t is_protected, int32_t size,
                          const std::vector<CoSaveItem>& items) {
  BeginArray(id, owner, is_protected, size, static_cast<int32_t>(items.size()));
  for (const CoSaveItem& item : items) Item(item.index, item.type, item.value);
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

void CoSaveEncoder::Finish(uint32_t save_match) {
  if (CoSaveHasMatch(version_)) append_.U32(save_match);
  append_.I32(static_cast<int32_t>(out_.total()));
  append_.U32(out_.Crc());
  out_.Flush();
}

}  // namespace korvel
