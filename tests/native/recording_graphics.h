// A HudGraphics test double: textures and fonts are counted tokens, and
// every sprite call is recorded (or only counted, for benchmarks).
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hud/hud.h"

namespace korvel {

class RecordingGraphics : public HudGraphics {
 public:
  struct Call {
    enum Kind { kBegin, kSampler, kTransform, kDraw, kText, kEnd };
    Call(Kind k = kBegin, uintptr_t o = 0, uint32_t c = 0, uint32_t f = 0, HudRect r = {},
         std::string t = {})
        : kind(k), object(o), colour(c), flags(f), rect(r), text(std::move(t)) {}
    Kind kind;
    uintptr_t object = 0;  // texture or font token
    uint32_t colour = 0;
    uint32_t flags = 0;
    HudRect rect{};
    std::string text;
    HudMatrix matrix;
  };

  // Image files that "exist", with their sizes.
  void AddImage(const std::string& path, uint32_t w, uint32_t h) { images_.push_back({path, w, h}); }

  HudTexture* LoadTexture(const std::string& path) override {
    ++texture_loads;
    if (!Find(path)) return nullptr;
    auto token = reinterpret_cast<HudTexture*>(++next_token_);
    live_textures.insert(token);
    last_texture_path = path;
    return token;
  }
  bool ReadImageInfo(const std::string& path, HudImageInfo* info) override {
    const Image* image = Find(path);
    if (!image) return false;
    info->Width = image->w;
    info->Height = image->h;
    return true;
  }
  void ReleaseTexture(HudTexture* texture) override { live_textures.erase(texture); }
  HudFont* MakeFont(const HudFontRequest& r) override {
    ++font_creations;
    last_font = r;
    last_font_face = *r.face;
    if (fail_fonts) return nullptr;
    auto token = reinterpret_cast<HudFont*>(++next_token_);
    live_fonts.insert(token);
    return token;
  }
  void ReleaseFont(HudFont* font) override { live_fonts.erase(font); }

  bool HasSprite() override { return sprite; }
  bool Begin() override {
    Record(Call(Call::kBegin));
    return !fail_begin;
  }
  bool SetPointMipFilter() override {
    Record(Call(Call::kSampler));
    return !fail_sampler;
  }
  void SetTransform(const HudMatrix& m) override {
    ++transforms;
    if (record) {
      Call c(Call::kTransform);
      c.matrix = m;
      calls.push_back(c);
    }
  }
  void Draw(HudTexture* texture, uint32_t colour) override {
    ++draws;
    if (record) {
      Call c(Call::kDraw, reinterpret_cast<uintptr_t>(texture), colour);
      calls.push_back(c);
    }
  }
  void DrawString(HudFont* font, const char* text, int32_t length, const HudRect& rect,
                uint32_t flags, uint32_t colour) override {
    ++draws;
    if (record) {
      Call c(Call::kText, reinterpret_cast<uintptr_t>(font), colour, flags, rect,
             std::string(text, static_cast<size_t>(length)));
      calls.push_back(c);
    }
  }
  void End() override { Record(Call(Call::kEnd)); }
  void ReleaseSprite() override { sprite = false; }
  void RecreateSprite() override { sprite = true; }

  std::vector<Call> calls;
  bool record = true;
  bool sprite = true;
  bool fail_begin = false, fail_sampler = false, fail_fonts = false;
  int texture_loads = 0, font_creations = 0;
  long transforms = 0, draws = 0;
  std::set<HudTexture*> live_textures;
  std::set<HudFont*> live_fonts;
  HudFontRequest last_font{};
  std::string last_font_face, last_texture_path;

 private:
  struct Image {
    std::string path;
    uint32_t w, h;
  };
  const Image* Find(const std::string& path) const {
    for (const Image& i : images_)
      if (i.path == path) return &i;
    return nullptr;
  }
  void Record(Call c) {
    if (record) calls.push_back(c);
  }
  std::vector<Image> images_;
  uintptr_t next_token_ = 0x1000;
};

// Engine values for a drawing pass, set by the test.
class FixedEngineView : public HudEngineView {
 public:
  uint8_t DrawGate() override { return gate; }
  uint8_t ModeFlag() override { return mode_flag; }
  bool ModeQuery(uint32_t mode) override {
    queries.push_back(mode);
    return mode == 0 ? query0 : query3;
  }
  uint8_t SubModeFlag() override { return sub_mode; }

  uint8_t gate = 1, mode_flag = 0, sub_mode = 0;
  bool query0 = false, query3 = false;
  std::vector<uint32_t> queries;
};

}  // namespace korvel
