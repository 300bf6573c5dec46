// The hooks on the game's file traffic that drive the co-save.
#pragma once

namespace korvel {

// Replaces the game's CreateFileA and CloseHandle imports and patches the
// rename, delete and reset sites.
void InstallSaveHooks();

}  // namespace korvel
