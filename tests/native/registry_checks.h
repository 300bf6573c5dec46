// Whether an id list is whole: its used range, NextFree and High agree with
// the slots, whatever happened to it (hostile calls, damaged co-saves).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace korvel {

template <class List>
void ExpectWhole(List& list, const std::string& where) {
  if (list.empty()) {
    EXPECT_EQ(list.min_used(), -1) << where;
    EXPECT_EQ(list.max_used(), -2) << where;
    return;
  }
  EXPECT_NE(list.Get(list.min_used()), nullptr) << where;
  EXPECT_NE(list.Get(list.max_used()), nullptr) << where;
  EXPECT_LE(list.max_used(), list.high()) << where;
  if (list.next_free() >= 0) {
    EXPECT_TRUE(list.IsInvalid(list.next_free())) << where;
    for (int32_t i = std::max(0, list.min_used()); i < list.next_free(); ++i)
      ASSERT_NE(list.Get(i), nullptr) << where << " slot " << i;
  }
}

}  // namespace korvel
