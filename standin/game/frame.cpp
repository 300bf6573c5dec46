#include "game/frame.h"

#include <windows.h>
#include <d3d9.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "core/engine_table_win32.h"

extern "C" korvel::abi::EngineTable VeldmarkEngineTable;

extern "C" {
void __cdecl StandinD3DObjectCall(IDirect3D9* d3d);
HRESULT __cdecl StandinResetDevice(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters);
void __cdecl StandinFramePasses();
extern uint8_t StandinD3DObjectSite[];
extern uint8_t StandinResetCallSite[];
extern uint8_t StandinEarlyArmSite[];
extern uint8_t StandinEarlyPointSite[];
extern uint8_t StandinFinalPassSite[];
}

namespace standin {
namespace {

// D3DXSaveSurfaceToFileA's file formats.
constexpr int kD3dxBmp = 0;
constexpr int kD3dxPng = 3;
using SaveSurfaceFn = HRESULT(WINAPI*)(const char*, int, IDirect3DSurface9*, const PALETTEENTRY*,
                                       const RECT*);

uint32_t width = 800, height = 600;
HWND window = nullptr;
IDirect3D9* d3d = nullptr;
IDirect3DDevice9* device = nullptr;
D3DPRESENT_PARAMETERS parameters{};
bool started = false;
// How long the last `frame N` took per frame, in milliseconds.
double last_frame_ms = 0;

bool mode_query_results[2] = {false, false};  // for modes 0 and 3

bool __cdecl GamePresent() {
  return device && device->Present(nullptr, nullptr, nullptr, nullptr) >= 0;
}
bool(__cdecl* present_routine)() = &GamePresent;

bool __cdecl ModeQuery(uint32_t mode) {
  if (mode == 0) return mode_query_results[0];
  if (mode == 3) return mode_query_results[1];
  return false;
}

uint8_t draw_gate = 1, mode_flag = 0, sub_mode_flag = 0;

D3DPRESENT_PARAMETERS Parameters() {
  D3DPRESENT_PARAMETERS p{};
  p.BackBufferWidth = width;
  p.BackBufferHeight = height;
  p.BackBufferFormat = D3DFMT_X8R8G8B8;
  p.BackBufferCount = 1;
  // The back buffer keeps the last frame after Present, for screenshots.
  p.SwapEffect = D3DSWAPEFFECT_COPY;
  p.hDeviceWindow = window;
  p.Windowed = TRUE;
  p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  return p;
}

}  // namespace

void SetResolution(uint32_t w, uint32_t h) {
  width = w;
  height = h;
}

bool ParseResolution(const std::string& text, uint32_t* w, uint32_t* h) {
  unsigned long a = 0, b = 0;
  char x = 0, rest = 0;
  if (std::sscanf(text.c_str(), "%lu%c%lu%c", &a, &x, &b, &rest) != 3 || (x != 'x' && x != 'X'))
    return false;
  if (a < 1 || b < 1 || a > 8192 || b > 8192) return false;
  *w = static_cast<uint32_t>(a);
  *h = static_cast<uint32_t>(b);
  return true;
}

bool GraphicsStarted() { return started; }

bool StartGraphics() {
  if (started) return device != nullptr;
  started = true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VeldmarkFrame";
  RegisterClassA(&wc);
  RECT r{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  window = CreateWindowA("VeldmarkFrame", "Veldmark", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                         r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return false;
  d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d) return false;
  // The engine hands the new object on right away; a HUD hooks it here.
  StandinD3DObjectCall(d3d);
  parameters = Parameters();
  HRESULT hr = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
  if (FAILED(hr)) device = nullptr;
  VeldmarkEngineTable.renderer_device = reinterpret_cast<void**>(&device);
  return device != nullptr;
}

void RenderFrames(int n) {
  if (!device) return;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < n; ++i) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);
    if (SUCCEEDED(device->BeginScene())) {
      StandinFramePasses();
      device->EndScene();
    }
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  QueryPerformanceCounter(&end);
  if (n > 0)
    last_frame_ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart) / n;
}

long ResetDevice(bool fail) {
  if (!device) return -1;
  parameters = Parameters();
  // An invalid swap effect: Reset refuses the parameters.
  if (fail) parameters.SwapEffect = static_cast<D3DSWAPEFFECT>(0);
  return StandinResetDevice(device, &parameters);
}

bool SaveScreenshot(const std::string& path) {
  if (!device) return false;
  static SaveSurfaceFn save = nullptr;
  if (!save) {
    HMODULE d3dx = LoadLibraryA("d3dx9_27.dll");
    if (d3dx)
      save = reinterpret_cast<SaveSurfaceFn>(
          reinterpret_cast<void*>(GetProcAddress(d3dx, "D3DXSaveSurfaceToFileA")));
    if (!save) return false;
  }
  IDirect3DSurface9* back = nullptr;
  if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return false;
  bool bmp = path.size() >= 4 && _stricmp(path.c_str() + path.size() - 4, ".bmp") == 0;
  HRESULT hr = save(path.c_str(), bmp ? kD3dxBmp : kD3dxPng, back, nullptr, nullptr);
  back->Release();
  return SUCCEEDED(hr);
}

std::string FrameStats() {
  unsigned long references = 0;
  if (device) {
    device->AddRef();
    references = device->Release();
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                       sizeof memory);
  // Wine reports no private usage; the commit charge is what it keeps.
  size_t committed = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  char frame_ms[32];
  std::snprintf(frame_ms, sizeof frame_ms, "%.2f", last_frame_ms);
  return "game: device references " + std::to_string(references) + ", committed bytes " +
         std::to_string(static_cast<unsigned long long>(committed)) + ", last frames " + frame_ms +
         " ms each";
}

void SetEngineState(uint8_t mode, bool query0, bool query3, uint8_t sub_mode) {
  mode_flag = mode;
  mode_query_results[0] = query0;
  mode_query_results[1] = query3;
  sub_mode_flag = sub_mode;
}

void PublishFrameSites() {
  korvel::abi::EngineTable& t = VeldmarkEngineTable;
  t.mode_query = &ModeQuery;
  t.draw_gate = &draw_gate;
  t.mode_flag = &mode_flag;
  t.sub_mode_flag = &sub_mode_flag;
  t.d3d_object_site = StandinD3DObjectSite;
  t.present_routine = reinterpret_cast<void**>(&present_routine);
  t.renderer_device = reinterpret_cast<void**>(&device);
  t.final_pass_site = StandinFinalPassSite;
  t.reset_call_site = StandinResetCallSite;
  t.early_arm_site = StandinEarlyArmSite;
  t.early_point_site = StandinEarlyPointSite;
}

}  // namespace standin
