#include "save/cosave_format.h"

#include <cstring>

#include "save/crc32.h"

namespace korvel {

CoSaveWriter::CoSaveWriter(int32_t version) : version_(version) {
  out_.assign(kCoSaveMagic, 10);
  I32(version_);
}

void CoSaveWriter::U16(uint16_t v) {
  const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
  out_.append(b, 2);
}

void CoSaveWriter::U32(uint32_t v) {
  const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
  out_.append(b, 4);
}

void CoSaveWriter::F32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  U32(bits);
}

void CoSaveWriter::Text(std::string_view text) {
  I32(static_cast<int32_t>(text.size()));
  out_.append(text);
}

void CoSaveWriter::EspId(int32_t esp_id) {
  if (CoSaveWideEspIds(version_))
    I32(esp_id);
  else
    U8(static_cast<uint8_t>(esp_id));
}

void CoSaveWriter::Protected(uint8_t is_protected) {
  if (CoSaveHasProtected(version_)) U8(is_protected);
}

void CoSaveWriter::Mods(const std::vector<CoSaveMod>& mods) {
  U8(kSectionMods);
  I32(static_cast<int32_t>(mods.size()));
  for (const CoSaveMod& m : mods) {
    EspId(m.esp_id);
    U8(m.mod_index);
    Text(m.name);
  }
}

void CoSaveWriter::BeginStrings() {
  U8(kSectionStrings);
  count_at_ = out_.size();
  count_ = 0;
  I32(0);
}

void CoSaveWriter::String(int32_t id, int32_t owner, uint8_t is_protected, std::string_view text) {
  I32(id);
  EspId(owner);
  Protected(is_protected);
  Text(text);
  ++count_;
}

void CoSaveWriter::EndStrings() {
  uint32_t count = static_cast<uint32_t>(count_);
  for (int i = 0; i < 4; ++i) out_[count_at_ + i] = static_cast<char>(count >> (8 * i));
}

void CoSaveWriter::Array(int32_t id, int32_t owner, uint8_t is_protected, int32_t size,
                         const std::vector<CoSaveItem>& items) {
  U8(kSectionArray);
  I32(id);
  EspId(owner);
  Protected(is_protected);
  I32(size);
  I32(static_cast<int32_t>(items.size()));
  // Nine bytes an item, written in place.
  size_t at = out_.size();
  out_.resize(at + 9 * items.size());
  char* p = out_.data() + at;
  for (const CoSaveItem& item : items) {
    uint32_t index = static_cast<uint32_t>(item.index);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(index >> (8 * i));
    p[4] = static_cast<char>(item.type);
    for (int i = 0; i < 4; ++i) p[5 + i] = static_cast<char>(item.value >> (8 * i));
    p += 9;
  }
}

void CoSaveWriter::Names(const std::vector<CoSaveName>& names) {
  U8(kSectionNames);
  I32(static_cast<int32_t>(names.size()));
  for (const CoSaveName& n : names) {
    U32(n.form_id);
    Text(n.name);
  }
}

void CoSaveWriter::Screen(int32_t width, int32_t height) {
  U8(kSectionScreen);
  I32(width);
  I32(height);
}

void CoSaveWriter::HudSurfaces(const std::vector<CoSaveHudSurface>& surfaces) {
  U8(kSectionHudSurfaces);
  I32(static_cast<int32_t>(surfaces.size()));
  for (const CoSaveHudSurface& s : surfaces) {
    I32(s.id);
    U8(s.esp_id);
    U8(s.is_protected);
    U8(s.root_id);
    Text(s.filename);
    U8(s.show);
    F32(s.x);
    F32(s.y);
    U16(s.layer);
    F32(s.scale_x);
    F32(s.scale_y);
    U32(0);
    U8(s.opacity);
    U8(s.alignment);
    U8(s.auto_scale);
  }
}

void CoSaveWriter::HudTexts(const std::vector<CoSaveHudText>& texts) {
  U8(kSectionHudTexts);
  I32(static_cast<int32_t>(texts.size()));
  for (const CoSaveHudText& t : texts) {
    I32(t.id);
    U8(t.esp_id);
    U8(t.is_protected);
    U8(t.show);
    F32(t.x);
    F32(t.y);
    U16(t.layer);
    F32(t.scale_x);
    F32(t.scale_y);
    U32(0);
    U8(t.opacity);
    U8(t.alignment);
    U8(t.auto_scale);
    F32(t.width);
    F32(t.height);
    U8(t.format);
    Text(t.font_name);
    Text(t.text);
    I32(t.font_height);
    I32(t.font_width);
    U16(t.weight);
    U8(t.italic);
    U8(t.r);
    U8(t.g);
    U8(t.b);
  }
}

std::string CoSaveWriter::Finish(uint32_t save_match) {
  if (CoSaveHasMatch(version_)) U32(save_match);
  I32(static_cast<int32_t>(out_.size()));
  U32(Crc32(out_.data(), out_.size()));
  return std::move(out_);
}

namespace {

// Reads little-endian fields up to a fixed end; every read past it fails.
class Reader {
 public:
  Reader(std::string_view data, size_t pos, size_t end) : data_(data), pos_(pos), end_(end) {}
  size_t left() const { return end_ - pos_; }
  bool at_end() const { return pos_ >= end_; }
  bool Bytes(void* out, size_t n) {
    if (n > left()) return false;
    std::memcpy(out, data_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  bool Skip(size_t n) {
    if (n > left()) return false;
    pos_ += n;
    return true;
  }
  bool U8(uint8_t* v) { return Bytes(v, 1); }
  bool U16(uint16_t* v) {
    uint8_t b[2];
    if (!Bytes(b, 2)) return false;
    *v = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
  }
  bool U32(uint32_t* v) {
    uint8_t b[4];
    if (!Bytes(b, 4)) return false;
    *v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
  }
  bool I32(int32_t* v) {
    uint32_t u;
    if (!U32(&u)) return false;
    *v = static_cast<int32_t>(u);
    return true;
  }
  bool F32(float* v) {
    uint32_t u;
    if (!U32(&u)) return false;
    std::memcpy(v, &u, 4);
    return true;
  }
  bool Text(std::string* text) {
    int32_t n;
    if (!I32(&n) || n < 0 || static_cast<size_t>(n) > left()) return false;
    text->assign(data_.data() + pos_, static_cast<size_t>(n));
    pos_ += static_cast<size_t>(n);
    return true;
  }
  // A count of entries of at least min_entry bytes each that fit in what
  // is left.
  bool Count(int32_t* n, size_t min_entry) {
    return I32(n) && *n >= 0 && static_cast<size_t>(*n) <= left() / min_entry;
  }

 private:
  std::string_view data_;
  size_t pos_, end_;
};

uint32_t LoadU32(std::string_view file, size_t at) {
  const auto* b = reinterpret_cast<const unsigned char*>(file.data() + at);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

class SectionReader {
 public:
  SectionReader(Reader& r, int32_t version, CoSaveSink& sink)
      : r_(r),
        wide_esp_(CoSaveWideEspIds(version)),
        has_protected_(CoSaveHasProtected(version)),
        sink_(sink) {}

  bool Owner(int32_t* owner) {
    if (wide_esp_) return r_.I32(owner);
    uint8_t b;
    if (!r_.U8(&b)) return false;
    *owner = b;
    return true;
  }
  bool Protected(uint8_t* p) {
    *p = 0;
    return !has_protected_ || r_.U8(p);
  }
  size_t OwnerSize() const { return wide_esp_ ? 4 : 1; }
  size_t ProtectedSize() const { return has_protected_ ? 1 : 0; }

  bool Mods() {
    int32_t count;
    if (!r_.Count(&count, OwnerSize() + 1 + 4)) return false;
    std::vector<CoSaveMod> mods(static_cast<size_t>(count));
    for (CoSaveMod& m : mods)
      if (!Owner(&m.esp_id) || !r_.U8(&m.mod_index) || !r_.Text(&m.name)) return false;
    sink_.Mods(mods);
    return true;
  }
  bool Strings() {
    int32_t count;
    if (!r_.Count(&count, 4 + OwnerSize() + ProtectedSize() + 4)) return false;
    sink_.StringCount(count);
    for (int32_t i = 0; i < count; ++i) {
      CoSaveString s;
      if (!r_.I32(&s.id) || !Owner(&s.owner) || !Protected(&s.is_protected) || !r_.Text(&s.text))
        return false;
      sink_.String(std::move(s));
    }
    return true;
  }
  bool Array() {
    CoSaveArray a;
    int32_t count;
    if (!r_.I32(&a.id) || !Owner(&a.owner) || !Protected(&a.is_protected) || !r_.I32(&a.size) ||
        !r_.Count(&count, 9))
      return false;
    a.items.resize(static_cast<size_t>(count));
    for (CoSaveItem& item : a.items)
      if (!r_.I32(&item.index) || !r_.U8(&item.type) || !r_.U32(&item.value)) return false;
    sink_.Array(std::move(a));
    return true;
  }
  bool Names() {
    int32_t count;
    if (!r_.Count(&count, 8)) return false;
    std::vector<CoSaveName> names(static_cast<size_t>(count));
    for (CoSaveName& n : names)
      if (!r_.U32(&n.form_id) || !r_.Text(&n.name)) return false;
    sink_.Names(std::move(names));
    return true;
  }
  bool Screen() {
    int32_t w, h;
    if (!r_.I32(&w) || !r_.I32(&h)) return false;
    sink_.Screen(w, h);
    return true;
  }
  bool HudSurfaces() {
    int32_t count;
    if (!r_.Count(&count, 4 + 3 + 4 + 1 + 8 + 2 + 8 + 4 + 3)) return false;
    for (int32_t i = 0; i < count; ++i) {
      CoSaveHudSurface s{};
      if (!r_.I32(&s.id) || !r_.U8(&s.esp_id) || !r_.U8(&s.is_protected) || !r_.U8(&s.root_id) ||
          !r_.Text(&s.filename) || !r_.U8(&s.show) || !r_.F32(&s.x) || !r_.F32(&s.y) ||
          !r_.U16(&s.layer) || !r_.F32(&s.scale_x) || !r_.F32(&s.scale_y) || !r_.Skip(4) ||
          !r_.U8(&s.opacity) || !r_.U8(&s.alignment) || !r_.U8(&s.auto_scale))
        return false;
      sink_.HudSurface(std::move(s));
    }
    return true;
  }
  bool HudTexts() {
    int32_t count;
    if (!r_.Count(&count, 4 + 3 + 8 + 2 + 8 + 4 + 3 + 8 + 1 + 4 + 4 + 8 + 2 + 4)) return false;
    for (int32_t i = 0; i < count; ++i) {
      CoSaveHudText t{};
      if (!r_.I32(&t.id) || !r_.U8(&t.esp_id) || !r_.U8(&t.is_protected) || !r_.U8(&t.show) ||
          !r_.F32(&t.x) || !r_.F32(&t.y) || !r_.U16(&t.layer) || !r_.F32(&t.scale_x) ||
          !r_.F32(&t.scale_y) || !r_.Skip(4) || !r_.U8(&t.opacity) || !r_.U8(&t.alignment) ||
          !r_.U8(&t.auto_scale) || !r_.F32(&t.width) || !r_.F32(&t.height) || !r_.U8(&t.format) ||
          !r_.Text(&t.font_name) || !r_.Text(&t.text) || !r_.I32(&t.font_height) ||
          !r_.I32(&t.font_width) || !r_.U16(&t.weight) || !r_.U8(&t.italic) || !r_.U8(&t.r) ||
          !r_.U8(&t.g) || !r_.U8(&t.b))
        return false;
      sink_.HudText(std::move(t));
    }
    return true;
  }

  bool Section(uint8_t type) {
    switch (type) {
      case kSectionMods: return Mods();
      case kSectionStrings: return Strings();
      case kSectionArray: return Array();
      case kSectionNames: return Names();
      case kSectionScreen: return Screen();
      case kSectionHudSurfaces: return HudSurfaces();
      case kSectionHudTexts: return HudTexts();
      default: return false;
    }
  }

 private:
  Reader& r_;
  bool wide_esp_, has_protected_;
  CoSaveSink& sink_;
};

}  // namespace

CoSaveReadStatus ReadCoSave(std::string_view file, uint32_t probed_match, CoSaveSink& sink) {
  if (file.size() < kCoSaveHeaderSize || file.compare(0, 10, kCoSaveMagic) != 0)
    return CoSaveReadStatus::kCorrupted;
  int32_t version = static_cast<int32_t>(LoadU32(file, 10));
  if (version > kCoSaveVersion) return CoSaveReadStatus::kUnknownVersion;
  size_t size = file.size();
  if (size < kCoSaveHeaderSize + 8) return CoSaveReadStatus::kCorrupted;
  if (LoadU32(file, size - 8) != size - 8) return CoSaveReadStatus::kCorrupted;
  if (LoadU32(file, size - 4) != Crc32(file.data(), size - 4)) return CoSaveReadStatus::kCorrupted;
  size_t data_end = size - 8;
  if (CoSaveHasMatch(version)) {
    if (size < kCoSaveHeaderSize + 12) return CoSaveReadStatus::kCorrupted;
    data_end = size - 12;
    uint32_t stored = LoadU32(file, data_end);
    if (CoSaveChecksMatch(version) && stored != probed_match && stored != kUnknownSaveMatch &&
        probed_match != kUnknownSaveMatch)
      return CoSaveReadStatus::kMismatch;
  }
  Reader reader(file, kCoSaveHeaderSize, data_end);
  SectionReader sections(reader, version, sink);
  while (!reader.at_end()) {
    uint8_t type;
    if (!reader.U8(&type) || !sections.Section(type)) return CoSaveReadStatus::kCorrupted;
  }
  return CoSaveReadStatus::kOk;
}

std::string CoSaveCorruptedMessage(std::string_view cosave_name) {
  return std::string(cosave_name) +
         " could not be read (file is probably corrupted). Please try a different save.";
}

std::string CoSaveUnknownVersionMessage(std::string_view cosave_name) {
  return std::string(cosave_name) + " has an unknown Korvel savefile version! Please update Korvel.";
}

std::string CoSaveMismatchMessage(std::string_view cosave_name, std::string_view save_name) {
  const std::string nl = "\r\n";
  std::string m(cosave_name);
  m += nl + nl + "Korvel co-save doesn't seem to match" + nl + nl;
  m += save_name;
  m += nl + nl + nl +
       "The Korvel data is being ignored/zeroed, and will basically be overwritten when you save "
       "again." +
       nl + nl +
       "Most likely, it means you were playing without Korvel. Other explanations - it could be "
       "mismatched files from moving saves around, or a Save Manager did something I wasn't "
       "expecting." +
       nl + nl + "You won't see this message again until you restart Veldmark." + nl + nl + nl +
       "Oh, also, you're probably seeing a light-blue/sky screen shot right now. You can ignore it "
       "- just press OK and the game will load properly.";
  return m;
}

std::string CoSaveWriteFailedMessage(std::string_view save_name) {
  return std::string(save_name) + " could not be saved !";
}

CoSaveNotice CoSaveReadNotice(CoSaveReadStatus status, std::string_view cosave_name,
                              std::string_view save_name) {
  switch (status) {
    case CoSaveReadStatus::kOk: return {};
    case CoSaveReadStatus::kCorrupted: return {CoSaveCorruptedMessage(cosave_name), ""};
    case CoSaveReadStatus::kUnknownVersion: return {CoSaveUnknownVersionMessage(cosave_name), ""};
    case CoSaveReadStatus::kMismatch: return {CoSaveMismatchMessage(cosave_name, save_name), "OK"};
  }
  return {};
}

uint32_t ProbeSaveMatch(std::string_view header) {
  size_t pos = 42;
  if (pos >= header.size()) return kUnknownSaveMatch;
  pos += 1 + static_cast<uint8_t>(header[pos]) + 2;
  if (pos >= header.size()) return kUnknownSaveMatch;
  pos += 1 + static_cast<uint8_t>(header[pos]) + 4;
  if (pos > header.size() || header.size() - pos < 4) return kUnknownSaveMatch;
  return LoadU32(header, pos);
}

}  // namespace korvel
