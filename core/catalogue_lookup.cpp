#include "core/catalogue.h"
#include "base/text.h"

namespace korvel {

const CommandEntry* FindCommand(std::string_view name) {
  for (const CommandEntry& entry : kCatalogue) {
    if (EqualsIgnoreCase(entry.name, name)) return &entry;
    if (entry.alias[0] != '\0' && EqualsIgnoreCase(entry.alias, name)) return &entry;
  }
  return nullptr;
}

const CommandEntry* FindCommandByOpcode(uint16_t opcode) {
  for (const CommandEntry& entry : kCatalogue)
    if (entry.opcode == opcode) return &entry;
  return nullptr;
}

}  // namespace korvel
