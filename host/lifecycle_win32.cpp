#include "host/lifecycle_win32.h"

namespace korvel {

// The save/load hooks come with the co-save.
void InstallSaveHooks() {}

}  // namespace korvel
