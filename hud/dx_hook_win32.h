// DXHook: the HUD's hooks on the game's Direct3D device and frame code.
#pragma once

namespace korvel {

// Patches the six frame sites the engine table names, in order: the
// device-object call, the present routine, the final-pass branch, the reset
// call, the early-pass arm and the early-pass point. A site that does not
// hold what the game has there is left alone.
void InstallDxHooks();

}  // namespace korvel
