// The hooks on the game's file traffic that drive the co-save, and the
// process end.
#pragma once

namespace korvel {

// Replaces the game's CreateFileA and CloseHandle imports and patches the
// rename, delete and reset sites.
void InstallSaveHooks();

// Shows message in an "Error" box and ends the process in order.
[[noreturn]] void FailAndHalt(const char* message);
// Ends the process in order, without a message.
[[noreturn]] void HaltGame();

}  // namespace korvel
