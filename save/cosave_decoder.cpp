#include "save/cosave_decoder.h"

#include <cstring>
#include <new>
#include <string>

#include "base/le_bytes.h"
#include "save/crc32.h"

namespace korvel {
namespace {

// The Io that reads fields up to a fixed end in a version's layout. A read
// past the end fails, and every read after a failure does nothing: the
// caller asks ok() once after an entry.
class FieldReader {
 public:
  FieldReader(std::string_view data, size_t pos, size_t end, int32_t version)
      : data_(data), pos_(pos), end_(end), version_(version) {}
  bool ok() const { return ok_; }
  size_t left() const { return end_ - pos_; }
  bool at_end() const { return pos_ >= end_; }

  void U8(uint8_t& v) {
    if (const char* at = Take(1)) v = static_cast<uint8_t>(*at);
  }
  void U16(uint16_t& v) {
    if (const char* at = Take(2)) v = LoadU16(at);
  }
  void U32(uint32_t& v) {
    if (const char* at = Take(4)) v = LoadU32(at);
  }
  void I32(int32_t& v) {
    if (const char* at = Take(4)) v = static_cast<int32_t>(LoadU32(at));
  }
  void F32(float& v) {
    if (const char* at = Take(4)) v = LoadF32(at);
  }
  void Text(std::string& text) {
    int32_t n = 0;
    I32(n);
    if (n < 0) ok_ = false;
    if (const char* at = Take(static_cast<size_t>(n))) {
      // A text that finds no memory drops its entry; the bytes are passed
      // and reading goes on.
      try {
        text.assign(at, static_cast<size_t>(n));
      } catch (const std::bad_alloc&) {
        text.clear();
        dropped_ = true;
      }
    }
  }
  // True once after an entry whose text could not be kept.
  bool TakeDropped() {
    bool was = dropped_;
    dropped_ = false;
    return was;
  }
  void EspId(int32_t& esp_id) {
    if (CoSaveWideEspIds(version_)) return I32(esp_id);
    uint8_t b = 0;
    U8(b);
    esp_id = b;
  }
  void Protected(uint8_t& is_protected) {
    is_protected = 0;
    if (CoSaveHasProtected(version_)) U8(is_protected);
  }
  void Reserved(size_t n) { Take(n); }

  // A count of entries of at least min_entry bytes each that fit in what is
  // left; false (and failed) otherwise.
  bool Count(int32_t* n, size_t min_entry) {
    *n = 0;
    I32(*n);
    if (*n < 0 || static_cast<size_t>(*n) > left() / min_entry) ok_ = false;
    return ok_;
  }

 private:
  // The next n bytes, or null (and failed) when they are not all there.
  const char* Take(size_t n) {
    if (!ok_ || n > left()) {
      ok_ = false;
      return nullptr;
    }
    const char* at = data_.data() + pos_;
    pos_ += n;
    return at;
  }

  std::string_view data_;
  size_t pos_, end_;
  int32_t version_;
  bool ok_ = true;
  bool dropped_ = false;
};

class SectionDecoder {
 public:
  SectionDecoder(FieldReader& r, int32_t version, CoSaveSink& sink)
      : r_(r), version_(version), sink_(sink) {}

  bool Section(uint8_t type) {
    switch (type) {
      case kSectionMods: return Mods();
      case kSectionStrings: return Strings();
      case kSectionArray: return Array();
      case kSectionNames: return Names();
      case kSectionScreen: return Screen();
      case kSectionHudSurfaces:
        return Each<CoSaveHudSurface>(&HudSurfaceFields<FieldReader, CoSaveHudSurface>,
                                      &HudSurfaceFields<FixedSize, const CoSaveHudSurface>,
                                      &CoSaveSink::HudSurface);
      case kSectionHudTexts:
        return Each<CoSaveHudText>(&HudTextFields<FieldReader, CoSaveHudText>,
                                   &HudTextFields<FixedSize, const CoSaveHudText>,
                                   &CoSaveSink::HudText);
      default: return false;
    }
  }

 private:
  // A counted section whose entries go to the sink one by one.
  // announce, when given, learns the count first.
  template <class Entry>
  bool Each(void (*fields)(FieldReader&, Entry&), void (*size)(FixedSize&, const Entry&),
            void (CoSaveSink::*deliver)(Entry&&),
            void (CoSaveSink::*announce)(int32_t) = nullptr) {
    int32_t count;
    if (!r_.Count(&count, MinEntrySize(version_, size))) return false;
    if (announce) (sink_.*announce)(count);
    for (int32_t i = 0; i < count; ++i) {
      Entry entry{};
      fields(r_, entry);
      if (!r_.ok()) return false;
      if (r_.TakeDropped()) continue;
      // An entry the sink cannot make room for is dropped; the rest follow.
      try {
        (sink_.*deliver)(std::move(entry));
      } catch (const std::bad_alloc&) {
      }
    }
    return true;
  }

  // A counted section handed over whole. Entries without memory for their
  // texts are left out; *whole is false when there was no memory for the
  // list itself (the section's bytes are passed all the same).
  template <class Entry>
  bool All(std::vector<Entry>* entries, bool* whole, void (*fields)(FieldReader&, Entry&),
           void (*size)(FixedSize&, const Entry&)) {
    int32_t count;
    if (!r_.Count(&count, MinEntrySize(version_, size))) return false;
    *whole = true;
    try {
      entries->reserve(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
      *whole = false;
    }
    for (int32_t i = 0; i < count && r_.ok(); ++i) {
      Entry entry{};
      fields(r_, entry);
      if (!r_.TakeDropped() && *whole) entries->push_back(std::move(entry));
    }
    return r_.ok();
  }

  bool Mods() {
    std::vector<CoSaveMod> mods;
    bool whole;
    if (!All(&mods, &whole, &ModFields<FieldReader, CoSaveMod>,
             &ModFields<FixedSize, const CoSaveMod>))
      return false;
    if (whole) sink_.Mods(mods);
    return true;
  }
  bool Strings() {
    return Each<CoSaveString>(&StringFields<FieldReader, CoSaveString>,
                              &StringFields<FixedSize, const CoSaveString>, &CoSaveSink::String,
                              &CoSaveSink::StringCount);
  }
  bool Array() {
    CoSaveArray a;
    ArrayHeaderFields(r_, a);
    int32_t count;
    if (!r_.ok() ||
        !r_.Count(&count, MinEntrySize(version_, &ItemFields<FixedSize, const CoSaveItem>)))
      return false;
    const size_t item_size = MinEntrySize(version_, &ItemFields<FixedSize, const CoSaveItem>);
    try {
      a.items.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
      // No room for the items: the array is dropped, its bytes passed.
      r_.Reserved(item_size * static_cast<size_t>(count));
      return r_.ok();
    }
    for (CoSaveItem& item : a.items) ItemFields(r_, item);
    if (!r_.ok()) return false;
    try {
      sink_.Array(std::move(a));
    } catch (const std::bad_alloc&) {
    }
    return true;
  }
  bool Names() {
    std::vector<CoSaveName> names;
    bool whole;
    if (!All(&names, &whole, &NameFields<FieldReader, CoSaveName>,
             &NameFields<FixedSize, const CoSaveName>))
      return false;
    if (whole) sink_.Names(std::move(names));
    return true;
  }
  bool Screen() {
    CoSaveScreen screen;
    ScreenFields(r_, screen);
    if (!r_.ok()) return false;
    sink_.Screen(screen.width, screen.height);
    return true;
  }

  FieldReader& r_;
  int32_t version_;
  CoSaveSink& sink_;
};

}  // namespace

bool CoSaveStoredVersion(std::string_view file, int32_t* version) {
  if (file.size() < kCoSaveHeaderSize) return false;
  *version = static_cast<int32_t>(LoadU32(file.data() + 10));
  return true;
}

bool CoSaveStoredMatch(std::string_view file, int32_t version, uint32_t* match) {
  const size_t trailer = kCoSaveMatchSize + kCoSaveLengthSize + kCoSaveChecksumSize;
  if (!CoSaveHasMatch(version) || file.size() < kCoSaveHeaderSize + trailer) return false;
  *match = LoadU32(file.data() + file.size() - trailer);
  return true;
}

CoSaveReadStatus DecodeCoSave(std::string_view file, uint32_t probed_match, CoSaveSink& sink) {
  int32_t version;
  if (!CoSaveStoredVersion(file, &version) || file.compare(0, 10, kCoSaveMagic) != 0)
    return CoSaveReadStatus::kCorrupted;
  if (version > kCoSaveVersion) return CoSaveReadStatus::kUnknownVersion;
  const size_t size = file.size();
  const size_t checked = kCoSaveLengthSize + kCoSaveChecksumSize;
  if (size < kCoSaveHeaderSize + checked) return CoSaveReadStatus::kCorrupted;
  if (LoadU32(file.data() + size - checked) != size - checked) return CoSaveReadStatus::kCorrupted;
  if (LoadU32(file.data() + size - kCoSaveChecksumSize) !=
      Crc32(file.data(), size - kCoSaveChecksumSize))
    return CoSaveReadStatus::kCorrupted;
  size_t data_end = size - checked;
  if (CoSaveHasMatch(version)) {
    uint32_t stored;
    if (!CoSaveStoredMatch(file, version, &stored)) return CoSaveReadStatus::kCorrupted;
    data_end -= kCoSaveMatchSize;
    if (CoSaveChecksMatch(version) && stored != probed_match && stored != kUnknownSaveMatch &&
        probed_match != kUnknownSaveMatch)
      return CoSaveReadStatus::kMismatch;
  }
  FieldReader reader(file, kCoSaveHeaderSize, data_end, version);
  SectionDecoder sections(reader, version, sink);
  while (!reader.at_end()) {
    uint8_t type = 0;
    reader.U8(type);
    if (!reader.ok() || !sections.Section(type)) return CoSaveReadStatus::kCorrupted;
  }
  return CoSaveReadStatus::kOk;
}

}  // namespace korvel
