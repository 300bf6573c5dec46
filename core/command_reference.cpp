// The command reference for mod authors (docs/commands.md), from the
// catalogue table.
#include <cstdio>
#include <string>

#include "core/catalogue.h"

namespace korvel {

namespace {
const char* TypeName(ParamType type) {
  switch (type) {
    case ParamType::kString: return "text";
    case ParamType::kInteger: return "integer";
    case ParamType::kFloat: return "float";
    case ParamType::kBaseObject: return "base object";
    case ParamType::kReference: return "reference";
  }
  return "?";
}

std::string FormatNumber(double value) {
  std::string text = std::to_string(value);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}
}  // namespace

std::string CommandReferenceMarkdown() {
  std::string md =
      "# Korvel command reference\n\n"
      "Generated from the command catalogue (`./korvel build` writes it with "
      "`korvel_catalogue --markdown`). Every command returns one number; on an "
      "invalid id or a refused access it changes nothing and returns its "
      "default result.\n\n"
      "| Opcode | Command | Alias | Description | Default result |\n"
      "|---|---|---|---|---|\n";
  for (const CommandEntry& entry : kCatalogue) {
    char opcode[8];
    snprintf(opcode, sizeof opcode, "0x%04X", static_cast<unsigned>(entry.opcode));
    md += std::string("| ") + opcode + " | `" + entry.name + "` | " +
          (entry.alias[0] ? std::string("`") + entry.alias + "`" : std::string()) + " | " +
          entry.help + " | " + FormatNumber(entry.result_preset) + " |\n";
  }
  md += "\n## Parameters\n";
  for (const CommandEntry& entry : kCatalogue) {
    md += std::string("\n### ") + entry.name + "\n\n";
    if (entry.param_count == 0) {
      md += "No parameters.\n";
      continue;
    }
    md += "| # | Parameter | Type | Optional | Default |\n|---|---|---|---|---|\n";
    for (size_t i = 0; i < entry.param_count; ++i) {
      const ParamEntry& p = entry.params[i];
      md += "| " + std::to_string(i + 1) + " | " + p.name + " | " + TypeName(p.type) + " | " +
            (p.optional ? "yes" : "no") + " | " +
            (p.optional ? (p.type == ParamType::kString ? std::string("empty")
                                                        : FormatNumber(p.preset))
                        : std::string()) +
            " |\n";
    }
  }
  return md;
}

}  // namespace korvel
