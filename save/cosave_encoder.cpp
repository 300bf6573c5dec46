#include "save/cosave_encoder.h"

#include "base/le_bytes.h"

namespace korvel {

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
      item_size_(MinEntrySize(version, &ItemFields<FixedSize, const CoSaveItem>)),
      string_head_size_(MinEntrySize(version, &StringFields<FixedSize, const CoSaveString>)) {
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
  if (text.size() > CoSaveBuffer::kCapacity - string_head_size_) {
    StringFields(append_, entry);
    return;
  }
  const size_t bytes = string_head_size_ + text.size();
  FieldPlacer place(out_.Room(bytes), version_);
  StringFields(place, entry);
  out_.Commit(bytes);
}

void CoSaveEncoder::Items(const uint8_t* types, const uint32_t* values, int32_t size,
                          uint8_t unused) {
  int32_t i = 0;
  while (i < size) {
    // As many items as the buffer holds, placed without a check each.
    size_t room = out_.free() / item_size_;
    if (room == 0) {
      out_.Flush();
      room = out_.free() / item_size_;
    }
    char* const start = out_.Room(room * item_size_);
    FieldPlacer place(start, version_);
    for (; i < size && room != 0; ++i) {
      if (types[i] == unused) continue;
      const CoSaveItem item{i, types[i], values[i]};
      ItemFields(place, item);
      --room;
    }
    out_.Commit(static_cast<size_t>(place.at() - start));
  }
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
