// The restore dialog's row for a record of arbitrary bytes against an arbitrary desktop.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/settings.h"
#include "fuzz_check.h"
#include "layout/layout_record_row.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace norv;
  FuzzedDataProvider input(data, size);
  const DesktopRect desktop{input.ConsumeIntegral<int32_t>(), input.ConsumeIntegral<int32_t>()};
  std::string bytes = input.ConsumeRemainingBytesAsString();
  bytes.resize(kLayoutRecordSize, ' ');
  const LayoutRecord record = DecodeLayout(bytes).at(0);

  const std::u16string row = LayoutRecordRow(record, desktop);
  FUZZ_CHECK(row.size() >= record.text.size());
  const size_t textStart = row.size() - record.text.size();
  FUZZ_CHECK(row.compare(textStart, std::u16string::npos, record.text) == 0);
  const std::u16string_view head = std::u16string_view(row).substr(0, textStart);
  const size_t firstTab = head.find(u'\t');
  FUZZ_CHECK(firstTab != std::u16string_view::npos && head.back() == u'\t');
  FUZZ_CHECK(head.find(u'\t', firstTab + 1) == head.size() - 1);

  if (IsBeyondDesktop({record.x, record.y}, desktop)) {
    FUZZ_CHECK(head == u"非表示\t\t");
  } else {
    // The numbers read back as the record's own, sign position and all.
    const std::u16string_view x = head.substr(0, firstTab);
    const std::u16string_view y = head.substr(firstTab + 1, head.size() - firstTab - 2);
    FUZZ_CHECK(x[0] == (record.x < 0 ? u'-' : u' ') && y[0] == (record.y < 0 ? u'-' : u' '));
    FUZZ_CHECK(ParseOptionValue(x) == record.x && ParseOptionValue(y) == record.y);
  }
  return 0;
}
