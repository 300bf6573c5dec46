// The stand-in game: a game folder with its host, which loads the plug-ins
// in Data\Qarn\Plugins\, starts the game and runs a sim script.
//
// Usage: Veldmark.exe [--host-version N] [--game-version HEX]
//                     [--editor 1.0|1.2|HEX] [--no-engine-table]
//                     [--resolution WxH] [SCRIPT]
// --no-engine-table leaves the exported engine table empty, as an executable
// that is not the game a plug-in knows would.
// Exit status: 0 after a normal run, 2 for a wrong command line or script;
// a plug-in that ends the process chooses its own (non-zero) status.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/frame.h"
#include "game/frame_lines.h"
#include "game/host.h"
#include "game/saves.h"
#include "game/sim_script.h"
#include "game/world.h"

namespace {

std::string ExecutableFolder() {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool ParseUnsigned(const char* text, int base, uint32_t* out) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, base);
  if (!*text || *end) return false;
  *out = static_cast<uint32_t>(value);
  return true;
}

int Usage(const char* why) {
  std::fprintf(stderr, "Veldmark: %s\n", why);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  _setmode(_fileno(stdout), _O_BINARY);
  standin::HostSettings settings;
  std::string script_path;
  bool engine_table = true;
  bool graphics = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool has_value = i + 1 < argc;
    if (arg == "--host-version" && has_value) {
      if (!ParseUnsigned(argv[++i], 10, &settings.host_version)) return Usage("bad --host-version");
    } else if (arg == "--game-version" && has_value) {
      if (!ParseUnsigned(argv[++i], 16, &settings.game_version)) return Usage("bad --game-version");
    } else if (arg == "--editor" && has_value) {
      std::string v = argv[++i];
      settings.editor_flag = 1;
      if (v == "1.0") settings.editor_version = 0x0100012F;
      else if (v == "1.2") settings.editor_version = 0x01020000;
      else if (!ParseUnsigned(v.c_str(), 16, &settings.editor_version)) return Usage("bad --editor");
    } else if (arg == "--resolution" && has_value) {
      uint32_t w = 0, h = 0;
      if (!standin::ParseResolution(argv[++i], &w, &h)) return Usage("bad --resolution");
      standin::SetResolution(w, h);
      graphics = true;
    } else if (arg == "--no-engine-table") {
      engine_table = false;
    } else if (arg.rfind("--", 0) == 0) {
      return Usage(("unknown option " + arg).c_str());
    } else if (script_path.empty()) {
      script_path = arg;
    } else {
      return Usage("only one script");
    }
  }

  std::vector<standin::ScriptLine> lines;
  std::string error;
  if (!script_path.empty() && (!standin::ParseScript(script_path, &lines, &error) ||
                               !standin::SetUpWorld(lines, &error))) {
    std::fprintf(stderr, "%s: %s\n", script_path.c_str(), error.c_str());
    return 2;
  }

  std::string game = ExecutableFolder();
  std::string documents = game + "Documents";
  CreateDirectoryA(documents.c_str(), nullptr);
  if (engine_table) {
    standin::InitEngineTable();
    standin::PublishFrameSites();
  }
  standin::PublishSaveSites();
  std::string saves = documents + "\\My Games\\Veldmark\\Saves\\";
  for (size_t i = documents.size() + 1; i < saves.size(); ++i)
    if (saves[i] == '\\') CreateDirectoryA(saves.substr(0, i).c_str(), nullptr);
  standin::SetSavesFolder(saves);
  standin::InstallProcessHooks(documents);

  standin::Host host(settings);
  host.LoadPlugins(game + "Data\\Qarn\\Plugins\\");
  if (!settings.editor_flag) host.GameStarted();
  // The game makes its device at start when it is to draw: a script that
  // renders frames, or a chosen resolution.
  if (graphics || standin::ScriptDraws(lines)) standin::StartGraphics();

  if (!lines.empty() && !standin::RunScript(lines, settings.editor_flag != 0, &error)) {
    std::fprintf(stderr, "%s: %s\n", script_path.c_str(), error.c_str());
    return 2;
  }
  return 0;
}
