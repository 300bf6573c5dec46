#include "save/save_header_probe.h"

#include "base/env.h"
#include "base/le_bytes.h"
#include "save/cosave_format.h"
#include "save/cosave_io.h"

namespace korvel {

uint32_t ProbeSaveMatch(std::string_view header) {
  size_t pos = 42;
  if (pos >= header.size()) return kUnknownSaveMatch;
  pos += 1 + static_cast<uint8_t>(header[pos]) + 2;
  if (pos >= header.size()) return kUnknownSaveMatch;
  pos += 1 + static_cast<uint8_t>(header[pos]) + 4;
  if (pos > header.size() || header.size() - pos < 4) return kUnknownSaveMatch;
  return LoadU32(header.data() + pos);
}

void ProbeSaveHeader(const std::string& save_name) {
  std::string head;
  GetCoSaveState().save_match = GetEnv().ReadFileRange(save_name, 0, kSaveHeaderProbeBytes, &head)
                                    ? ProbeSaveMatch(head)
                                    : kUnknownSaveMatch;
}

}  // namespace korvel
