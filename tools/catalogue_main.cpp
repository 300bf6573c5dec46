// Prints the command reference (docs/commands.md) from the catalogue table,
// or checks that a file holds exactly that reference.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "core/catalogue.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--markdown") == 0) {
    std::fputs(korvel::CommandReferenceMarkdown().c_str(), stdout);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--check") == 0) {
    std::ifstream in(argv[2], std::ios::binary);
    std::string held((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || !in.is_open() || held != korvel::CommandReferenceMarkdown()) {
      std::fprintf(stderr,
                   "%s is not what the catalogue generates; run ./korvel docs to rewrite it\n",
                   argv[2]);
      return 1;
    }
    return 0;
  }
  std::fprintf(stderr, "usage: korvel_catalogue --markdown | --check FILE\n");
  return 2;
}
