#include "save/cosave_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "base/le_bytes.h"
#include "save/crc32.h"

namespace korvel {
namespace {

// The Io that reads fields up to a fixed end in a version's layout, through
// the source's window. A read past the end fails, and every read after a
// failure does nothing: the caller asks ok() once after an entry.
class FieldReader {
 public:
  FieldReader(CoSaveSource& source, size_t pos, size_t end, int32_t version)
      : source_(source), pos_(pos), end_(end), version_(version) {}
  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  // Where the first failed read stood.
  size_t failed_at() const { return failed_at_; }
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
    if (n < 0) Fail();
    const auto size = static_cast<size_t>(n);
    if (!ok_ || size > left()) return Fail();
    // A text that finds no memory drops its entry; the bytes are passed
    // and reading goes on.
    if (size <= Buffered() || size <= source_.Window()) {
      const char* at = Take(size);
      if (!at) return;
      try {
        text.assign(at, size);
      } catch (const std::bad_alloc&) {
        text.clear();
        dropped_ = true;
      }
      return;
    }
    // Longer than the window: straight from the source into the text.
    try {
      text.resize(size);
    } catch (const std::bad_alloc&) {
      text.clear();
      dropped_ = true;
      return Pass(size);
    }
    if (!source_.Copy(pos_, size, text.data())) return Fail();
    Pass(size);
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
  void Reserved(size_t n) {
    if (!ok_ || n > left()) return Fail();
    Pass(n);
  }

  // The next n bytes in a row, for fixed-size entries read many at a time
  // (n at most Window()); null (and failed) when they are not all there.
  const char* Run(size_t n) { return Take(n); }
  size_t Window() const { return source_.Window(); }

  // A count of entries of at least min_entry bytes each that fit in what is
  // left; false (and failed) otherwise.
  bool Count(int32_t* n, size_t min_entry) {
    *n = 0;
    I32(*n);
    if (ok_ && (*n < 0 || static_cast<size_t>(*n) > left() / min_entry)) Fail(4);
    return ok_;
  }

 private:
  size_t Buffered() const { return static_cast<size_t>(limit_ - cursor_); }

  // The next n bytes, or null (and failed) when they are not all there.
  const char* Take(size_t n) {
    if (!ok_ || n > left()) {
      Fail();
      return nullptr;
    }
    if (n > Buffered()) {
      size_t extent = 0;
      const char* at = n <= source_.Window() ? source_.View(pos_, n, &extent) : nullptr;
      if (!at) {
        Fail();
        return nullptr;
      }
      cursor_ = at;
      limit_ = at + extent;
    }
    const char* at = cursor_;
    cursor_ += n;
    pos_ += n;
    return at;
  }

  // Moves past n bytes known to be there; past the window, the window is
  // let go and the next read asks the source again.
  void Pass(size_t n) {
    cursor_ = n <= Buffered() ? cursor_ + n : limit_;
    pos_ += n;
  }

  // Marks the reader failed at the field that began back bytes ago.
  void Fail(size_t back = 0) {
    if (ok_) failed_at_ = pos_ - back;
    ok_ = false;
  }

  CoSaveSource& source_;
  const char* cursor_ = nullptr;  // the window: bytes from pos_ on
  const char* limit_ = nullptr;
  size_t pos_, end_;
  int32_t version_;
  bool ok_ = true;
  bool dropped_ = false;
  size_t failed_at_ = 0;
};

// The Io that reads fixed-size fields from a run of bytes a FieldReader
// has already made sure of.
class RunReader {
 public:
  explicit RunReader(const char* at) : at_(at) {}
  const char* at() const { return at_; }
  void U8(uint8_t& v) { v = static_cast<uint8_t>(*at_++); }
  void U32(uint32_t& v) {
    v = LoadU32(at_);
    at_ += 4;
  }
  void I32(int32_t& v) {
    v = static_cast<int32_t>(LoadU32(at_));
    at_ += 4;
  }

 private:
  const char* at_;
};

std::string Hex(uint32_t v) {
  char text[11];
  static const char kDigits[] = "0123456789ABCDEF";
  text[0] = '0';
  text[1] = 'x';
  for (int i = 0; i < 8; ++i) text[2 + i] = kDigits[(v >> (28 - 4 * i)) & 0xF];
  text[10] = 0;
  return text;
}

CoSaveReadStatus Refuse(CoSaveReadError* error, CoSaveReadStatus status, size_t offset,
                        std::string what) {
  if (error) *error = {offset, std::move(what)};
  return status;
}

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
    if (announce) {
      // Room made ahead is a help, not a need.
      try {
        (sink_.*announce)(count);
      } catch (const std::bad_alloc&) {
      }
    }
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
    const size_t item_size = MinEntrySize(version_, &ItemFields<FixedSize, const CoSaveItem>);
    int32_t count;
    if (!r_.ok() || !r_.Count(&count, item_size)) return false;
    bool keep = false;
    try {
      keep = sink_.BeginArray(a, count);
    } catch (const std::bad_alloc&) {
    }
    // No room for the array: it is dropped, its bytes passed.
    if (!keep) {
      r_.Reserved(item_size * static_cast<size_t>(count));
      return r_.ok();
    }
    // Items are fixed-size: a batch is one run of bytes, as many items as
    // the window holds.
    CoSaveItem batch[256];
    const auto per_batch = static_cast<int32_t>(
        std::clamp<size_t>(r_.Window() / item_size, 1, std::size(batch)));
    for (int32_t done = 0; done < count;) {
      const int32_t n = std::min(count - done, per_batch);
      const char* run = r_.Run(item_size * static_cast<size_t>(n));
      if (!run) return false;
      RunReader items(run);
      for (int32_t i = 0; i < n; ++i) ItemFields(items, batch[i]);
      if (items.at() != run + item_size * static_cast<size_t>(n)) return false;
      sink_.ArrayItems(batch, static_cast<size_t>(n));
      done += n;
    }
    try {
      sink_.EndArray();
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

bool CoSaveSink::BeginArray(const CoSaveArray& header, int32_t count) {
  gathered_ = header;
  gathered_.items.clear();
  gathered_.items.reserve(static_cast<size_t>(count));  // so ArrayItems never throws
  return true;
}

void CoSaveSink::ArrayItems(const CoSaveItem* items, size_t count) {
  gathered_.items.insert(gathered_.items.end(), items, items + count);
}

void CoSaveSink::EndArray() {
  CoSaveArray whole = std::move(gathered_);
  gathered_ = CoSaveArray{};
  Array(std::move(whole));
}

const char* CoSaveMemorySource::View(uint64_t offset, size_t size, size_t* extent) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) return nullptr;
  *extent = bytes_.size() - static_cast<size_t>(offset);
  return bytes_.data() + offset;
}

bool CoSaveMemorySource::Copy(uint64_t offset, size_t size, char* out) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
  bytes_.copy(out, size, static_cast<size_t>(offset));
  return true;
}

namespace {

// The checksum of the source's first size bytes, a window at a time; false
// when they cannot be read.
bool SourceCrc(CoSaveSource& source, uint64_t size, uint32_t* crc) {
  uint32_t state = 0xFFFFFFFFu;
  for (uint64_t at = 0; at < size;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(source.Window(), size - at));
    size_t extent = 0;
    const char* bytes = source.View(at, n, &extent);
    if (!bytes) return false;
    state = Crc32Update(state, bytes, n);
    at += n;
  }
  *crc = ~state;
  return true;
}

}  // namespace

CoSaveReadStatus DecodeCoSave(CoSaveSource& source, uint32_t probed_match, CoSaveSink& sink,
                              CoSaveReadError* error) {
  const auto kCorrupted = CoSaveReadStatus::kCorrupted;
  const uint64_t size = source.Size();
  char header[kCoSaveHeaderSize];
  if (size < kCoSaveHeaderSize || !source.Copy(0, kCoSaveHeaderSize, header))
    return Refuse(error, kCorrupted, static_cast<size_t>(std::min<uint64_t>(size, SIZE_MAX)),
                  "shorter than the header");
  if (std::string_view(header, 10) != kCoSaveMagic)
    return Refuse(error, kCorrupted, 0, "not a co-save (no \"KorvelSave\")");
  const auto version = static_cast<int32_t>(LoadU32(header + 10));
  if (version > kCoSaveVersion)
    return Refuse(error, CoSaveReadStatus::kUnknownVersion, 10,
                  "version " + Hex(static_cast<uint32_t>(version)) + " is newer than this library");
  const size_t checked = kCoSaveLengthSize + kCoSaveChecksumSize;
  if (size < kCoSaveHeaderSize + checked)
    return Refuse(error, kCorrupted, static_cast<size_t>(size),
                  "too short for the length field and checksum");
  char tail[kCoSaveMatchSize + kCoSaveLengthSize + kCoSaveChecksumSize];
  const size_t tail_size = CoSaveHasMatch(version) && size >= kCoSaveHeaderSize + sizeof tail
                               ? sizeof tail
                               : checked;
  const char* trailer = tail + sizeof tail - checked;
  if (!source.Copy(size - tail_size, tail_size, tail + sizeof tail - tail_size))
    return Refuse(error, kCorrupted, 0, "could not be read");
  // The length field holds the bytes before it, so a file of more than
  // 4 GB never passes it and every offset from here on fits a size_t.
  const uint32_t length = LoadU32(trailer);
  if (length != size - checked)
    return Refuse(error, kCorrupted, static_cast<size_t>(std::min<uint64_t>(size - checked, SIZE_MAX)),
                  "length field " + std::to_string(length) + " where the file holds " +
                      std::to_string(size - checked) + " bytes before it");
  const uint32_t stored_crc = LoadU32(trailer + kCoSaveLengthSize);
  uint32_t crc = 0;
  if (!SourceCrc(source, size - kCoSaveChecksumSize, &crc))
    return Refuse(error, kCorrupted, 0, "could not be read");
  if (stored_crc != crc)
    return Refuse(error, kCorrupted, static_cast<size_t>(size - kCoSaveChecksumSize),
                  "checksum " + Hex(stored_crc) + " where the bytes give " + Hex(crc));
  size_t data_end = static_cast<size_t>(size - checked);
  if (CoSaveHasMatch(version)) {
    if (tail_size != sizeof tail)
      return Refuse(error, kCorrupted, static_cast<size_t>(size), "too short for the save match value");
    const uint32_t stored = LoadU32(tail);
    data_end -= kCoSaveMatchSize;
    if (CoSaveChecksMatch(version) && stored != probed_match && stored != kUnknownSaveMatch &&
        probed_match != kUnknownSaveMatch)
      return Refuse(error, CoSaveReadStatus::kMismatch, data_end,
                    "belongs to another game save (match value " + Hex(stored) + ")");
  }
  FieldReader reader(source, kCoSaveHeaderSize, data_end, version);
  SectionDecoder sections(reader, version, sink);
  while (!reader.at_end()) {
    const size_t start = reader.pos();
    uint8_t type = 0;
    reader.U8(type);
    if (!reader.ok())
      return Refuse(error, kCorrupted, start, "could not be read");
    if (type > kSectionHudTexts)
      return Refuse(error, kCorrupted, start, "unknown section type " + std::to_string(type));
    if (!sections.Section(type))
      return Refuse(error, kCorrupted, reader.failed_at(),
                    "section of type " + std::to_string(type) + " at offset " +
                        std::to_string(start) + " runs past the data or holds a bad count");
  }
  return CoSaveReadStatus::kOk;
}

CoSaveReadStatus DecodeCoSave(std::string_view file, uint32_t probed_match, CoSaveSink& sink,
                              CoSaveReadError* error) {
  CoSaveMemorySource source(file);
  return DecodeCoSave(source, probed_match, sink, error);
}

}  // namespace korvel
