#include "files/file_search.h"

#include <memory>

#include "base/env.h"

namespace korvel {
namespace {

struct SearchState {
  std::unique_ptr<DirectorySearch> search;  // open when not null
  bool folders = false;
};

SearchState& State() {
  static SearchState state;
  return state;
}

// From the current entry on, the first the mode accepts; closes the search
// when the entries run out first.
std::string Walk() {
  SearchState& s = State();
  while (s.search) {
    const DirectoryEntry& entry = s.search->Current();
    if (entry.is_folder == s.folders) return entry.name;
    if (!s.search->Next()) s.search.reset();
  }
  return {};
}

}  // namespace

std::string StartFileSearch(const std::string& full_mask, bool folders) {
  SearchState& s = State();
  s.search.reset();
  s.search = GetEnv().FindFirst(full_mask);
  s.folders = folders;
  return Walk();
}

std::string ContinueFileSearch() {
  SearchState& s = State();
  if (!s.search) return {};
  if (!s.search->Next()) {
    s.search.reset();
    return {};
  }
  return Walk();
}

void CloseFileSearch() { State().search.reset(); }

}  // namespace korvel
