// The entries of the co-save's sections and, once per section, the list of
// their fields in file order. The encoder, the decoder and the size checks
// all run these lists, so a field is added, moved or widened in one place.
//
// A field list is a template over an Io with one method per field kind:
//   I32, U32, U16, U8, F32   fixed-width values;
//   Text                     an i32 byte count and the bytes;
//   EspId                    an owner or a mod's EspID (i32 before 0x01020000, else u8);
//   Protected                the protection byte (none in 0x01000000);
//   Reserved(n)              n bytes written as 0 and skipped on reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "save/cosave_format.h"

namespace korvel {

struct CoSaveMod {
  int32_t esp_id = 0;
  uint8_t mod_index = 0;
  std::string name;
  bool operator==(const CoSaveMod&) const = default;
};

struct CoSaveString {
  int32_t id = 0;
  int32_t owner = 0;
  uint8_t is_protected = 0;
  std::string text;
  bool operator==(const CoSaveString&) const = default;
};

struct CoSaveItem {
  int32_t index = 0;
  uint8_t type = 0;  // 0 integer, 1 reference (form id), 2 float bits
  uint32_t value = 0;
  bool operator==(const CoSaveItem&) const = default;
};

struct CoSaveArray {
  int32_t id = 0;
  int32_t owner = 0;
  uint8_t is_protected = 0;
  int32_t size = 0;
  std::vector<CoSaveItem> items;  // used slots in slot order
  bool operator==(const CoSaveArray&) const = default;
};

struct CoSaveScreen {
  int32_t width = 0, height = 0;
  bool operator==(const CoSaveScreen&) const = default;
};

struct CoSaveName {
  uint32_t form_id = 0;
  std::string name;
  bool operator==(const CoSaveName&) const = default;
};

// The fields of a HUD surface record as stored; the 4 reserved bytes
// between the scale and the opacity are not kept.
struct CoSaveHudSurface {
  int32_t id = 0;
  uint8_t esp_id = 0, is_protected = 0, root_id = 0;
  std::string filename;
  uint8_t show = 0;
  float x = 0, y = 0;
  uint16_t layer = 0;  // L
  float scale_x = 0, scale_y = 0;
  uint8_t opacity = 0, alignment = 0, auto_scale = 0;
  bool operator==(const CoSaveHudSurface&) const = default;
};

struct CoSaveHudText {
  int32_t id = 0;
  uint8_t esp_id = 0, is_protected = 0, show = 0;
  float x = 0, y = 0;
  uint16_t layer = 0;  // L
  float scale_x = 0, scale_y = 0;
  uint8_t opacity = 0, alignment = 0, auto_scale = 0;
  float width = 0, height = 0;
  uint8_t format = 0;
  std::string font_name, text;
  int32_t font_height = 0, font_width = 0;
  uint16_t weight = 0;
  uint8_t italic = 0, r = 0, g = 0, b = 0;
  bool operator==(const CoSaveHudText&) const = default;
};


template <class Io, class Mod>
void ModFields(Io& io, Mod& m) {
  io.EspId(m.esp_id);
  io.U8(m.mod_index);
  io.Text(m.name);
}

// Strings and arrays begin alike: id, owner, protection.
template <class Io, class Object>
void ObjectHeadFields(Io& io, Object& o) {
  io.I32(o.id);
  io.EspId(o.owner);
  io.Protected(o.is_protected);
}

template <class Io, class String>
void StringFields(Io& io, String& s) {
  ObjectHeadFields(io, s);
  io.Text(s.text);
}

// An array section: this header, the count of items, the items.
template <class Io, class Array>
void ArrayHeaderFields(Io& io, Array& a) {
  ObjectHeadFields(io, a);
  io.I32(a.size);
}

template <class Io, class Item>
void ItemFields(Io& io, Item& item) {
  io.I32(item.index);
  io.U8(item.type);
  io.U32(item.value);
}

template <class Io, class Name>
void NameFields(Io& io, Name& n) {
  io.U32(n.form_id);
  io.Text(n.name);
}

template <class Io, class Screen>
void ScreenFields(Io& io, Screen& s) {
  io.I32(s.width);
  io.I32(s.height);
}

// HUD surfaces and texts begin alike and are placed alike.
template <class Io, class Element>
void HudHeadFields(Io& io, Element& e) {
  io.I32(e.id);
  io.U8(e.esp_id);
  io.U8(e.is_protected);
}

template <class Io, class Element>
void HudPlacementFields(Io& io, Element& e) {
  io.F32(e.x);
  io.F32(e.y);
  io.U16(e.layer);
  io.F32(e.scale_x);
  io.F32(e.scale_y);
  io.Reserved(4);
  io.U8(e.opacity);
  io.U8(e.alignment);
  io.U8(e.auto_scale);
}

template <class Io, class Surface>
void HudSurfaceFields(Io& io, Surface& s) {
  HudHeadFields(io, s);
  io.U8(s.root_id);
  io.Text(s.filename);
  io.U8(s.show);
  HudPlacementFields(io, s);
}

template <class Io, class Text>
void HudTextFields(Io& io, Text& t) {
  HudHeadFields(io, t);
  io.U8(t.show);
  HudPlacementFields(io, t);
  io.F32(t.width);
  io.F32(t.height);
  io.U8(t.format);
  io.Text(t.font_name);
  io.Text(t.text);
  io.I32(t.font_height);
  io.I32(t.font_width);
  io.U16(t.weight);
  io.U8(t.italic);
  io.U8(t.r);
  io.U8(t.g);
  io.U8(t.b);
}

// The Io that adds up the bytes an entry takes at least (every text empty)
// in a given version: what a count read from a file is checked against.
class FixedSize {
 public:
  explicit FixedSize(int32_t version) : version_(version) {}
  size_t bytes() const { return bytes_; }
  template <class T> void I32(const T&) { bytes_ += 4; }
  template <class T> void U32(const T&) { bytes_ += 4; }
  template <class T> void F32(const T&) { bytes_ += 4; }
  template <class T> void U16(const T&) { bytes_ += 2; }
  template <class T> void U8(const T&) { bytes_ += 1; }
  template <class T> void Text(const T&) { bytes_ += 4; }
  template <class T> void EspId(const T&) { bytes_ += CoSaveWideEspIds(version_) ? 4 : 1; }
  template <class T> void Protected(const T&) { bytes_ += CoSaveHasProtected(version_) ? 1 : 0; }
  void Reserved(size_t n) { bytes_ += n; }

 private:
  int32_t version_;
  size_t bytes_ = 0;
};

// The least bytes one entry of a section takes in a version, by its field
// list: MinEntrySize(version, &StringFields<FixedSize, const CoSaveString>).
template <class Record>
size_t MinEntrySize(int32_t version, void (*fields)(FixedSize&, const Record&)) {
  FixedSize size(version);
  fields(size, Record{});
  return size.bytes();
}

}  // namespace korvel
