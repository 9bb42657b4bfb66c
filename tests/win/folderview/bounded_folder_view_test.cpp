#include "core/win32/folder_view/bounded_folder_view.h"

#include <gtest/gtest.h>

#include "folderview/fake_explorer.h"

namespace norv {
namespace {

using namespace std::chrono_literals;
using test::FakeExplorer;

TEST(BoundedFolderViewTest, AHungExplorerCostsADeadlineAndNothingIsSentBehindTheStuckCall) {
  FakeExplorer explorer;
  for (int i = 0; i < 3; ++i) explorer.Add(u"icon", 10, 10 + 80 * i);
  BoundedFolderView view(explorer.Shell(), 1000ms);
  ASSERT_TRUE(view.FindDesktopListView());
  EXPECT_EQ(view.ViewWindow(), explorer.defView());
  const int before = explorer.requests;

  explorer.Hang();
  // Unanswered, as a list-view request that timed out: the read fails, the move is not delivered.
  EXPECT_EQ(view.ReadItems(3), std::nullopt);
  EXPECT_EQ(view.MoveItems(std::vector<IconMove>{{0, {500, 500}}}), 0u);
  EXPECT_FALSE(view.ArrangeIcons());
  // Nothing of ours ends or closes with it.
  EXPECT_TRUE(view.ViewStillExists());

  explorer.Wake();
  // The stuck call came back: the read it belonged to made no further call, the move none at all.
  EXPECT_EQ(view.GetItemCount(), 3);
  EXPECT_EQ(explorer.requests - before, 1);
  EXPECT_TRUE(explorer.moves.empty());
  EXPECT_EQ(explorer.PositionOf(0).x, 10);

  // Explorer answers again, and so does everything.
  ASSERT_TRUE(view.FindDesktopListView());
  ASSERT_EQ(view.ReadItems(3)->size(), 3u);
  EXPECT_EQ(view.MoveItems(std::vector<IconMove>{{0, {500, 500}}}), 1u);
  EXPECT_EQ(explorer.PositionOf(0).x, 500);
}

}  // namespace
}  // namespace norv
