// The real environment: Win32 files, folders, path resolution and clock.
#pragma once

#include "base/env.h"

namespace korvel {

Env* Win32Env();

}  // namespace korvel
