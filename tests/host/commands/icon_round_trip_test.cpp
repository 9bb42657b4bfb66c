#include "commands/icon_round_trip.h"

#include <gtest/gtest.h>

#include "commands/command_output.h"
#include "commands/diagnosis_texts.h"
#include "support/fake_services.h"

namespace norv {
namespace {

namespace text = diagnosis_text;

// Moves from the n-th on are lost: the shell has stopped taking them.
class DesktopLosingMoves : public test::SimulatedDesktop {
 public:
  int lostFrom = 1000;
  size_t MoveItems(std::span<const IconMove> list) override {
    size_t delivered = 0;
    for (const IconMove& move : list) {
      if (moves >= lostFrom) {
        ++moves;
        return delivered;
      }
      if (SimulatedDesktop::MoveItems({&move, 1}) != 1) return delivered;
      ++delivered;
    }
    return delivered;
  }
};

struct Case {
  const char* what;
  std::optional<int> failMoveAt;
  std::optional<int> failPositionReadAt;
  int lostFrom;
  std::optional<std::u16string_view> result;
  Point end;
};

TEST(IconRoundTripTest, TheIconEndsWhereItWasWhateverFailsOnTheWay) {
  constexpr Point kStart{10, 20};
  constexpr Point kHidingPoint{1074, 818};
  const std::vector<Case> cases = {
      {"both moves read back", {}, {}, 1000, std::nullopt, kStart},
      {"hiding move refused", 0, {}, 1000, text::kNotHidden, kStart},
      {"hidden position unread", {}, 0, 1000, text::kNotHidden, kStart},
      {"first put-back lost", 1, {}, 1000, text::kBackOnRetry, kStart},
      {"every put-back lost", {}, {}, 1, text::kNotBack, kHidingPoint},
  };
  for (const Case& c : cases) {
    DesktopLosingMoves desktop;
    desktop.Add(u"ごみ箱", kStart.x, kStart.y);
    desktop.Add(u"メモ", 10, 100);
    desktop.failMoveAt = c.failMoveAt;
    desktop.failPositionReadAt = c.failPositionReadAt;
    desktop.lostFrom = c.lostFrom;
    CollectedOutput out;
    EXPECT_EQ(RoundTripFirstIcon(desktop, kStart, kHidingPoint, out), c.result) << c.what;
    EXPECT_EQ(desktop.items[0].position, c.end) << c.what;
    EXPECT_EQ(desktop.items[1].position, (Point{10, 100})) << c.what;
  }
}

TEST(IconRoundTripTest, EachMoveIsPrintedWithWhatWasReadBack) {
  test::SimulatedDesktop desktop;
  desktop.Add(u"ごみ箱", -5, 20);
  desktop.failMoveAt = 1;
  CollectedOutput out;
  RoundTripFirstIcon(desktop, {-5, 20}, {1074, 818}, out);
  std::vector<std::u16string> lines;
  for (const OutputLine& line : out.lines) lines.push_back(line.text);
  EXPECT_EQ(lines, (std::vector<std::u16string>{
                       u"隠す位置へ移動: (1074, 818) → 読み取り (1074, 818)",
                       u"元の位置へ戻す: (-5, 20) → 移動できませんでした → 読み取り (1074, 818)",
                       u"元の位置へ戻す: (-5, 20) → 読み取り (-5, 20)"}));
}

}  // namespace
}  // namespace norv
