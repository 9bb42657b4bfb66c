// The settings file of arbitrary content: reading it, and saving the options into it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "core/cp932.h"
#include "core/ini_document.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "fuzz_check.h"
#include "support/fake_services.h"

namespace {

using namespace norv;

const std::u16string kIni = u"C:\\Norv\\Norv.ini";

void CheckValueRules(std::u16string_view value) {
  const std::u16string cut = CutProfileValue(value);
  FUZZ_CHECK(EncodeCp932(cut).size() <= kProfileValueMaxBytes);
  FUZZ_CHECK(std::u16string_view(value).substr(0, cut.size()) == cut);
  if (const std::optional<int16_t> number = ParseOptionValue(value)) {
    FUZZ_CHECK(ParseOptionValue(NumberText(*number)) == number);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const Options saved{input.ConsumeIntegral<int16_t>(), input.ConsumeIntegral<int16_t>()};
  const std::string file = input.ConsumeRemainingBytesAsString();

  test::FakePlatform platform;
  platform.files.Put(kIni, file);
  const IniDocument before(DecodeCp932(file));
  for (const char16_t* key : {kRestoreLastExitKey, kKeepPositionsAtExitKey}) {
    if (const auto value = before.Get(kSettingsSection, key)) CheckValueRules(*value);
  }
  platform.state.options = {7, 7};
  LoadOptions(platform.state, platform.profile);

  // Saving into whatever the file holds must read back as saved, and leave other sections be.
  // The in-memory profile rewrites the file through cp932, so undecodable bytes come back as '?'.
  std::optional<std::u16string> other = before.Get(u"Other", u"ReCover_0");
  if (other) std::replace(other->begin(), other->end(), u'\uFFFD', u'?');
  platform.state.options = saved;
  FUZZ_CHECK(SaveOptions(platform.state, platform.profile));
  platform.state.options = {7, 7};
  LoadOptions(platform.state, platform.profile);
  FUZZ_CHECK(platform.state.options == saved);
  const IniDocument after(DecodeCp932(platform.files.Bytes(kIni)));
  FUZZ_CHECK(after.Get(u"Other", u"ReCover_0") == other);
  return 0;
}
