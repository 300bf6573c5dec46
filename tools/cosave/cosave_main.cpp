// korvel-cosave: looks inside Korvel's co-save files (".korvel").
//
//   korvel-cosave verify FILE...          check each file; exit 1 if any is damaged
//   korvel-cosave dump FILE               the whole co-save as JSON
//   korvel-cosave build JSON OUT          the co-save a dump describes
//   korvel-cosave stats FILE              what each mod keeps, largest first
//   korvel-cosave diff A B                what changed from A to B
//   korvel-cosave prune FILE --mod NAME   take one mod's objects out (FILE.bak keeps the original)
//
// Exit status: 0 done (diff: no differences), 1 a damaged file or
// differences found, 2 wrong use or input that cannot be read.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "save/cosave_image.h"
#include "tools/cosave/cosave_json.h"
#include "tools/cosave/cosave_report.h"

namespace {

using namespace korvel;
using namespace korvel::cosave_tool;

constexpr int kDone = 0, kFound = 1, kTrouble = 2;

bool ReadFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *bytes = std::move(all).str();
  return !in.bad();
}

// Writes a file whole: to a neighbour first, then renamed over the target,
// so that a failed write leaves no half file.
bool WriteFile(const std::string& path, const std::string& bytes) {
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
      std::remove(part.c_str());
      return false;
    }
  }
  // std::filesystem::rename replaces an existing target on Windows too.
  std::error_code failed;
  std::filesystem::rename(part, path, failed);
  if (failed) {
    std::remove(part.c_str());
    return false;
  }
  return true;
}

// Reads and decodes a co-save; on failure says why on standard error.
bool Load(const std::string& path, CoSaveImage* image, std::string* bytes = nullptr) {
  std::string local;
  std::string& file = bytes ? *bytes : local;
  if (!ReadFile(path, &file)) {
    std::cerr << path << ": cannot be read\n";
    return false;
  }
  CoSaveReadError error;
  if (DecodeCoSaveImage(file, kUnknownSaveMatch, image, &error) != CoSaveReadStatus::kOk) {
    std::cerr << path << ": damaged at offset " << error.offset << ": " << error.what << "\n";
    return false;
  }
  return true;
}

int Verify(const std::vector<std::string>& files) {
  int status = kDone;
  for (const std::string& path : files) {
    std::string bytes;
    if (!ReadFile(path, &bytes)) {
      std::cout << path << ": cannot be read\n";
      status = kFound;
      continue;
    }
    CoSaveImage image;
    CoSaveReadError error;
    if (DecodeCoSaveImage(bytes, kUnknownSaveMatch, &image, &error) != CoSaveReadStatus::kOk) {
      std::cout << path << ": damaged at offset " << error.offset << ": " << error.what << "\n";
      status = kFound;
    } else {
      std::cout << path << ": sound\n";
    }
  }
  return status;
}

int Dump(const std::string& path) {
  CoSaveImage image;
  if (!Load(path, &image)) return kTrouble;
  std::cout << ImageToJson(image).dump(1) << "\n";
  return kDone;
}

int Build(const std::string& json_path, const std::string& out_path) {
  std::string text;
  if (!ReadFile(json_path, &text)) {
    std::cerr << json_path << ": cannot be read\n";
    return kTrouble;
  }
  Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded()) {
    std::cerr << json_path << ": not JSON\n";
    return kTrouble;
  }
  CoSaveImage image;
  std::string why;
  if (!JsonToImage(json, &image, &why)) {
    std::cerr << json_path << ": " << why << "\n";
    return kTrouble;
  }
  if (!WriteFile(out_path, EncodeCoSaveImage(image))) {
    std::cerr << out_path << ": cannot be written\n";
    return kTrouble;
  }
  return kDone;
}

int Stats(const std::string& path) {
  CoSaveImage image;
  std::string bytes;
  if (!Load(path, &image, &bytes)) return kTrouble;
  std::cout << UsageReport(MeasureUsage(image), bytes.size());
  return kDone;
}

int Diff(const std::string& a_path, const std::string& b_path) {
  CoSaveImage a, b;
  if (!Load(a_path, &a) || !Load(b_path, &b)) return kTrouble;
  std::vector<std::string> lines = Differences(a, b);
  for (const std::string& line : lines) std::cout << line << "\n";
  return lines.empty() ? kDone : kFound;
}

int Prune(const std::string& path, const std::string& mod) {
  CoSaveImage image;
  if (!Load(path, &image)) return kTrouble;
  std::vector<std::string> warnings;
  if (!PruneMod(&image, mod, &warnings)) {
    std::cerr << path << ": no mod named " << mod << "\n";
    return kTrouble;
  }
  const std::string pruned = EncodeCoSaveImage(image);
  // The result must read back as exactly what was meant before anything is
  // written.
  CoSaveImage check;
  if (DecodeCoSaveImage(pruned, kUnknownSaveMatch, &check) != CoSaveReadStatus::kOk) {
    std::cerr << path << ": the pruned co-save would not verify; nothing written\n";
    return kTrouble;
  }
  std::string original;
  if (!ReadFile(path, &original) || !WriteFile(path + ".bak", original)) {
    std::cerr << path << ".bak: the backup cannot be written; nothing changed\n";
    return kTrouble;
  }
  if (!WriteFile(path, pruned)) {
    std::cerr << path << ": cannot be written; the original is unchanged\n";
    return kTrouble;
  }
  for (const std::string& w : warnings) std::cout << "warning: " << w << "\n";
  std::cout << path << ": " << mod << " pruned; the original is " << path << ".bak\n";
  return kDone;
}

int Usage() {
  std::cerr << "usage: korvel-cosave verify FILE... | dump FILE | build JSON OUT | stats FILE |\n"
               "                     diff A B | prune FILE --mod NAME\n";
  return kTrouble;
}

int Main(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::string& verb = args[0];
  const size_t n = args.size() - 1;
  if (verb == "verify" && n >= 1) return Verify({args.begin() + 1, args.end()});
  if (verb == "dump" && n == 1) return Dump(args[1]);
  if (verb == "build" && n == 2) return Build(args[1], args[2]);
  if (verb == "stats" && n == 1) return Stats(args[1]);
  if (verb == "diff" && n == 2) return Diff(args[1], args[2]);
  if (verb == "prune" && n == 3 && args[2] == "--mod") return Prune(args[1], args[3]);
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main({argv + 1, argv + argc});
  } catch (const std::exception& e) {
    std::cerr << "korvel-cosave: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "korvel-cosave: failed\n";
  }
  return kTrouble;
}
