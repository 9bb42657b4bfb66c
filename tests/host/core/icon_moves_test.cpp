#include "core/icon_moves.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "core/icon_table.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;

// Three icons of the last snapshot.
struct Desk {
  FakePlatform p;
  Desk() {
    p.desktop.Add(u"a", 10, 10);
    p.desktop.Add(u"b", 10, 90);
    p.desktop.Add(u"c", 10, 170);
    EXPECT_TRUE(SnapshotDesktop(p.state.table, p.services));
    p.desktop.ResetCounters();
  }
  MoveOutcome Move(OnNewDesktop rule) {
    // Icon i to (100 * (i + 1), 500): a plan that follows from the table it is given.
    const MovePlan spreadOut = [](const IconTable& table) {
      std::vector<IconMove> moves;
      for (int32_t i = 0; i < table.itemCount; ++i) moves.push_back({i, {100 * (i + 1), 500}});
      return moves;
    };
    return MoveIcons(p.state.table, p.services, spreadOut, rule);
  }
  std::vector<Point> Positions() const {
    std::vector<Point> positions;
    for (const auto& item : p.desktop.items) positions.push_back(item.position);
    return positions;
  }
};

TEST(IconMovesTest, OnADesktopTheShellReplacedMidWayTheRuleDecides) {
  struct Case {
    OnNewDesktop rule;
    std::vector<Point> positions;  // of the new desktop's four icons afterwards
    bool allDelivered;
  };
  for (const Case& c : std::vector<Case>{
           // The new desktop shows the places of before the command: the first move is lost.
           {OnNewDesktop::kStop, {{10, 10}, {10, 90}, {10, 170}, {10, 250}}, false},
           // The old plan again from its first move: the new fourth icon has no move in it.
           {OnNewDesktop::kResendByIndex, {{100, 500}, {200, 500}, {300, 500}, {10, 250}}, true},
           // Planned again from a snapshot of the new desktop, all four icons.
           {OnNewDesktop::kPlanAgain, {{100, 500}, {200, 500}, {300, 500}, {400, 500}}, true},
       }) {
    // The new view comes at once, or only seconds later (Explorer takes its time).
    for (const int waitsForNewView : {0, 8}) {
      SCOPED_TRACE(testing::Message() << static_cast<int>(c.rule) << " " << waitsForNewView);
      Desk d;
      d.p.desktop.Add(u"d", 10, 250);
      d.p.desktop.replaceViewAtMove = 1;  // the shell restarts after the first move
      d.p.desktop.positionsOfNewView = d.Positions();
      d.p.desktop.replaceLeavesNoView = waitsForNewView > 0;
      d.p.pause.during = [&] {
        if (static_cast<int>(d.p.pause.waits.size()) == waitsForNewView) d.p.desktop.present = true;
      };
      const MoveOutcome moved = d.Move(c.rule);
      EXPECT_EQ(d.Positions(), c.positions);
      EXPECT_TRUE(moved.desktopReplaced);
      EXPECT_EQ(moved.allDelivered, c.allDelivered);
    }
  }
}

TEST(IconMovesTest, ANewDesktopThatNeverComesStopsTheMovesQuietlyAfterSeconds) {
  for (const OnNewDesktop rule :
       {OnNewDesktop::kStop, OnNewDesktop::kResendByIndex, OnNewDesktop::kPlanAgain}) {
    SCOPED_TRACE(static_cast<int>(rule));
    Desk d;
    d.p.desktop.replaceViewAtMove = 1;
    d.p.desktop.replaceLeavesNoView = true;
    const MoveOutcome moved = d.Move(rule);
    EXPECT_EQ(moved.delivered, 1);
    EXPECT_FALSE(moved.allDelivered);
    EXPECT_TRUE(d.p.messages.shown.empty());
    EXPECT_EQ(d.p.state.table.itemCount, 3) << "the last complete table stays";
    int waited = 0;
    for (int ms : d.p.pause.waits) waited += ms;
    // The user chose those icons: nothing is waited for.
    EXPECT_EQ(waited >= 5000, rule != OnNewDesktop::kStop);
  }
}

TEST(IconMovesTest, MovesGoInOneBatchPerViewThatEndsWhateverBecomesOfThem) {
  struct Case {
    const char* what;
    std::function<void(test::SimulatedDesktop&)> arrange;
    int batches;         // begun, and as many ended
    int unpaintedMoves;  // moves the view carried out inside a batch
  };
  for (const Case& c : std::vector<Case>{
           {"all delivered", {}, 1, 3},
           {"a move fails", [](auto& desktop) { desktop.failMoveAt = 1; }, 1, 1},
           // The new desktop's four moves get a batch of their own.
           {"the view is replaced",
            [](auto& desktop) {
              desktop.Add(u"d", 10, 250);
              desktop.replaceViewAtMove = 1;
            },
            2, 5},
           {"a move throws", [](auto& desktop) { desktop.throwAtMove = 1; }, 1, 1},
       }) {
    SCOPED_TRACE(c.what);
    Desk d;
    if (c.arrange) c.arrange(d.p.desktop);
    if (d.p.desktop.throwAtMove) {
      EXPECT_THROW(d.Move(OnNewDesktop::kPlanAgain), std::runtime_error);
    } else {
      d.Move(OnNewDesktop::kPlanAgain);
    }
    EXPECT_TRUE(d.p.desktop.painting);
    EXPECT_EQ(d.p.desktop.batchBegins, c.batches);
    EXPECT_EQ(d.p.desktop.batchEnds, c.batches);
    EXPECT_EQ(d.p.desktop.unpaintedMoves, c.unpaintedMoves);
  }

  Desk single;
  MoveIcons(
      single.p.state.table, single.p.services,
      [](const IconTable&) {
        return std::vector<IconMove>{{0, {5, 5}}};
      },
      OnNewDesktop::kStop);
  EXPECT_EQ(single.p.desktop.moves, 1);
  EXPECT_EQ(single.p.desktop.batchBegins + single.p.desktop.batchEnds, 0);
}

TEST(IconMovesTest, ArrangingReachesANewDesktopButNotAHungOne) {
  Desk d;
  d.p.desktop.ReplaceView();
  EXPECT_TRUE(ArrangeDesktopIcons(d.p.services));
  EXPECT_EQ(d.p.desktop.arranges, 2);
  EXPECT_EQ(d.Positions()[1], (Point{0, 75}));

  d.p.desktop.hung = true;
  EXPECT_FALSE(ArrangeDesktopIcons(d.p.services));
  EXPECT_EQ(d.p.desktop.arranges, 3);
}

}  // namespace
}  // namespace norv
