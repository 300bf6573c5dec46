#include "objects/string_store.h"

#include <array>
#include <cstdio>

#include "base/env.h"
#include "objects/record_pool.h"

namespace korvel {

namespace {

// Records by the thousand: a load of 100,000 strings asks the heap for
// their texts and a hundred chunks, not for 100,000 records besides. Never
// destroyed, so the string list, a static too, may release records into
// it at any point of the process's end.
constexpr size_t kStringRecordSize =
    (sizeof(StringR) + alignof(StringR) - 1) / alignof(StringR) * alignof(StringR);
using StringRecordPool = RecordPool<kStringRecordSize, 1024>;

StringRecordPool& StringRecords() {
  static StringRecordPool* pool = new StringRecordPool;
  return *pool;
}

}  // namespace

void* StringR::operator new(size_t size) {
  return size == sizeof(StringR) ? StringRecords().Allocate() : ::operator new(size);
}

void StringR::operator delete(void* p, size_t size) noexcept {
  if (!p) return;
  if (size == sizeof(StringR)) return StringRecords().Release(p);
  ::operator delete(p);
}

TStringIDList& GetStrings() {
  static TStringIDList strings(NoFormIdCaller::kModIndex255);
  return strings;
}

namespace {

std::array<std::string, 100>& Temporaries() {
  static std::array<std::string, 100> temporaries;
  return temporaries;
}

std::string Two(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

bool HasAmPm(const std::string& f) {
  for (size_t i = 0; i + 4 < f.size() + 0; ++i)
    if ((f.compare(i, 5, "am/pm") == 0) || (f.compare(i, 5, "AM/PM") == 0)) return true;
  return false;
}

}  // namespace

bool IsTemporary(int32_t id) { return id >= kFirstTemporary && id <= kLastTemporary; }

std::string& Temporary(int32_t id) { return Temporaries()[static_cast<size_t>(id - kFirstTemporary)]; }

// Supports the tokens the built-ins use: dd, mm, yyyy, hh, nn, ss, zzz,
// am/pm, AM/PM, "/" and ":".
std::string FormatDateTime(const std::string& f) {
  LocalTime t = GetEnv().Now();
  bool twelve = HasAmPm(f);
  std::string out;
  for (size_t i = 0; i < f.size();) {
    auto at = [&](const char* token) { return f.compare(i, std::char_traits<char>::length(token), token) == 0; };
    if (at("yyyy")) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "%04d", t.year);
      out += buffer;
      i += 4;
    } else if (at("zzz")) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "%03d", t.millisecond);
      out += buffer;
      i += 3;
    } else if (at("dd")) {
      out += Two(t.day);
      i += 2;
    } else if (at("mm")) {
      out += Two(t.month);
      i += 2;
    } else if (at("hh")) {
      int hour = t.hour;
      if (twelve) hour = hour % 12 == 0 ? 12 : hour % 12;
      out += Two(hour);
      i += 2;
    } else if (at("nn")) {
      out += Two(t.minute);
      i += 2;
    } else if (at("ss")) {
      out += Two(t.second);
      i += 2;
    } else if (at("am/pm")) {
      out += t.hour < 12 ? "am" : "pm";
      i += 5;
    } else if (at("AM/PM")) {
      out += t.hour < 12 ? "AM" : "PM";
      i += 5;
    } else if (f[i] == '/') {
      out += GetEnv().DateSeparator();
      ++i;
    } else if (f[i] == ':') {
      out += GetEnv().TimeSeparator();
      ++i;
    } else {
      out += f[i++];
    }
  }
  return out;
}

TStringToken BuiltInLookup(int32_t id) {
  if (id >= 0) return {};
  if (id == -1) return {true, ""};
  if (id >= -255) return {true, std::string(1, static_cast<char>(-id))};
  if (id == -256) return {true, std::string(1, '\0')};
  if (id == -257) return {true, std::string(1, '\1')};
  if (id == -1310) return {true, "\r\n"};
  if (IsTemporary(id)) return {true, Temporary(id)};
  switch (id) {
    case -9000: return {true, FormatDateTime("dd/mm/yyyy")};
    case -9001: return {true, FormatDateTime("hh:nn:ss")};
    case -9010: return {true, FormatDateTime("zzz")};
    case -9011: return {true, FormatDateTime("ss")};
    case -9012: return {true, FormatDateTime("nn")};
    case -9013: return {true, FormatDateTime("hh")};
    case -9014: return {true, FormatDateTime("dd")};
    case -9015: return {true, FormatDateTime("mm")};
    case -9016: return {true, FormatDateTime("yyyy")};
    case -9017: return {true, FormatDateTime("hh am/pm").substr(0, 2)};
    case -9018: return {true, FormatDateTime("AM/PM")};
    case -10000: return {true, "abcdefghijklmnopqrstuvwxyz"};
    case -10001: return {true, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"};
    case -10002: return {true, "0123456789"};
    case -10003: return {true, "().!?,; ':\""};
    case -100000: return {true, "Clutter\\Books\\folio03.nif"};
    case -100001: return {true, "Clutter\\iconbook2.dds"};
    case -100002: return {true, " [Done]"};
    case -100003: return {true, "Select a map marker:"};
    case -100004: return {true, "Cancel"};
    case -100005: return {true, " [x]"};
    case -100006: return {true, "Map Markers Be Done.ini"};
    case -100007: return {true, "Tags"};
    case -100018: return {true, "Choose a tag:"};
    case -100019: return {true, "Settings"};
    case -100020: return {true, "DetectRange"};
    case -100021: return {true, "RevealHidden"};
    case -2000000000: return {true, "(\\__/)\r\n(='.'=)\r\n(\")_(\")"};
    default: break;
  }
  if (id <= -100008 && id >= -100017) return {true, "Choice" + std::to_string(-100008 - id)};
  return {};
}

std::optional<std::string> ResolveSource(int32_t id) {
  TStringToken token = BuiltInLookup(id);
  if (token.Found) return std::move(token.Text);
  if (const StringR* s = GetStrings().Get(id)) return s->Text;
  return std::nullopt;
}

std::string* ResolveTarget(uint32_t script_form_id, int32_t id, int32_t global) {
  if (IsTemporary(id)) return &Temporary(id);
  TStringIDList& strings = GetStrings();
  if (strings.IsInvalid(id) || !strings.MayAccess(script_form_id, id, global)) return nullptr;
  return &strings.Get(id)->Text;
}

int32_t CreateString(int32_t esp_id, std::string text, bool is_protected, bool refuse_zero) {
  auto entry = std::make_unique<StringR>();
  entry->Text = std::move(text);
  return GetStrings().Create(esp_id, std::move(entry), is_protected, refuse_zero);
}

void ClearAllStrings() {
  GetStrings().ClearAll();
  for (std::string& t : Temporaries()) t.clear();
}

}  // namespace korvel
