#include "displays/display_settle.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_services.h"

namespace norv {
namespace {

// What happens at a moment: an event, or a timer tick that reads the configuration as `key`
// ("" when it cannot be read) if a reading is due.
struct Step {
  uint64_t at;
  bool event;
  const char16_t* key;
};

struct Row {
  const char* what;
  std::vector<Step> steps;
  // When the configuration settled, and on what; -1 when it did not.
  int64_t settledAt;
  const char16_t* settledOn;
};

TEST(DisplaySettleTest, SettlesOnlyWhenTwoReadingsAgreeAfterTheLastEvent) {
  const Row rows[] = {
      {"one event, steady",
       {{0, true, u""},
        {2500, false, u"A"},
        {3000, false, u"A"},
        {3500, false, u"A"},
        {4000, false, u"A"}},
       4000,
       u"A"},
      {"a storm of events restarts the wait each time",
       {{0, true, u""},
        {1000, true, u""},
        {2000, true, u""},
        {3000, true, u""},
        {6000, false, u"A"},
        {6500, false, u"A"},
        {7000, false, u"A"}},
       7000,
       u"A"},
      {"a monitor flapping while it wakes",
       {{0, true, u""},
        {3000, false, u"A"},
        {4000, false, u"B"},
        {5000, false, u"A"},
        {6000, false, u"B"},
        {7000, false, u"B"}},
       7000,
       u"B"},
      {"an event between two readings discards the first",
       {{0, true, u""},
        {3000, false, u"A"},
        {3500, true, u""},
        {4000, false, u"A"},
        {6500, false, u"A"},
        {7500, false, u"A"}},
       7500,
       u"A"},
      {"an unreadable configuration starts the pair again",
       {{0, true, u""},
        {3000, false, u"A"},
        {4000, false, u""},
        {5000, false, u"A"},
        {6000, false, u"A"}},
       6000,
       u"A"},
      {"no event, no reading", {{5000, false, u"A"}, {6000, false, u"A"}}, -1, u""},
  };
  for (const Row& row : rows) {
    DisplaySettle settle;
    int64_t settledAt = -1;
    std::u16string settledOn;
    for (const Step& step : row.steps) {
      if (step.event) {
        settle.OnEvent(step.at);
        continue;
      }
      if (!settle.ReadingDue(step.at)) continue;
      const std::u16string key = step.key;
      const auto settled =
          settle.OnReading(step.at, key.empty() ? std::nullopt : std::optional(key));
      if (settled) {
        EXPECT_EQ(settledAt, -1) << row.what << ": settled twice";
        settledAt = static_cast<int64_t>(step.at);
        settledOn = *settled;
      }
    }
    EXPECT_EQ(settledAt, row.settledAt) << row.what;
    EXPECT_EQ(test::Utf8(settledOn), test::Utf8(row.settledOn)) << row.what;
    EXPECT_FALSE(settle.Settling() && settledAt >= 0) << row.what;
  }
}

}  // namespace
}  // namespace norv
