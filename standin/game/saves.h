// The stand-in game's saves, made the way the game makes them: through its
// imported CreateFileA and CloseHandle, and through its rename, delete and
// reset code points.
#pragma once

#include <string>

namespace standin {

void SetSavesFolder(const std::string& folder);  // ends in "\"
const std::string& SavesFolder();

// "name" or "name.ext": a save file name inside the saves folder; a name
// without extension gets ".ess".
std::string SavePath(const std::string& name);

bool SaveGame(const std::string& name);   // write-only create, then read/write update
bool LoadGame(const std::string& name);   // read-only open reading the whole save
bool PeekGame(const std::string& name);   // read-only open reading the header only
bool RenameSave(const std::string& from, const std::string& to);
bool DeleteSave(const std::string& name);
void ResetPoint();

// Fills the engine table's import slots and code sites.
void PublishSaveSites();

}  // namespace standin
