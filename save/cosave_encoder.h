// Writes a co-save section by section, in the order the file holds them,
// through a small buffer into a byte sink: the memory a save needs does not
// grow with the co-save. The game always gets the current version; an older
// version lays the file out as that version did (for test files).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/le_bytes.h"
#include "save/cosave_buffer.h"
#include "save/cosave_records.h"

namespace korvel {

// What the Ios that write fields share: the signed and float forms through
// the Io's own U32, and the fields whose layout depends on the version.
template <class Io>
class VersionedFieldWriter {
 public:
  explicit VersionedFieldWriter(int32_t version) : version_(version) {}
  void I32(int32_t v) { self().U32(static_cast<uint32_t>(v)); }
  void F32(float v) { self().U32(std::bit_cast<uint32_t>(v)); }
  void EspId(int32_t esp_id) {
    if (CoSaveWideEspIds(version_))
      I32(esp_id);
    else
      self().U8(static_cast<uint8_t>(esp_id));
  }
  void Protected(uint8_t is_protected) {
    if (CoSaveHasProtected(version_)) self().U8(is_protected);
  }

 private:
  Io& self() { return static_cast<Io&>(*this); }
  int32_t version_;
};

// The Io that appends fields to the buffer in a version's layout.
class FieldAppender : public VersionedFieldWriter<FieldAppender> {
 public:
  FieldAppender(CoSaveBuffer& out, int32_t version) : VersionedFieldWriter(version), out_(out) {}
  void U32(uint32_t v) {
    char b[4];
    StoreU32(b, v);
    out_.Append(b, 4);
  }
  void U16(uint16_t v) {
    char b[2];
    StoreU16(b, v);
    out_.Append(b, 2);
  }
  void U8(uint8_t v) {
    char c = static_cast<char>(v);
    out_.Append(&c, 1);
  }
  void Text(std::string_view text) {
    I32(static_cast<int32_t>(text.size()));
    out_.Append(text.data(), text.size());
  }
  void Reserved(size_t n) {
    for (size_t i = 0; i < n; ++i) U8(0);
  }

 private:
  CoSaveBuffer& out_;
};

// The Io that writes an entry's fields at a place already sized for the
// whole entry (FixedSize plus its texts): one check of the room per entry
// instead of one per field, for the many small entries of a large co-save.
class FieldPlacer : public VersionedFieldWriter<FieldPlacer> {
 public:
  FieldPlacer(char* at, int32_t version) : VersionedFieldWriter(version), at_(at) {}
  char* at() const { return at_; }
  void U32(uint32_t v) {
    StoreU32(at_, v);
    at_ += 4;
  }
  void U16(uint16_t v) {
    StoreU16(at_, v);
    at_ += 2;
  }
  void U8(uint8_t v) { *at_++ = static_cast<char>(v); }
  void Text(std::string_view text) {
    I32(static_cast<int32_t>(text.size()));
    if (!text.empty()) std::memcpy(at_, text.data(), text.size());
    at_ += text.size();
  }
  void Reserved(size_t n) {
    std::memset(at_, 0, n);
    at_ += n;
  }

 private:
  char* at_;
};

// Every method may throw: CoSaveWriteError when the sink refuses bytes,
// std::bad_alloc when memory runs out. Counts are given before the entries,
// so nothing written is ever changed again and the CRC runs along.
class CoSaveEncoder {
 public:
  explicit CoSaveEncoder(CoSaveByteSink& sink, int32_t version = kCoSaveVersion);
  CoSaveEncoder(const CoSaveEncoder&) = delete;
  CoSaveEncoder& operator=(const CoSaveEncoder&) = delete;
  void Mods(const std::vector<CoSaveMod>& mods);
  // Strings: BeginStrings with the number that follows, String per entry.
  void BeginStrings(int32_t count);
  void String(int32_t id, int32_t owner, uint8_t is_protected, std::string_view text);
  // One array section: BeginArray with the number of items, Item per item
  // in slot order.
  void BeginArray(int32_t id, int32_t owner, uint8_t is_protected, int32_t size, int32_t count);
  void Item(int32_t index, uint8_t type, uint32_t value) {
    FieldPlacer place(out_.Room(item_size_), version_);
    const CoSaveItem item{index, type, value};
    ItemFields(place, item);
    out_.Commit(item_size_);
  }
  // The items of a row of slots, in slot order: slot i holds types[i] and
  // values[i], and a slot whose type is `unused` is left out. The same
  // bytes as Item for each used slot.
  void Items(const uint8_t* types, const uint32_t* values, int32_t size, uint8_t unused);
  void Array(int32_t id, int32_t owner, uint8_t is_protected, int32_t size,
             const std::vector<CoSaveItem>& items);
  void Names(const std::vector<CoSaveName>& names);
  void Screen(int32_t width, int32_t height);
  void HudSurfaces(const std::vector<CoSaveHudSurface>& surfaces);
  void HudTexts(const std::vector<CoSaveHudText>& texts);
  // The match value (not in versions up to 0x01040000), the length field
  // and the checksum; everything reaches the sink.
  void Finish(uint32_t save_match);
  // Bytes written so far.
  uint64_t size() const { return out_.total(); }

 private:
  // A section of a type: its type byte, the count and each entry's fields.
  template <class Entry>
  void Section(uint8_t type, const std::vector<Entry>& entries,
               void (*fields)(FieldAppender&, const Entry&));

  CoSaveBuffer out_;
  int32_t version_;
  FieldAppender append_;
  size_t item_size_;
  size_t string_head_size_;  // a string entry without its text's bytes
};

// The whole file in a string, for tools and tests: body fills the encoder,
// then Finish(save_match).
template <class Body>
std::string EncodeCoSaveToString(int32_t version, uint32_t save_match, Body&& body) {
  std::string out;
  StringByteSink sink(out);
  CoSaveEncoder encoder(sink, version);
  body(encoder);
  encoder.Finish(save_match);
  return out;
}

}  // namespace korvel
