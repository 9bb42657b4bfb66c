#include "support/program_services.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/win32/wide_text.h"
#include "support/build_paths.h"

namespace norv::wintest {

std::unique_ptr<TestDesk> StartDesk(const TestDeskOptions& options) {
  std::string error;
  std::unique_ptr<TestDesk> desk = TestDesk::Start(options, &error);
  EXPECT_TRUE(desk) << error;
  return desk;
}

std::vector<DeskItem> ItemsNow(TestDesk& desk) {
  const std::optional<DeskReport> report = desk.Report();
  return report ? report->items : std::vector<DeskItem>{};
}

void MeasuredPause::Wait(int milliseconds) {
  total_ += milliseconds;
  ++count_;
  Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

bool Exists(const std::u16string& path) {
  return GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES;
}

std::string LayoutRecordBytes(std::string_view cp932Text, int16_t x, int16_t y) {
  std::string record(cp932Text.substr(0, 120));
  record.resize(120, ' ');
  for (int16_t value : {x, y}) {
    const auto bits = static_cast<uint16_t>(value);
    record.push_back(static_cast<char>(bits & 0xFF));
    record.push_back(static_cast<char>(bits >> 8));
  }
  return record;
}

}  // namespace norv::wintest
