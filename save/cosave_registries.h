// The bridge between the live registries and the co-save codec: gathering
// the mods, strings, arrays and name overrides into an encoder, and
// restoring them from a decoded file.
#pragma once

#include <cstdint>
#include <string_view>

#include "save/cosave_decoder.h"
#include "save/cosave_encoder.h"

namespace korvel {

// Adds the registries' sections to encoder in file order: mods, strings,
// one section per array, name overrides; each only when it holds something,
// strings and arrays from the highest id down.
void GatherRegistries(CoSaveEncoder& encoder);

// Decodes file into the registries, which the caller has cleared: objects
// come back at their ids, references follow the current load order. What
// was restored before a failure stays.
CoSaveReadStatus RestoreRegistries(CoSaveSource& source, uint32_t probed_match);
CoSaveReadStatus RestoreRegistries(std::string_view file, uint32_t probed_match);

// True when a co-save would hold more than the mod list.
bool SomethingToSave();
// Clears strings (with the temporaries), arrays and name overrides.
void ClearAllObjects();

}  // namespace korvel
