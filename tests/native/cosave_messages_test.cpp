#include "save/cosave_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace korvel {
namespace {

TEST(CoSaveFormat, Messages) {
  EXPECT_EQ(CoSaveCorruptedMessage("a.korvel"),
            "a.korvel could not be read (file is probably corrupted). Please try a different save.");
  EXPECT_EQ(CoSaveUnknownVersionMessage("a.korvel"),
            "a.korvel has an unknown Korvel savefile version! Please update Korvel.");
  EXPECT_EQ(CoSaveWriteFailedMessage("a.ess"), "a.ess could not be saved !");
  const std::string mismatch = CoSaveMismatchMessage("a.korvel", "b.ess");
  EXPECT_EQ(mismatch,
            "a.korvel\r\n\r\nKorvel co-save doesn't seem to match\r\n\r\nb.ess\r\n\r\n\r\n"
            "The Korvel data is being ignored/zeroed, and will basically be overwritten when you "
            "save again.\r\n\r\n"
            "Most likely, it means you were playing without Korvel. Other explanations - it could "
            "be mismatched files from moving saves around, or a Save Manager did something I "
            "wasn't expecting.\r\n\r\n"
            "You won't see this message again until you restart Veldmark.\r\n\r\n\r\n"
            "Oh, also, you're probably seeing a light-blue/sky screen shot right now. You can "
            "ignore it - just press OK and the game will load properly.");
  struct Case {
    CoSaveReadStatus status;
    std::string text, button;
  } cases[] = {
      {CoSaveReadStatus::kOk, "", ""},
      {CoSaveReadStatus::kCorrupted, CoSaveCorruptedMessage("a.korvel"), ""},
      {CoSaveReadStatus::kUnknownVersion, CoSaveUnknownVersionMessage("a.korvel"), ""},
      {CoSaveReadStatus::kMismatch, mismatch, "OK"},
  };
  for (const Case& c : cases) {
    CoSaveNotice notice = CoSaveReadNotice(c.status, "a.korvel", "b.ess");
    EXPECT_EQ(notice.text, c.text);
    EXPECT_EQ(notice.button, c.button);
  }
}

}  // namespace
}  // namespace korvel
