#pragma once

// The two ways to the test desktop as the parameter of a test suite:
//   class SomePathTest : public OnDeskPath<SomeFixture> {};  // SomeFixture starts its desktop
//   TEST_P(SomePathTest, ...)                                 // on Path()
//   INSTANTIATE_TEST_SUITE_P(Paths, SomePathTest, kBothDeskPaths, DeskPathName);
#include <gtest/gtest.h>

#include <string>

#include "support/test_desk.h"

namespace norv::wintest {

inline const auto kBothDeskPaths = testing::Values(DeskPath::kListView, DeskPath::kFolderView);

inline std::string DeskPathName(const testing::TestParamInfo<DeskPath>& info) {
  return NameOf(info.param);
}

// A fixture whose test desktop takes the path the test is run with.
template <class Fixture>
class OnDeskPath : public Fixture, public testing::WithParamInterface<DeskPath> {
 protected:
  DeskPath Path() const override { return this->GetParam(); }
};

}  // namespace norv::wintest
