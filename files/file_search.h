// The one file search of the process, shared by every script: FindFirstFile
// starts it, FindNextFile walks it on, and it closes itself when its
// entries run out. It persists across save and load.
#pragma once

#include <string>

namespace korvel {

// Closes any open search and starts one on a full mask; the first accepted
// entry's bare name (folders only when folders, else files only), empty
// when there is none.
std::string StartFileSearch(const std::string& full_mask, bool folders);
// The next accepted name of the open search; empty when none is open or
// the entries have run out.
std::string ContinueFileSearch();
// Closes the search (process exit and tests).
void CloseFileSearch();

}  // namespace korvel
