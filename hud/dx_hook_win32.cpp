// The HUD's hook routines: capturing the game's device, the two drawing
// passes of each frame and the device reset, and the patches that lead the
// game's frame code to them.
#include "hud/dx_hook_win32.h"

#include <windows.h>
#include <d3d9.h>

#include <cstring>

#include "core/code_patch_win32.h"
#include "core/engine_win32.h"
#include "base/flags.h"
#include "hud/dx_hook_stubs_win32.h"
#include "hud/hud.h"
#include "hud/hud_graphics_d3d9.h"
#include "hud/screen.h"

namespace korvel {
namespace {

using CreateDeviceFn = HRESULT(STDMETHODCALLTYPE*)(IDirect3D9*, UINT, D3DDEVTYPE, HWND, DWORD,
                                                   D3DPRESENT_PARAMETERS*, IDirect3DDevice9**);
CreateDeviceFn saved_create_device = nullptr;

// The engine values a pass reads, from the engine table on every pass.
class TableEngineView final : public HudEngineView {
 public:
  explicit TableEngineView(const abi::EngineTable& t) : t_(t) {}
  uint8_t DrawGate() override { return t_.draw_gate ? *t_.draw_gate : 0; }
  uint8_t ModeFlag() override { return t_.mode_flag ? *t_.mode_flag : 0; }
  bool ModeQuery(uint32_t mode) override { return t_.mode_query && t_.mode_query(mode); }
  uint8_t SubModeFlag() override { return t_.sub_mode_flag ? *t_.sub_mode_flag : 0; }

 private:
  const abi::EngineTable& t_;
};

void Draw(HudPass pass) {
  Hud* hud = GetHud();
  abi::EngineTable* table = EngineTableOrNull();
  if (!hud || !table) return;
  TableEngineView view(*table);
  hud->DrawHud(pass, view, GetFlags().hud_suspended);
}

HRESULT STDMETHODCALLTYPE HudCreateDevice(IDirect3D9* self, UINT adapter, D3DDEVTYPE type,
                                          HWND window, DWORD flags,
                                          D3DPRESENT_PARAMETERS* parameters,
                                          IDirect3DDevice9** device) noexcept {
  if (device) *device = nullptr;
  HRESULT result = saved_create_device(self, adapter, type, window, flags, parameters, device);
  try {
    Hud* hud = GetHud();
    if (result == D3D_OK && hud && device && *device) {
      std::lock_guard<std::recursive_mutex> hold(hud->lock());
      if (parameters) {
        GetScreen().width = static_cast<int32_t>(parameters->BackBufferWidth);
        GetScreen().height = static_cast<int32_t>(parameters->BackBufferHeight);
      }
      // Objects of elements made earlier (on no device or an old one) are
      // made again on this one.
      hud->BeforeReset();
      D3d9Graphics& graphics = GetD3d9Graphics();
      AttachDevice(graphics, *device);
      hud->SetGraphics(&AsHudGraphics(graphics));
      hud->AfterReset();
    }
  } catch (...) {
  }
  return result;
}

// Replaces CreateDevice in the object's method table; the former entry is
// kept for HudCreateDevice. A table already hooked stays as it is.
void __cdecl HookD3DObject(IDirect3D9* d3d) noexcept {
  if (!d3d) return;
  void** methods = *reinterpret_cast<void***>(d3d);
  void* hook = reinterpret_cast<void*>(&HudCreateDevice);
  void*& slot = methods[hud_sites::kCreateDeviceSlot];
  if (slot == hook) return;
  saved_create_device = reinterpret_cast<CreateDeviceFn>(slot);
  PatchPointer(&slot, hook);
}

bool __cdecl HudPresent() noexcept {
  try {
    Draw(HudPass::kFinal);
  } catch (...) {
  }
  abi::EngineTable* table = EngineTableOrNull();
  auto* device =
      table && table->renderer_device ? static_cast<IDirect3DDevice9*>(*table->renderer_device) : nullptr;
  if (!device) return false;
  return device->Present(nullptr, nullptr, nullptr, nullptr) >= 0;
}

HRESULT STDMETHODCALLTYPE HudResetCall(IDirect3DDevice9* device,
                                       D3DPRESENT_PARAMETERS* parameters) noexcept {
  Hud* hud = GetHud();
  try {
    if (hud) hud->BeforeReset();
  } catch (...) {
  }
  HRESULT result = device->Reset(parameters);
  try {
    if (result == D3D_OK && hud) {
      std::lock_guard<std::recursive_mutex> hold(hud->lock());
      // A reset may change the back buffer; alignment follows it.
      if (parameters && parameters->BackBufferWidth && parameters->BackBufferHeight) {
        GetScreen().width = static_cast<int32_t>(parameters->BackBufferWidth);
        GetScreen().height = static_cast<int32_t>(parameters->BackBufferHeight);
      }
      hud->AfterReset();
    }
  } catch (...) {
  }
  return result;
}

int32_t ReadRel32(const uint8_t* at) {
  int32_t value;
  std::memcpy(&value, at, 4);
  return value;
}

// An indirect JMP through a cell holding target (FF 25: an absolute cell on
// i386, a RIP-relative one on x86-64), padded with NOPs to size.
bool JumpThroughCell(uint8_t* site, const uint8_t* expected, const uint8_t* mask, size_t size,
                     void* target) {
  void** cell = ReachableCell(site, target);
  if (!cell) return false;
  uint8_t bytes[16] = {kOpGroup5, kModRmJmpAbs};
#if defined(__x86_64__)
  uint32_t operand = Rel32(site, 6, cell);
#else
  uint32_t operand = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cell));
#endif
  std::memcpy(bytes + 2, &operand, 4);
  std::memset(bytes + 6, kOpNop, size - 6);
  return PatchSite(site, expected, mask, bytes, size);
}

}  // namespace
}  // namespace korvel

extern "C" {

void KorvelFinalPass() noexcept {
  try {
    korvel::Draw(korvel::HudPass::kFinal);
  } catch (...) {
  }
}

void KorvelEarlyPass() noexcept {
  try {
    korvel::Draw(korvel::HudPass::kEarly);
  } catch (...) {
  }
}

}  // extern "C"

namespace korvel {

void InstallDxHooks() {
  abi::EngineTable* table = EngineTableOrNull();
  if (!table) return;
  namespace s = hud_sites;

  // 1. The call after the IDirect3D9 object was made now calls HookD3DObject.
  if (uint8_t* site = table->d3d_object_site;
      SiteMatches(site, s::kD3dObject, s::kD3dObjectMask, sizeof s::kD3dObject)) {
    if (void* target = ReachableJump(site, reinterpret_cast<void*>(&HookD3DObject)))
      Patch4(site + 1, Rel32(site, 5, target));
  }
  // 2. The present routine.
  if (table->present_routine) PatchPointer(table->present_routine, reinterpret_cast<void*>(&HudPresent));
  // 3. Final-pass branch: JE rel32 becomes JMP rel32 to the stub and a NOP;
  // the stub takes the branch itself.
  if (uint8_t* site = table->final_pass_site;
      SiteMatches(site, s::kFinalPass, s::kFinalPassMask, sizeof s::kFinalPass)) {
    korvel_final_target = site + 6 + ReadRel32(site + 2);
    korvel_final_resume = site + 6;
    if (void* target = ReachableJump(site, reinterpret_cast<void*>(&KorvelFinalPassStub))) {
      uint8_t bytes[6] = {0xE9, 0, 0, 0, 0, kOpNop};  // E9 xxxxxxxx: JMP rel32
      uint32_t rel = Rel32(site, 5, target);
      std::memcpy(bytes + 1, &rel, 4);
      PatchSite(site, s::kFinalPass, s::kFinalPassMask, bytes, sizeof bytes);
    }
  }
  // 4. Reset call: CALL rel32 to HudResetCall (which takes the same
  // arguments as Reset) and EB 00, a short jump to the next instruction.
  // The jump is laid down first, by a 4-byte write at offset 3.
  if (uint8_t* site = table->reset_call_site;
      SiteMatches(site, s::kResetCall, nullptr, sizeof s::kResetCall)) {
    if (void* target = ReachableJump(site, reinterpret_cast<void*>(&HudResetCall))) {
      uint32_t tail = static_cast<uint32_t>(site[3]) | static_cast<uint32_t>(site[4]) << 8 | 0xEBu << 16;
      if (Patch4(site + 3, tail)) {
        Patch4(site, static_cast<uint32_t>(kOpCallRel32) | static_cast<uint32_t>(site[1]) << 8 |
                         static_cast<uint32_t>(site[2]) << 16 |
                         static_cast<uint32_t>(site[3]) << 24);
        Patch4(site + 1, Rel32(site, 5, target));
      }
    }
  }
  // 5. Early-pass arm: the stub repeats the compare.
  if (uint8_t* site = table->early_arm_site;
      SiteMatches(site, s::kEarlyArm, s::kEarlyArmMask, sizeof s::kEarlyArm)) {
#if defined(__x86_64__)
    korvel_arm_field = reinterpret_cast<uintptr_t>(site) + 7 + static_cast<intptr_t>(ReadRel32(site + 2));
#else
    korvel_arm_field = static_cast<uint32_t>(ReadRel32(site + 2));
#endif
    korvel_arm_target = site + 9 + static_cast<int8_t>(site[8]);
    korvel_arm_resume = site + 9;
    JumpThroughCell(site, s::kEarlyArm, s::kEarlyArmMask, sizeof s::kEarlyArm,
                    reinterpret_cast<void*>(&KorvelArmEarlyPassStub));
  }
  // 6. Early-pass point.
  if (uint8_t* site = table->early_point_site;
      SiteMatches(site, s::kEarlyPoint, nullptr, sizeof s::kEarlyPoint)) {
    korvel_early_resume = site + sizeof s::kEarlyPoint;
    JumpThroughCell(site, s::kEarlyPoint, nullptr, sizeof s::kEarlyPoint,
                    reinterpret_cast<void*>(&KorvelEarlyPassStub));
  }
}

}  // namespace korvel
