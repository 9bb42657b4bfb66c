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
  const char16_t* key;  // null for an event
};
constexpr const char16_t* kEvent = nullptr;
constexpr const char16_t* kA = u"A";
constexpr const char16_t* kB = u"B";
constexpr const char16_t* kUnreadable = u"";

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
       {{0, kEvent}, {2500, kA}, {3000, kA}, {3500, kA}, {4000, kA}},
       4000,
       kA},
      {"a storm of events restarts the wait each time",
       {{0, kEvent},
        {1000, kEvent},
        {2000, kEvent},
        {3000, kEvent},
        {6000, kA},
        {6500, kA},
        {7000, kA}},
       7000,
       kA},
      {"a monitor flapping while it wakes",
       {{0, kEvent}, {3000, kA}, {4000, kB}, {5000, kA}, {6000, kB}, {7000, kB}},
       7000,
       kB},
      {"an event between two readings discards the first",
       {{0, kEvent}, {3000, kA}, {3500, kEvent}, {4000, kA}, {6500, kA}, {7500, kA}},
       7500,
       kA},
      {"an unreadable configuration starts the pair again",
       {{0, kEvent}, {3000, kA}, {4000, kUnreadable}, {5000, kA}, {6000, kA}},
       6000,
       kA},
      {"no event, no reading", {{5000, kA}, {6000, kA}}, -1, u""},
  };
  for (const Row& row : rows) {
    DisplaySettle settle;
    int64_t settledAt = -1;
    std::u16string settledOn;
    for (const Step& step : row.steps) {
      if (!step.key) {
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
