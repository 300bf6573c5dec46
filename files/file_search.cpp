#include "files/file_search.h"

#include <memory>

#include "base/env.h"
#include "files/paths.h"

namespace korvel {
namespace {

// Which entries of a search below a base folder may be seen: "." and ".."
// always (they are names, not followed), any other entry when it stays
// inside the base where the file system really puts it.
class EntryFence {
 public:
  EntryFence(const std::string& full_mask, int32_t root_id) : base_(root_id) {
    size_t cut = full_mask.find_last_of('\\');
    std::string folder = cut == std::string::npos ? std::string() : full_mask.substr(0, cut + 1);
    resolvable_ = GetEnv().FullPath(folder, &folder_);
    if (resolvable_ && (folder_.empty() || folder_.back() != '\\')) folder_ += '\\';
  }
  bool Admits(const DirectoryEntry& entry) const {
    if (entry.name == "." || entry.name == "..") return true;
    return resolvable_ && base_.Holds(folder_ + entry.name, false);
  }

 private:
  RealBase base_;
  std::string folder_;  // the resolved folder of the mask, ending in "\"
  bool resolvable_ = false;
};

struct SearchState {
  std::unique_ptr<DirectorySearch> search;  // open when not null
  std::unique_ptr<EntryFence> fence;
  bool folders = false;
};

SearchState& State() {
  static SearchState state;
  return state;
}

// From the current entry on, the first the mode and the fence accept;
// closes the search when the entries run out first.
std::string Walk() {
  SearchState& s = State();
  while (s.search) {
    const DirectoryEntry& entry = s.search->Current();
    if (entry.is_folder == s.folders && s.fence->Admits(entry)) return entry.name;
    if (!s.search->Next()) s.search.reset();
  }
  return {};
}

}  // namespace

std::string StartFileSearch(const std::string& full_mask, bool folders, int32_t root_id) {
  SearchState& s = State();
  s.search.reset();
  s.fence = std::make_unique<EntryFence>(full_mask, root_id);
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

std::optional<uint64_t> FirstMatchSize(const std::string& full_mask, int32_t root_id) {
  std::unique_ptr<DirectorySearch> search = GetEnv().FindFirst(full_mask);
  if (!search) return std::nullopt;
  EntryFence fence(full_mask, root_id);
  do {
    if (fence.Admits(search->Current())) return search->Current().size;
  } while (search->Next());
  return std::nullopt;
}

}  // namespace korvel
