// The sim lines that drive the Direct3D frame: frame, screenshot,
// reset-device and engine-state (docs/sim.md).
#include "game/frame_lines.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "game/frame.h"
#include "game/world.h"

namespace standin {
namespace {

bool Is(const Token& token, const char* word) {
  return token.kind == Token::kWord && _stricmp(token.text.c_str(), word) == 0;
}

// A whole number 0..limit written as a number token.
bool Whole(const Token& token, long limit, long* out) {
  if (token.kind != Token::kNumber) return false;
  char* end = nullptr;
  double v = std::strtod(token.text.c_str(), &end);
  if (*end || v < 0 || v > limit || v != std::floor(v)) return false;
  *out = static_cast<long>(v);
  return true;
}

std::string GameFolder() {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

}  // namespace

bool IsFrameLine(const std::vector<Token>& t) {
  return !t.empty() && (Is(t[0], "frame") || Is(t[0], "screenshot") || Is(t[0], "reset-device") ||
                        Is(t[0], "engine-state") || Is(t[0], "frame-stats"));
}

bool ScriptDraws(const std::vector<ScriptLine>& lines) {
  for (const ScriptLine& line : lines)
    if (IsFrameLine(line.tokens) && !Is(line.tokens[0], "engine-state") &&
        !Is(line.tokens[0], "frame-stats"))
      return true;
  return false;
}

bool RunFrameLine(const std::vector<Token>& t, std::string* why) {
  if (Is(t[0], "frame")) {
    long n = 1;
    if (t.size() > 2 || (t.size() == 2 && !Whole(t[1], 100000, &n))) {
      *why = "usage: frame [N]";
      return false;
    }
    if (!StartGraphics()) World::Print("game: no Direct3D device");
    RenderFrames(static_cast<int>(n));
    return true;
  }
  if (Is(t[0], "screenshot")) {
    if (t.size() != 2 || t[1].kind == Token::kForm || t[1].text.empty()) {
      *why = "usage: screenshot FILE.png";
      return false;
    }
    std::string path = IsAbsolute(t[1].text) ? t[1].text : GameFolder() + t[1].text;
    if (!SaveScreenshot(path)) World::Print("game: cannot save screenshot " + t[1].text);
    return true;
  }
  if (Is(t[0], "reset-device")) {
    bool fail = t.size() == 2 && Is(t[1], "fail");
    if (t.size() > 2 || (t.size() == 2 && !fail)) {
      *why = "usage: reset-device [fail]";
      return false;
    }
    long result = ResetDevice(fail);
    if (result != 0) {
      char text[64];
      std::snprintf(text, sizeof text, "game: device reset failed (%08lX)", static_cast<unsigned long>(result));
      World::Print(text);
    }
    return true;
  }
  if (Is(t[0], "frame-stats")) {
    if (t.size() != 1) {
      *why = "usage: frame-stats";
      return false;
    }
    World::Print(FrameStats());
    return true;
  }
  // engine-state MODEFLAG QUERY0 QUERY3 SUBMODE
  long v[4];
  if (t.size() != 5 || !Whole(t[1], 255, &v[0]) || !Whole(t[2], 1, &v[1]) ||
      !Whole(t[3], 1, &v[2]) || !Whole(t[4], 255, &v[3])) {
    *why = "usage: engine-state MODEFLAG QUERY0 QUERY3 SUBMODE";
    return false;
  }
  SetEngineState(static_cast<uint8_t>(v[0]), v[1] != 0, v[2] != 0, static_cast<uint8_t>(v[3]));
  return true;
}

}  // namespace standin
