#include "save/cosave_messages.h"

namespace korvel {

std::string CoSaveCorruptedMessage(std::string_view cosave_name) {
  return std::string(cosave_name) +
         " could not be read (file is probably corrupted). Please try a different save.";
}

std::string CoSaveUnknownVersionMessage(std::string_view cosave_name) {
  return std::string(cosave_name) + " has an unknown Korvel savefile version! Please update Korvel.";
}

std::string CoSaveMismatchMessage(std::string_view cosave_name, std::string_view save_name) {
  const std::string nl = "\r\n";
  std::string m(cosave_name);
  m += nl + nl + "Korvel co-save doesn't seem to match" + nl + nl;
  m += save_name;
  m += nl + nl + nl +
       "The Korvel data is being ignored/zeroed, and will basically be overwritten when you save "
       "again." +
       nl + nl +
       "Most likely, it means you were playing without Korvel. Other explanations - it could be "
       "mismatched files from moving saves around, or a Save Manager did something I wasn't "
       "expecting." +
       nl + nl + "You won't see this message again until you restart Veldmark." + nl + nl + nl +
       "Oh, also, you're probably seeing a light-blue/sky screen shot right now. You can ignore it "
       "- just press OK and the game will load properly.";
  return m;
}

std::string CoSaveWriteFailedMessage(std::string_view save_name) {
  return std::string(save_name) + " could not be saved !";
}

CoSaveNotice CoSaveReadNotice(CoSaveReadStatus status, std::string_view cosave_name,
                              std::string_view save_name) {
  switch (status) {
    case CoSaveReadStatus::kOk: return {};
    case CoSaveReadStatus::kCorrupted: return {CoSaveCorruptedMessage(cosave_name), ""};
    case CoSaveReadStatus::kUnknownVersion: return {CoSaveUnknownVersionMessage(cosave_name), ""};
    case CoSaveReadStatus::kMismatch: return {CoSaveMismatchMessage(cosave_name, save_name), "OK"};
  }
  return {};
}

}  // namespace korvel
