#include "base/flags.h"

namespace korvel {

ProcessFlags& GetFlags() {
  static ProcessFlags flags;
  return flags;
}

}  // namespace korvel
