// How the rows behind arrays and id lists grow.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace korvel {

// Makes room for `want` elements before a row grows, so that running out of
// memory throws before anything changed. A row grows by at least half its
// size, never past `most` (want <= most), so growing one slot at a time
// stays cheap.
template <class Row>
void ReserveForGrowth(Row& row, size_t want, size_t most = SIZE_MAX) {
  if (want <= row.capacity()) return;
  row.reserve(std::min(std::max(want, row.size() + row.size() / 2), most));
}

}  // namespace korvel
