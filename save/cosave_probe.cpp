#include <cstring>

#include "host/env.h"
#include "save/cosave_io.h"

namespace korvel {

CoSaveState& GetCoSaveState() {
  static CoSaveState state;
  return state;
}

// The match value sits behind two byte-counted fields of the game save's
// header: at 42 a length and its bytes, 2 bytes, a second length and its
// bytes, 4 bytes, then the u32.
void ProbeSaveHeader(const std::string& save_name) {
  uint32_t& value = GetCoSaveState().save_match;
  value = 0xFFFFFFFF;
  std::string head;
  // 42 + 1 + 255 + 2 + 1 + 255 + 4 + 4 bytes at most.
  if (!GetEnv().ReadFileRange(save_name, 0, 564, &head)) return;
  size_t pos = 42;
  if (pos >= head.size()) return;
  pos += 1 + static_cast<uint8_t>(head[pos]) + 2;
  if (pos >= head.size()) return;
  pos += 1 + static_cast<uint8_t>(head[pos]) + 4;
  if (pos + 4 > head.size()) return;
  std::memcpy(&value, head.data() + pos, 4);
}

}  // namespace korvel
