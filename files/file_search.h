// The one file search of the process, shared by every script: FindFirstFile
// starts it, FindNextFile walks it on, and it closes itself when its
// entries run out. It persists across save and load.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvel {

// Closes any open search and starts one on a full mask below the base
// folder of root_id; the first accepted entry's bare name (folders only
// when folders, else files only), empty when there is none. Below the
// user-file root an entry that is a link leading out of it is passed over,
// as if it were not there.
std::string StartFileSearch(const std::string& full_mask, bool folders, int32_t root_id);
// The next accepted name of the open search; empty when none is open or
// the entries have run out.
std::string ContinueFileSearch();
// Closes the search (process exit and tests).
void CloseFileSearch();

// The size of the first entry matching a full mask below the base folder
// of root_id, passing over links leading out of the user-file root as the
// search does; nothing when no entry is left. Leaves the shared search
// alone.
std::optional<uint64_t> FirstMatchSize(const std::string& full_mask, int32_t root_id);

}  // namespace korvel
