#include "tools/cosave/cosave_json.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace korvel::cosave_tool {
namespace {

// Unicode of the bytes 0x80..0x9F; 0 where the byte is undefined and maps
// to the control character of its own number.
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t CodePointOf(uint8_t byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  return kHigh[byte - 0x80] ? kHigh[byte - 0x80] : byte;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

uint32_t FloatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return bits;
}

float BitsFloat(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

// A float as a JSON number when it is finite, else its bits as text.
Json FloatValue(float f) {
  if (std::isfinite(f)) return static_cast<double>(f);
  return Hex(FloatBits(f));
}

// Reading: each getter throws a FieldError naming the field.
struct FieldError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const Json& At(const Json& object, const char* key) {
  if (!object.is_object() || !object.contains(key))
    throw FieldError(std::string("missing \"") + key + "\"");
  return object.at(key);
}

int64_t Integer(const Json& object, const char* key, int64_t lo, int64_t hi) {
  const Json& v = At(object, key);
  if (!v.is_number_integer()) throw FieldError(std::string("\"") + key + "\" is not an integer");
  int64_t n = v.get<int64_t>();
  if (n < lo || n > hi) throw FieldError(std::string("\"") + key + "\" is out of range");
  return n;
}

uint32_t HexField(const Json& object, const char* key) {
  const Json& v = At(object, key);
  unsigned long long n = 0;
  char* end = nullptr;
  if (!v.is_string()) throw FieldError(std::string("\"") + key + "\" is not a 0x text");
  std::string text = v.get<std::string>();
  if (text.size() == 10 && text[0] == '0' && text[1] == 'x') n = std::strtoull(text.c_str() + 2, &end, 16);
  if (!end || *end) throw FieldError(std::string("\"") + key + "\" is not 0x and 8 hex digits");
  return static_cast<uint32_t>(n);
}

float FloatField(const Json& object, const char* key) {
  const Json& v = At(object, key);
  if (v.is_number()) {
    double d = v.get<double>();
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
      throw FieldError(std::string("\"") + key + "\" is beyond a float");
    return static_cast<float>(d);
  }
  return BitsFloat(HexField(object, key));
}

std::string TextField(const Json& object, const char* key) {
  const Json& v = At(object, key);
  std::string bytes;
  if (!v.is_string() || !Utf8ToCp1252(v.get<std::string>(), &bytes))
    throw FieldError(std::string("\"") + key + "\" is not a text of Windows-1252 characters");
  return bytes;
}

template <class T>
T Narrow(const Json& object, const char* key) {
  return static_cast<T>(Integer(object, key, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

const Json& List(const Json& object, const char* key) {
  const Json& v = At(object, key);
  if (!v.is_array()) throw FieldError(std::string("\"") + key + "\" is not a list");
  return v;
}

// HUD surfaces and texts share their head and placement.
template <class Element>
void PutHud(Json& j, const Element& e) {
  j["id"] = e.id;
  j["esp_id"] = e.esp_id;
  j["protected"] = e.is_protected;
  j["show"] = e.show;
  j["x"] = FloatValue(e.x);
  j["y"] = FloatValue(e.y);
  j["layer"] = e.layer;
  j["scale_x"] = FloatValue(e.scale_x);
  j["scale_y"] = FloatValue(e.scale_y);
  j["opacity"] = e.opacity;
  j["alignment"] = e.alignment;
  j["auto_scale"] = e.auto_scale;
}

template <class Element>
void GetHud(const Json& j, Element& e) {
  e.id = Narrow<int32_t>(j, "id");
  e.esp_id = Narrow<uint8_t>(j, "esp_id");
  e.is_protected = Narrow<uint8_t>(j, "protected");
  e.show = Narrow<uint8_t>(j, "show");
  e.x = FloatField(j, "x");
  e.y = FloatField(j, "y");
  e.layer = Narrow<uint16_t>(j, "layer");
  e.scale_x = FloatField(j, "scale_x");
  e.scale_y = FloatField(j, "scale_y");
  e.opacity = Narrow<uint8_t>(j, "opacity");
  e.alignment = Narrow<uint8_t>(j, "alignment");
  e.auto_scale = Narrow<uint8_t>(j, "auto_scale");
}

constexpr const char* kItemTypes[] = {"int", "ref", "float"};

Json ItemToJson(const CoSaveItem& item) {
  Json j;
  j["index"] = item.index;
  if (item.type < 3) {
    j["type"] = kItemTypes[item.type];
  } else {
    j["type"] = item.type;
  }
  switch (item.type) {
    case 0: j["value"] = static_cast<int32_t>(item.value); break;
    case 2: j["value"] = FloatValue(BitsFloat(item.value)); break;
    default: j["value"] = Hex(item.value); break;
  }
  return j;
}

CoSaveItem JsonToItem(const Json& j) {
  CoSaveItem item;
  item.index = Narrow<int32_t>(j, "index");
  const Json& type = At(j, "type");
  if (type.is_string()) {
    std::string name = type.get<std::string>();
    if (name == "int") item.type = 0;
    else if (name == "ref") item.type = 1;
    else if (name == "float") item.type = 2;
    else throw FieldError("item \"type\" is not int, ref or float");
  } else {
    item.type = Narrow<uint8_t>(j, "type");
    if (item.type < 3) throw FieldError("item \"type\" 0 to 2 must be named");
  }
  switch (item.type) {
    case 0: item.value = static_cast<uint32_t>(Narrow<int32_t>(j, "value")); break;
    case 2: item.value = FloatBits(FloatField(j, "value")); break;
    default: item.value = HexField(j, "value"); break;
  }
  return item;
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, CodePointOf(static_cast<uint8_t>(c)));
  return out;
}

bool Utf8ToCp1252(const std::string& utf8, std::string* bytes) {
  bytes->clear();
  for (size_t i = 0; i < utf8.size();) {
    auto b = static_cast<uint8_t>(utf8[i]);
    uint32_t cp;
    size_t n;
    if (b < 0x80) { cp = b; n = 1; }
    else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; n = 2; }
    else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; n = 3; }
    else return false;
    if (i + n > utf8.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      auto c = static_cast<uint8_t>(utf8[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    i += n;
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) {
      bytes->push_back(static_cast<char>(cp));
      continue;
    }
    int found = -1;
    for (int k = 0; k < 32; ++k)
      if ((kHigh[k] ? kHigh[k] : 0x80u + k) == cp) found = 0x80 + k;
    if (found < 0) return false;
    bytes->push_back(static_cast<char>(found));
  }
  return true;
}

Json ImageToJson(const CoSaveImage& image) {
  Json j;
  j["version"] = Hex(static_cast<uint32_t>(image.version));
  j["save_match"] = Hex(image.save_match);
  j["mods"] = Json::array();
  for (const CoSaveMod& m : image.mods)
    j["mods"].push_back({{"esp_id", m.esp_id}, {"mod_index", m.mod_index}, {"name", Cp1252ToUtf8(m.name)}});
  j["strings"] = Json::array();
  for (const CoSaveString& s : image.strings)
    j["strings"].push_back({{"id", s.id}, {"owner", s.owner}, {"protected", s.is_protected},
                            {"text", Cp1252ToUtf8(s.text)}});
  j["arrays"] = Json::array();
  for (const CoSaveArray& a : image.arrays) {
    Json items = Json::array();
    for (const CoSaveItem& item : a.items) items.push_back(ItemToJson(item));
    j["arrays"].push_back({{"id", a.id}, {"owner", a.owner}, {"protected", a.is_protected},
                           {"size", a.size}, {"items", std::move(items)}});
  }
  j["names"] = Json::array();
  for (const CoSaveName& n : image.names)
    j["names"].push_back({{"form_id", Hex(n.form_id)}, {"name", Cp1252ToUtf8(n.name)}});
  if (image.has_screen) {
    j["screen"] = {{"width", image.screen_width}, {"height", image.screen_height}};
  } else {
    j["screen"] = nullptr;
  }
  j["hud_surfaces"] = Json::array();
  for (const CoSaveHudSurface& s : image.hud_surfaces) {
    Json e;
    PutHud(e, s);
    e["root_id"] = s.root_id;
    e["filename"] = Cp1252ToUtf8(s.filename);
    j["hud_surfaces"].push_back(std::move(e));
  }
  j["hud_texts"] = Json::array();
  for (const CoSaveHudText& t : image.hud_texts) {
    Json e;
    PutHud(e, t);
    e["width"] = FloatValue(t.width);
    e["height"] = FloatValue(t.height);
    e["format"] = t.format;
    e["font_name"] = Cp1252ToUtf8(t.font_name);
    e["text"] = Cp1252ToUtf8(t.text);
    e["font_height"] = t.font_height;
    e["font_width"] = t.font_width;
    e["weight"] = t.weight;
    e["italic"] = t.italic;
    e["color"] = {t.r, t.g, t.b};
    j["hud_texts"].push_back(std::move(e));
  }
  return j;
}

bool JsonToImage(const Json& j, CoSaveImage* image, std::string* why) {
  CoSaveImage out;
  const char* where = "the file";
  try {
    out.version = static_cast<int32_t>(HexField(j, "version"));
    out.save_match = HexField(j, "save_match");
    where = "mods";
    for (const Json& m : List(j, "mods"))
      out.mods.push_back({Narrow<int32_t>(m, "esp_id"), Narrow<uint8_t>(m, "mod_index"), TextField(m, "name")});
    where = "strings";
    for (const Json& s : List(j, "strings"))
      out.strings.push_back({Narrow<int32_t>(s, "id"), Narrow<int32_t>(s, "owner"),
                             Narrow<uint8_t>(s, "protected"), TextField(s, "text")});
    where = "arrays";
    for (const Json& a : List(j, "arrays")) {
      CoSaveArray array{Narrow<int32_t>(a, "id"), Narrow<int32_t>(a, "owner"),
                        Narrow<uint8_t>(a, "protected"), Narrow<int32_t>(a, "size"), {}};
      for (const Json& item : List(a, "items")) array.items.push_back(JsonToItem(item));
      out.arrays.push_back(std::move(array));
    }
    where = "names";
    for (const Json& n : List(j, "names")) out.names.push_back({HexField(n, "form_id"), TextField(n, "name")});
    where = "screen";
    const Json& screen = At(j, "screen");
    if (!screen.is_null()) {
      out.has_screen = true;
      out.screen_width = Narrow<int32_t>(screen, "width");
      out.screen_height = Narrow<int32_t>(screen, "height");
    }
    where = "hud_surfaces";
    for (const Json& e : List(j, "hud_surfaces")) {
      CoSaveHudSurface s;
      GetHud(e, s);
      s.root_id = Narrow<uint8_t>(e, "root_id");
      s.filename = TextField(e, "filename");
      out.hud_surfaces.push_back(std::move(s));
    }
    where = "hud_texts";
    for (const Json& e : List(j, "hud_texts")) {
      CoSaveHudText t;
      GetHud(e, t);
      t.width = FloatField(e, "width");
      t.height = FloatField(e, "height");
      t.format = Narrow<uint8_t>(e, "format");
      t.font_name = TextField(e, "font_name");
      t.text = TextField(e, "text");
      t.font_height = Narrow<int32_t>(e, "font_height");
      t.font_width = Narrow<int32_t>(e, "font_width");
      t.weight = Narrow<uint16_t>(e, "weight");
      t.italic = Narrow<uint8_t>(e, "italic");
      const Json& color = List(e, "color");
      if (color.size() != 3) throw FieldError("\"color\" is not three numbers");
      Json rgb = {{"r", color[0]}, {"g", color[1]}, {"b", color[2]}};
      t.r = Narrow<uint8_t>(rgb, "r");
      t.g = Narrow<uint8_t>(rgb, "g");
      t.b = Narrow<uint8_t>(rgb, "b");
      out.hud_texts.push_back(std::move(t));
    }
  } catch (const std::exception& e) {
    *why = std::string(where) + ": " + e.what();
    return false;
  }
  *image = std::move(out);
  return true;
}

}  // namespace korvel::cosave_tool
