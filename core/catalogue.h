// The command catalogue in registration order (catalogue.cpp).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/command.h"

namespace korvel {

inline constexpr size_t kCommandCount = 0
#define KORVEL_COMMAND(...) +1
#include "core/catalogue.def"
    ;
extern const CommandEntry kCatalogue[kCommandCount];

// The command whose name or alias equals name, ignoring letter case; null
// when none.
const CommandEntry* FindCommand(std::string_view name);
const CommandEntry* FindCommandByOpcode(uint16_t opcode);

// The opcode bases the load sets, each followed by a run of registrations.
struct OpcodeBlock {
  uint16_t base;
  size_t first;  // index into kCatalogue
  size_t count;
};
inline constexpr OpcodeBlock kOpcodeBlocks[] = {
    {0x2330, 0, 32}, {0x2378, 32, 32}, {0x23B0, 64, 61}, {0x23FF, 125, 1}};

// The command reference for mod authors, in Markdown (docs/commands.md).
std::string CommandReferenceMarkdown();

}  // namespace korvel
