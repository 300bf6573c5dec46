#include "save/cosave_image.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "save/cosave_encoder.h"

namespace korvel {
namespace {

// Positions of entries ordered from the highest id down; equal ids keep
// their order.
template <class Entry>
std::vector<size_t> HighestIdFirst(const std::vector<Entry>& entries) {
  std::vector<size_t> order(entries.size());
  std::iota(order.begin(), order.end(), size_t{0});
  auto higher = [&](size_t a, size_t b) { return entries[a].id > entries[b].id; };
  // Images usually come in id order, one way or the other.
  if (std::is_sorted(order.begin(), order.end(), higher)) return order;
  if (std::adjacent_find(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.id >= b.id;
      }) == entries.end()) {
    std::reverse(order.begin(), order.end());
    return order;
  }
  std::stable_sort(order.begin(), order.end(), higher);
  return order;
}

template <class Entry>
std::vector<Entry> InWriteOrder(const std::vector<Entry>& entries) {
  std::vector<Entry> out;
  out.reserve(entries.size());
  for (size_t i : HighestIdFirst(entries)) out.push_back(entries[i]);
  return out;
}

class ImageSink final : public CoSaveSink {
 public:
  explicit ImageSink(CoSaveImage& image) : image_(image) {}
  // A later mods section starts the assignments afresh, as it does for
  // the registry.
  void Mods(const std::vector<CoSaveMod>& mods) override { image_.mods = mods; }
  // Room for the section at once; growth stays geometric so that many
  // small sections cost no more than one large one.
  void StringCount(int32_t count) override {
    std::vector<CoSaveString>& v = image_.strings;
    size_t needed = v.size() + static_cast<size_t>(count);
    if (needed > v.capacity()) v.reserve(std::max(needed, 2 * v.capacity()));
  }
  void String(CoSaveString&& entry) override { image_.strings.push_back(std::move(entry)); }
  void Array(CoSaveArray&& entry) override { image_.arrays.push_back(std::move(entry)); }
  void Names(std::vector<CoSaveName>&& names) override {
    for (CoSaveName& n : names) image_.names.push_back(std::move(n));
  }
  void Screen(int32_t width, int32_t height) override {
    image_.has_screen = true;
    image_.screen_width = width;
    image_.screen_height = height;
  }
  void HudSurface(CoSaveHudSurface&& entry) override {
    image_.hud_surfaces.push_back(std::move(entry));
  }
  void HudText(CoSaveHudText&& entry) override { image_.hud_texts.push_back(std::move(entry)); }

 private:
  CoSaveImage& image_;
};

}  // namespace

std::string EncodeCoSaveImage(const CoSaveImage& image, int32_t version) {
  return EncodeCoSaveToString(version, image.save_match, [&](CoSaveEncoder& writer) {
    if (!image.mods.empty()) writer.Mods(image.mods);
    if (!image.strings.empty()) {
      writer.BeginStrings(static_cast<int32_t>(image.strings.size()));
      for (size_t i : HighestIdFirst(image.strings)) {
        const CoSaveString& s = image.strings[i];
        writer.String(s.id, s.owner, s.is_protected, s.text);
      }
    }
    for (size_t i : HighestIdFirst(image.arrays)) {
      const CoSaveArray& a = image.arrays[i];
      writer.Array(a.id, a.owner, a.is_protected, a.size, a.items);
    }
    if (!image.names.empty()) writer.Names(image.names);
    if (image.has_screen) writer.Screen(image.screen_width, image.screen_height);
    if (!image.hud_surfaces.empty()) writer.HudSurfaces(InWriteOrder(image.hud_surfaces));
    if (!image.hud_texts.empty()) writer.HudTexts(InWriteOrder(image.hud_texts));
  });
}

CoSaveReadStatus DecodeCoSaveImage(std::string_view bytes, uint32_t probed_match,
                                   CoSaveImage* out, CoSaveReadError* error) {
  *out = CoSaveImage{};
  if (CoSaveStoredVersion(bytes, &out->version))
    CoSaveStoredMatch(bytes, out->version, &out->save_match);
  ImageSink sink(*out);
  return DecodeCoSave(bytes, probed_match, sink, error);
}

CoSaveReadStatus DecodeCoSaveImage(CoSaveSource& source, uint32_t probed_match, CoSaveImage* out,
                                   CoSaveReadError* error) {
  *out = CoSaveImage{};
  ImageSink sink(*out);
  return DecodeCoSave(source, probed_match, sink, error);
}

}  // namespace korvel
