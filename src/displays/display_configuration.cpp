#include "displays/display_configuration.h"

#include <algorithm>
#include <sstream>
#include <tuple>

namespace norv {
namespace {

std::u16string Decimal(int64_t value) {
  const std::string ascii = std::to_string(value);
  return std::u16string(ascii.begin(), ascii.end());
}

// The identity goes into a key of separated fields and into a one-line index: nothing in it may
// look like a separator or break the line.
std::u16string KeyField(std::u16string_view text) {
  std::u16string field(text);
  for (char16_t& c : field) {
    if (c < 0x20 || c == 0x7F || c == u'|' || c == u';') c = u'?';
  }
  return field;
}

std::vector<MonitorInfo> InKeyOrder(std::vector<MonitorInfo> monitors) {
  std::sort(monitors.begin(), monitors.end(), [](const MonitorInfo& a, const MonitorInfo& b) {
    return std::tie(a.identity, a.x, a.y) < std::tie(b.identity, b.x, b.y);
  });
  return monitors;
}

int32_t ScalePercent(int32_t dpi) { return (dpi * 100 + 48) / 96; }

}  // namespace

std::u16string ConfigurationKey(const DisplayConfiguration& configuration) {
  std::u16string key = configuration.remoteSession ? u"remote" : u"local";
  for (const MonitorInfo& m : InKeyOrder(configuration.monitors)) {
    key += u'|';
    key += KeyField(m.identity);
    for (const int32_t value : {m.x, m.y, m.width, m.height, m.orientation, m.dpi}) {
      key += u';';
      key += Decimal(value);
    }
  }
  return key;
}

std::u16string ConfigurationLabel(const DisplayConfiguration& configuration) {
  std::vector<MonitorInfo> monitors = InKeyOrder(configuration.monitors);
  std::stable_partition(monitors.begin(), monitors.end(),
                        [](const MonitorInfo& m) { return m.main; });
  std::u16string label = Decimal(static_cast<int64_t>(monitors.size())) + u" 台: ";
  for (size_t i = 0; i < monitors.size(); ++i) {
    const MonitorInfo& m = monitors[i];
    if (i > 0) label += u" + ";
    label +=
        Decimal(m.width) + u"×" + Decimal(m.height) + u" " + Decimal(ScalePercent(m.dpi)) + u"%";
    if (m.orientation != 0) label += u" " + Decimal(m.orientation) + u"°";
    if (m.main) label += u" (メイン)";
  }
  if (configuration.remoteSession) label += u" (リモート)";
  return label;
}

std::optional<DisplayConfiguration> ParseConfigurationText(std::string_view text) {
  DisplayConfiguration configuration;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line == "remote") {
      configuration.remoteSession = true;
      continue;
    }
    std::istringstream fields(line);
    std::string identity;
    std::string mainMark;
    MonitorInfo monitor;
    if (!(fields >> identity >> monitor.width >> monitor.height >> monitor.x >> monitor.y >>
          monitor.orientation >> monitor.dpi)) {
      return std::nullopt;
    }
    if (fields >> mainMark) {
      if (mainMark != "main") return std::nullopt;
      monitor.main = true;
    }
    monitor.identity.assign(identity.begin(), identity.end());
    configuration.monitors.push_back(std::move(monitor));
  }
  if (configuration.monitors.empty()) return std::nullopt;
  return configuration;
}

}  // namespace norv
