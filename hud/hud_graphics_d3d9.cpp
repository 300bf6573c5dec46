#include "hud/hud_graphics_d3d9.h"

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

namespace korvel {
namespace {

using CreateSpriteFn = HRESULT(WINAPI*)(IDirect3DDevice9*, ID3DXSprite**);
using CreateFontFn = HRESULT(WINAPI*)(IDirect3DDevice9*, INT, UINT, UINT, UINT, BOOL, DWORD, DWORD,
                                      DWORD, DWORD, const char*, ID3DXFont**);
using CreateTextureFn = HRESULT(WINAPI*)(IDirect3DDevice9*, const char*, UINT, UINT, UINT, DWORD,
                                         D3DFORMAT, D3DPOOL, DWORD, DWORD, D3DCOLOR,
                                         D3DXIMAGE_INFO*, PALETTEENTRY*, IDirect3DTexture9**);
using ImageInfoFn = HRESULT(WINAPI*)(const char*, D3DXIMAGE_INFO*);
using TransformationFn = D3DXMATRIX*(WINAPI*)(D3DXMATRIX*, const D3DXVECTOR3*,
                                              const D3DXQUATERNION*, const D3DXVECTOR3*,
                                              const D3DXVECTOR3*, const D3DXQUATERNION*,
                                              const D3DXVECTOR3*);

// Opaque magenta becomes transparent.
constexpr D3DCOLOR kColourKey = 0xFFFF00FF;
constexpr DWORD kSpriteFlags = D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_DEPTH_BACKTOFRONT;

template <class T>
void ReleaseAndNull(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

template <class Fn>
Fn Entry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

class D3d9Graphics final : public HudGraphics {
 public:
  bool LoadD3dx() {
    if (loaded_) return create_sprite_ != nullptr;
    loaded_ = true;
    HMODULE d3dx = LoadLibraryA("d3dx9_27.dll");
    if (!d3dx) return false;
    create_font_ = Entry<CreateFontFn>(d3dx, "D3DXCreateFontA");
    create_texture_ = Entry<CreateTextureFn>(d3dx, "D3DXCreateTextureFromFileExA");
    image_info_ = Entry<ImageInfoFn>(d3dx, "D3DXGetImageInfoFromFileA");
    transformation_ = Entry<TransformationFn>(d3dx, "D3DXMatrixTransformation");
    CreateSpriteFn sprite = Entry<CreateSpriteFn>(d3dx, "D3DXCreateSprite");
    if (!create_font_ || !create_texture_ || !image_info_ || !transformation_) sprite = nullptr;
    create_sprite_ = sprite;
    return create_sprite_ != nullptr;
  }

  bool Attach(IDirect3DDevice9* device) {
    if (!LoadD3dx()) return false;
    ReleaseAndNull(sprite_);
    ReleaseAndNull(device_);
    device_ = device;
    if (device_) device_->AddRef();
    RecreateSprite();
    return true;
  }

  void Detach() {
    ReleaseAndNull(sprite_);
    ReleaseAndNull(device_);
  }

  HudTexture* LoadTexture(const std::string& path) override {
    if (!device_ || !create_texture_) return nullptr;
    IDirect3DTexture9* texture = nullptr;
    HRESULT hr = create_texture_(device_, path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
                                 D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, D3DX_FILTER_NONE,
                                 D3DX_FILTER_NONE, kColourKey, nullptr, nullptr, &texture);
    if (FAILED(hr)) return nullptr;
    return reinterpret_cast<HudTexture*>(texture);
  }

  bool ReadImageInfo(const std::string& path, HudImageInfo* info) override {
    if (!image_info_) return false;
    D3DXIMAGE_INFO full{};
    if (FAILED(image_info_(path.c_str(), &full))) return false;
    info->Width = full.Width;
    info->Height = full.Height;
    return true;
  }

  void ReleaseTexture(HudTexture* texture) override {
    auto* t = reinterpret_cast<IDirect3DTexture9*>(texture);
    ReleaseAndNull(t);
  }

  HudFont* MakeFont(const HudFontRequest& r) override {
    if (!device_ || !create_font_) return nullptr;
    ID3DXFont* font = nullptr;
    HRESULT hr = create_font_(device_, r.height, static_cast<UINT>(r.width), r.weight, 1,
                              r.italic ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, r.face->c_str(),
                              &font);
    if (FAILED(hr)) return nullptr;
    return reinterpret_cast<HudFont*>(font);
  }

  void ReleaseFont(HudFont* font) override {
    auto* f = reinterpret_cast<ID3DXFont*>(font);
    ReleaseAndNull(f);
  }

  HudMatrix Transformation(float sx, float sy, float tx, float ty, float tz) override {
    if (!transformation_) return HudGraphics::Transformation(sx, sy, tx, ty, tz);
    D3DXVECTOR3 scaling(sx, sy, 1), translation(tx, ty, tz);
    D3DXMATRIX m;
    transformation_(&m, nullptr, nullptr, &scaling, nullptr, nullptr, &translation);
    HudMatrix out;
    static_assert(sizeof out.m == sizeof m.m);
    memcpy(out.m, m.m, sizeof out.m);
    return out;
  }

  bool HasSprite() override { return sprite_ != nullptr; }
  bool Begin() override { return sprite_ && SUCCEEDED(sprite_->Begin(kSpriteFlags)); }
  bool SetPointMipFilter() override {
    return device_ && SUCCEEDED(device_->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT));
  }
  void SetTransform(const HudMatrix& m) override {
    sprite_->SetTransform(reinterpret_cast<const D3DXMATRIX*>(&m));
  }
  void Draw(HudTexture* texture, uint32_t colour) override {
    sprite_->Draw(reinterpret_cast<IDirect3DTexture9*>(texture), nullptr, nullptr, nullptr,
                  colour);
  }
  void DrawString(HudFont* font, const char* text, int32_t length, const HudRect& r,
                  uint32_t flags, uint32_t colour) override {
    RECT rect{r.left, r.top, r.right, r.bottom};
    reinterpret_cast<ID3DXFont*>(font)->DrawTextA(sprite_, text, length, &rect, flags, colour);
  }
  void End() override {
    if (sprite_) sprite_->End();
  }

  void ReleaseSprite() override { ReleaseAndNull(sprite_); }
  void RecreateSprite() override {
    ReleaseAndNull(sprite_);
    if (device_ && create_sprite_ && FAILED(create_sprite_(device_, &sprite_))) sprite_ = nullptr;
  }

 private:
  bool loaded_ = false;
  CreateSpriteFn create_sprite_ = nullptr;
  CreateFontFn create_font_ = nullptr;
  CreateTextureFn create_texture_ = nullptr;
  ImageInfoFn image_info_ = nullptr;
  TransformationFn transformation_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  ID3DXSprite* sprite_ = nullptr;
};

D3d9Graphics& GetD3d9Graphics() {
  static D3d9Graphics* graphics = new D3d9Graphics;  // outlives every hook call
  return *graphics;
}

bool AttachDevice(D3d9Graphics& graphics, IDirect3DDevice9* device) {
  return graphics.Attach(device);
}

HudGraphics& AsHudGraphics(D3d9Graphics& graphics) { return graphics; }

void DetachDevice(D3d9Graphics& graphics) { graphics.Detach(); }

}  // namespace korvel
