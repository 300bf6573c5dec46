// The stand-in game's Direct3D 9 frame: its window and device, the frame
// code with the HUD's sites (early-pass arm and point, final-pass branch),
// the device reset through the game's reset call, and the engine values
// that make the HUD's situation.
#pragma once

#include <cstdint>
#include <string>

namespace standin {

// The back-buffer size the device is made with (default 800 x 600).
void SetResolution(uint32_t width, uint32_t height);
bool ParseResolution(const std::string& text, uint32_t* width, uint32_t* height);

// Makes the window, the IDirect3D9 object (through the device-object call
// site) and the device. False when there is no display or no Direct3D.
bool StartGraphics();
bool GraphicsStarted();

// Renders n frames: clear to opaque black, the early pass, the final pass,
// present.
void RenderFrames(int n);
// Resets the device through the game's reset call; with fail the
// presentation parameters are invalid and Reset fails. The Reset result.
long ResetDevice(bool fail);
// Saves the back buffer of the last frame (".png" or ".bmp").
bool SaveScreenshot(const std::string& path);

// "game: device references N, committed bytes M, last frames T ms each":
// the references the device holds (one per live texture, font, sprite and
// user of the device), the memory the process has committed, and the time
// per frame of the last `frame` line.
std::string FrameStats();

// The engine values the HUD reads for its situation.
void SetEngineState(uint8_t mode_flag, bool query0, bool query3, uint8_t sub_mode);

// Fills the engine table's frame entries and engine values.
void PublishFrameSites();

}  // namespace standin
