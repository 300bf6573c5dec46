// The messages a co-save shows the player; file names are given without
// folder.
#pragma once

#include <string>
#include <string_view>

#include "save/cosave_decoder.h"

namespace korvel {

// Of the read messages only the mismatch has a button label ("OK"); the
// failed write has "Ok".
std::string CoSaveCorruptedMessage(std::string_view cosave_name);
std::string CoSaveUnknownVersionMessage(std::string_view cosave_name);
std::string CoSaveMismatchMessage(std::string_view cosave_name, std::string_view save_name);
std::string CoSaveWriteFailedMessage(std::string_view save_name);

// The message a read with the given status shows, with its button label
// ("" for none); an empty text for kOk. Whether a mismatch is shown again
// is the caller's (it is shown once per run).
struct CoSaveNotice {
  std::string text;
  std::string button;
};
CoSaveNotice CoSaveReadNotice(CoSaveReadStatus status, std::string_view cosave_name,
                              std::string_view save_name);

}  // namespace korvel
