// The HUD's graphics over the game's Direct3D 9 device, with D3DX9 loaded
// at run time from "d3dx9_27.dll" (the HUD variant only; the plain variant
// never loads it). Owns the device reference and the sprite.
#pragma once

#include "hud/hud_graphics.h"

struct IDirect3DDevice9;

namespace korvel {

class D3d9Graphics;

// The one instance; created on first use.
D3d9Graphics& GetD3d9Graphics();
// Takes a counted reference to the game's device (releasing a previous
// one) and makes a new sprite on it. False when D3DX9 is missing.
bool AttachDevice(D3d9Graphics& graphics, IDirect3DDevice9* device);
HudGraphics& AsHudGraphics(D3d9Graphics& graphics);
// Releases the sprite and the device reference (the end of the process).
void DetachDevice(D3d9Graphics& graphics);

}  // namespace korvel
