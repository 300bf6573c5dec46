// The game engine and the companion library as the plug-in reaches them in
// the game process.
#pragma once

#include "core/companion_abi_win32.h"
#include "base/engine.h"
#include "core/engine_table_win32.h"

namespace korvel {

// The engine pointer table of the running game; null before it is found.
abi::EngineTable* EngineTableOrNull();
// Looks the table up in the host executable; false when it is missing.
bool FindEngineTable();

// The loaded companion library's exports; all null until it is loaded.
abi::Companion& GetCompanion();

// Loads and checks the companion library; on failure returns the message to
// show and leaves the library unloaded.
const char* LoadCompanion(const std::string& path);
void ReleaseCompanion();

// The Engine interface over the table and the companion.
Engine* Win32Engine();

}  // namespace korvel
