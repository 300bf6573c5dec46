#include "base/env.h"
#include "save/cosave_format.h"
#include "save/cosave_io.h"

namespace korvel {

CoSaveState& GetCoSaveState() {
  static CoSaveState state;
  return state;
}

void ProbeSaveHeader(const std::string& save_name) {
  std::string head;
  GetCoSaveState().save_match = GetEnv().ReadFileRange(save_name, 0, kSaveHeaderProbeBytes, &head)
                                    ? ProbeSaveMatch(head)
                                    : 0xFFFFFFFF;
}

}  // namespace korvel
