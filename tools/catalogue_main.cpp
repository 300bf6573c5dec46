// Prints the command reference (docs/commands.md) from the catalogue table.
#include <cstdio>
#include <cstring>

#include "core/catalogue.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--markdown") == 0) {
    std::fputs(korvel::CommandReferenceMarkdown().c_str(), stdout);
    return 0;
  }
  std::fprintf(stderr, "usage: korvel_catalogue --markdown\n");
  return 2;
}
