#include "tools/cosave/cosave_report.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "save/cosave_encoder.h"
#include "save/cosave_format.h"

namespace korvel::cosave_tool {
namespace {

// The bytes one entry takes in the file's version: its fields appended as
// the writer appends them.
template <class Entry>
size_t EntryBytes(int32_t version, const Entry& entry, void (*fields)(FieldAppender&, const Entry&)) {
  std::string bytes;
  StringByteSink sink(bytes);
  CoSaveBuffer out(sink);
  FieldAppender append(out, version);
  fields(append, entry);
  return static_cast<size_t>(out.total());
}

constexpr size_t kSectionHead = 1 + 4;  // type byte and count

std::string ModLabel(const CoSaveImage& image, int32_t esp_id) {
  for (const CoSaveMod& m : image.mods)
    if (m.esp_id == esp_id) return m.name + " (EspID " + std::to_string(esp_id) + ")";
  return "EspID " + std::to_string(esp_id);
}

// The EspID of the mod that defines a form: its load-order index is the
// form id's top byte; -1 when no listed mod has it.
int32_t DefiningMod(const CoSaveImage& image, uint32_t form_id) {
  for (const CoSaveMod& m : image.mods)
    if (m.mod_index == form_id >> 24) return m.esp_id;
  return -1;
}

bool SameNameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

size_t Usage::total() const {
  size_t sum = structure_bytes;
  for (const ModUsage& m : mods) sum += m.bytes();
  return sum;
}

Usage MeasureUsage(const CoSaveImage& image) {
  const int32_t v = image.version;
  std::map<int32_t, ModUsage> by_mod;
  auto mod = [&](int32_t esp_id) -> ModUsage& {
    ModUsage& m = by_mod[esp_id];
    m.esp_id = esp_id;
    for (const CoSaveMod& listed : image.mods)
      if (listed.esp_id == esp_id) m.name = listed.name;
    return m;
  };
  Usage usage;
  usage.structure_bytes = kCoSaveHeaderSize + kCoSaveLengthSize + kCoSaveChecksumSize +
                          (CoSaveHasMatch(v) ? kCoSaveMatchSize : 0);
  if (!image.mods.empty()) {
    usage.structure_bytes += kSectionHead;
    for (const CoSaveMod& m : image.mods) usage.structure_bytes += EntryBytes(v, m, &ModFields<FieldAppender, const CoSaveMod>);
  }
  if (!image.strings.empty()) usage.structure_bytes += kSectionHead;
  auto note = [&](const char* kind, int32_t id, int32_t owner, size_t bytes) {
    usage.largest.push_back({kind, id, owner, bytes});
    return bytes;
  };
  for (const CoSaveString& s : image.strings) {
    ModUsage& m = mod(s.owner);
    ++m.strings;
    m.string_bytes += note("string", s.id, s.owner, EntryBytes(v, s, &StringFields<FieldAppender, const CoSaveString>));
  }
  for (const CoSaveArray& a : image.arrays) {
    ModUsage& m = mod(a.owner);
    ++m.arrays;
    m.items += a.items.size();
    size_t bytes = kSectionHead + EntryBytes(v, a, &ArrayHeaderFields<FieldAppender, const CoSaveArray>);
    if (!a.items.empty())
      bytes += a.items.size() * EntryBytes(v, a.items[0], &ItemFields<FieldAppender, const CoSaveItem>);
    m.array_bytes += note("array", a.id, a.owner, bytes);
  }
  if (!image.names.empty()) usage.structure_bytes += kSectionHead;
  for (const CoSaveName& n : image.names) {
    ModUsage& m = mod(DefiningMod(image, n.form_id));
    ++m.names;
    m.name_bytes += EntryBytes(v, n, &NameFields<FieldAppender, const CoSaveName>);
  }
  if (image.has_screen) usage.structure_bytes += 1 + 8;
  if (!image.hud_surfaces.empty()) usage.structure_bytes += kSectionHead;
  for (const CoSaveHudSurface& s : image.hud_surfaces) {
    ModUsage& m = mod(s.esp_id);
    ++m.hud;
    m.hud_bytes += note("HUD surface", s.id, s.esp_id, EntryBytes(v, s, &HudSurfaceFields<FieldAppender, const CoSaveHudSurface>));
  }
  if (!image.hud_texts.empty()) usage.structure_bytes += kSectionHead;
  for (const CoSaveHudText& t : image.hud_texts) {
    ModUsage& m = mod(t.esp_id);
    ++m.hud;
    m.hud_bytes += note("HUD text", t.id, t.esp_id, EntryBytes(v, t, &HudTextFields<FieldAppender, const CoSaveHudText>));
  }
  auto larger = [](const ObjectUsage& a, const ObjectUsage& b) { return a.bytes > b.bytes; };
  const size_t keep = std::min(Usage::kLargest, usage.largest.size());
  std::partial_sort(usage.largest.begin(), usage.largest.begin() + static_cast<ptrdiff_t>(keep),
                    usage.largest.end(), larger);
  usage.largest.resize(keep);
  for (auto& [esp_id, m] : by_mod) usage.mods.push_back(m);
  std::stable_sort(usage.mods.begin(), usage.mods.end(),
                   [](const ModUsage& a, const ModUsage& b) { return a.bytes() > b.bytes(); });
  return usage;
}

std::string UsageReport(const Usage& usage, size_t file_size) {
  std::string out;
  char line[512];
  const char* row = "%-36s %8s %7s %9s %7s %6s %12s\n";
  std::snprintf(line, sizeof line, row, "mod (EspID)", "strings", "arrays", "items", "names", "HUD", "bytes");
  out += line;
  for (const ModUsage& m : usage.mods) {
    std::string label = m.esp_id < 0 ? "(forms of no listed mod)"
                                     : (m.name.empty() ? "(not in the mods section)" : m.name) + " (" +
                                           std::to_string(m.esp_id) + ")";
    std::snprintf(line, sizeof line, row, label.c_str(), std::to_string(m.strings).c_str(),
                  std::to_string(m.arrays).c_str(), std::to_string(m.items).c_str(),
                  std::to_string(m.names).c_str(), std::to_string(m.hud).c_str(),
                  std::to_string(m.bytes()).c_str());
    out += line;
  }
  std::snprintf(line, sizeof line, row, "header, sections, mods, trailer", "", "", "", "", "",
                std::to_string(usage.structure_bytes).c_str());
  out += line;
  std::snprintf(line, sizeof line, row, "total", "", "", "", "", "", std::to_string(usage.total()).c_str());
  out += line;
  if (!usage.largest.empty()) out += "\nlargest objects:\n";
  for (const ObjectUsage& o : usage.largest) {
    std::snprintf(line, sizeof line, "  %-12s %8d of EspID %-4d %12zu bytes\n", o.kind.c_str(), o.id, o.owner,
                  o.bytes);
    out += line;
  }
  if (usage.total() != file_size) {
    std::snprintf(line, sizeof line,
                  "the file holds %zu bytes: its sections are laid out otherwise than the game writes them\n",
                  file_size);
    out += line;
  }
  return out;
}

namespace {

template <class Entry, class Describe>
void DiffById(const char* kind, const std::vector<Entry>& a, const std::vector<Entry>& b,
              const CoSaveImage& ia, const CoSaveImage& ib, Describe describe,
              std::vector<std::string>* out) {
  std::map<int64_t, const Entry*> left, right;
  for (const Entry& e : a) left[e.id] = &e;
  for (const Entry& e : b) right[e.id] = &e;
  for (auto& [id, e] : left) {
    auto it = right.find(id);
    if (it == right.end()) {
      out->push_back(std::string("- ") + kind + " " + std::to_string(id) + " of " + ModLabel(ia, describe.owner(*e)));
    } else if (!(*e == *it->second)) {
      out->push_back(std::string("~ ") + kind + " " + std::to_string(id) + " of " +
                     ModLabel(ib, describe.owner(*it->second)) + ": " + describe.change(*e, *it->second));
    }
  }
  for (auto& [id, e] : right)
    if (!left.count(id))
      out->push_back(std::string("+ ") + kind + " " + std::to_string(id) + " of " + ModLabel(ib, describe.owner(*e)));
}

struct StringDescribe {
  int32_t owner(const CoSaveString& s) const { return s.owner; }
  std::string change(const CoSaveString& a, const CoSaveString& b) const {
    std::string what;
    if (a.text != b.text) what += "text (" + std::to_string(a.text.size()) + " -> " + std::to_string(b.text.size()) + " bytes) ";
    if (a.owner != b.owner) what += "owner ";
    if (a.is_protected != b.is_protected) what += "protection ";
    return what.substr(0, what.size() - 1);
  }
};

struct ArrayDescribe {
  int32_t owner(const CoSaveArray& a) const { return a.owner; }
  std::string change(const CoSaveArray& a, const CoSaveArray& b) const {
    std::string what;
    if (a.size != b.size) what += "size " + std::to_string(a.size) + " -> " + std::to_string(b.size) + " ";
    std::map<int32_t, const CoSaveItem*> left, right;
    for (const CoSaveItem& i : a.items) left[i.index] = &i;
    for (const CoSaveItem& i : b.items) right[i.index] = &i;
    size_t added = 0, removed = 0, changed = 0;
    for (auto& [index, item] : left) {
      auto it = right.find(index);
      if (it == right.end()) ++removed;
      else if (!(*item == *it->second)) ++changed;
    }
    for (auto& [index, item] : right) added += left.count(index) ? 0 : 1;
    if (added) what += std::to_string(added) + " items added ";
    if (removed) what += std::to_string(removed) + " items removed ";
    if (changed) what += std::to_string(changed) + " items changed ";
    if (a.owner != b.owner) what += "owner ";
    if (a.is_protected != b.is_protected) what += "protection ";
    return what.empty() ? "item order" : what.substr(0, what.size() - 1);
  }
};

template <class Element>
struct HudDescribe {
  int32_t owner(const Element& e) const { return e.esp_id; }
  std::string change(const Element&, const Element&) const { return "fields"; }
};

}  // namespace

std::vector<std::string> Differences(const CoSaveImage& a, const CoSaveImage& b) {
  std::vector<std::string> out;
  if (a.version != b.version) out.push_back("~ version");
  if (a.save_match != b.save_match) out.push_back("~ save match value");
  for (const CoSaveMod& m : a.mods) {
    auto it = std::find_if(b.mods.begin(), b.mods.end(), [&](const CoSaveMod& n) { return n.name == m.name; });
    if (it == b.mods.end()) out.push_back("- mod " + m.name + " (EspID " + std::to_string(m.esp_id) + ")");
    else if (!(*it == m))
      out.push_back("~ mod " + m.name + ": EspID " + std::to_string(m.esp_id) + " -> " + std::to_string(it->esp_id) +
                    ", load order " + std::to_string(m.mod_index) + " -> " + std::to_string(it->mod_index));
  }
  for (const CoSaveMod& m : b.mods)
    if (std::none_of(a.mods.begin(), a.mods.end(), [&](const CoSaveMod& n) { return n.name == m.name; }))
      out.push_back("+ mod " + m.name + " (EspID " + std::to_string(m.esp_id) + ")");
  DiffById("string", a.strings, b.strings, a, b, StringDescribe{}, &out);
  DiffById("array", a.arrays, b.arrays, a, b, ArrayDescribe{}, &out);
  std::map<uint32_t, std::string> left, right;
  for (const CoSaveName& n : a.names) left[n.form_id] = n.name;
  for (const CoSaveName& n : b.names) right[n.form_id] = n.name;
  char form[16];
  for (auto& [id, name] : left) {
    std::snprintf(form, sizeof form, "%08X", id);
    auto it = right.find(id);
    if (it == right.end()) out.push_back(std::string("- name of ") + form);
    else if (it->second != name) out.push_back(std::string("~ name of ") + form);
  }
  for (auto& [id, name] : right) {
    std::snprintf(form, sizeof form, "%08X", id);
    if (!left.count(id)) out.push_back(std::string("+ name of ") + form);
  }
  if (a.has_screen != b.has_screen || a.screen_width != b.screen_width || a.screen_height != b.screen_height)
    out.push_back("~ screen size");
  DiffById("HUD surface", a.hud_surfaces, b.hud_surfaces, a, b, HudDescribe<CoSaveHudSurface>{}, &out);
  DiffById("HUD text", a.hud_texts, b.hud_texts, a, b, HudDescribe<CoSaveHudText>{}, &out);
  return out;
}

bool PruneMod(CoSaveImage* image, const std::string& mod_name, std::vector<std::string>* warnings) {
  auto listed = std::find_if(image->mods.begin(), image->mods.end(),
                             [&](const CoSaveMod& m) { return SameNameNoCase(m.name, mod_name); });
  if (listed == image->mods.end()) return false;
  const int32_t esp_id = listed->esp_id;
  const uint8_t mod_index = listed->mod_index;
  std::set<int32_t> removed_strings;
  for (const CoSaveString& s : image->strings)
    if (s.owner == esp_id) removed_strings.insert(s.id);
  auto owned = [&](const auto& e) { return static_cast<int32_t>(e.owner) == esp_id; };
  auto hud_owned = [&](const auto& e) { return static_cast<int32_t>(e.esp_id) == esp_id; };
  std::erase_if(image->strings, owned);
  std::erase_if(image->arrays, owned);
  std::erase_if(image->names, [&](const CoSaveName& n) { return (n.form_id >> 24) == mod_index; });
  std::erase_if(image->hud_surfaces, hud_owned);
  std::erase_if(image->hud_texts, hud_owned);
  image->mods.erase(listed);
  for (const CoSaveArray& a : image->arrays)
    for (const CoSaveItem& item : a.items)
      if (item.type == 0 && removed_strings.count(static_cast<int32_t>(item.value)))
        warnings->push_back("array " + std::to_string(a.id) + " of " + ModLabel(*image, a.owner) + " holds " +
                            std::to_string(static_cast<int32_t>(item.value)) + " at " + std::to_string(item.index) +
                            ", the id of a removed string");
  return true;
}

}  // namespace korvel::cosave_tool
