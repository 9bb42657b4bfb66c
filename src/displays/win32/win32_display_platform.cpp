#include "displays/win32/win32_display_platform.h"

#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellscalingapi.h>

#include <string>
#include <vector>

#include "core/win32/list_view_desktop.h"
#include "core/win32/scoped_handles.h"
#include "core/win32/wide_text.h"

namespace norv {
namespace {

// A description of a few monitors is a few hundred bytes.
constexpr DWORD kMaxTestFileBytes = 64 * 1024;

std::optional<std::string> ReadSmallFile(const wchar_t* path) {
  const ScopedHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes(kMaxTestFileBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), kMaxTestFileBytes, &read, nullptr)) return std::nullopt;
  bytes.resize(read);
  return bytes;
}

std::optional<DisplayConfiguration> ReadTestConfiguration() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(kTestDisplaysVariable, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  const std::optional<std::string> text = ReadSmallFile(path);
  return text ? ParseConfigurationText(*text) : std::nullopt;
}

bool TestConfigurationNamed() {
  return GetEnvironmentVariableW(kTestDisplaysVariable, nullptr, 0) != 0;
}

int32_t Degrees(DISPLAYCONFIG_ROTATION rotation) {
  switch (rotation) {
    case DISPLAYCONFIG_ROTATION_ROTATE90:
      return 90;
    case DISPLAYCONFIG_ROTATION_ROTATE180:
      return 180;
    case DISPLAYCONFIG_ROTATION_ROTATE270:
      return 270;
    default:
      return 0;
  }
}

int32_t EffectiveDpi(const RECT& area) {
  const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  UINT dpiX = 96;
  UINT dpiY = 96;
  if (FAILED(GetDpiForMonitor(MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST), MDT_EFFECTIVE_DPI,
                              &dpiX, &dpiY))) {
    return 96;
  }
  return static_cast<int32_t>(dpiX);
}

// The EDID manufacturer and product codes ("10AC:4058") where Windows gives them, "|", the
// monitor's device path.
std::u16string TargetIdentity(const DISPLAYCONFIG_PATH_INFO& path) {
  DISPLAYCONFIG_TARGET_DEVICE_NAME name{};
  name.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
  name.header.size = sizeof(name);
  name.header.adapterId = path.targetInfo.adapterId;
  name.header.id = path.targetInfo.id;
  if (DisplayConfigGetDeviceInfo(&name.header) != ERROR_SUCCESS) return u"?";
  std::u16string identity;
  if (name.flags.edidIdsValid) {
    wchar_t codes[16];
    swprintf(codes, 16, L"%04X:%04X", name.edidManufactureId, name.edidProductCodeId);
    identity = FromWide(codes);
  }
  identity += u'|';
  identity += FromWide(name.monitorDevicePath);
  return identity;
}

std::optional<DisplayConfiguration> QueryConfiguration() {
  for (int attempt = 0; attempt < 3; ++attempt) {
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    const LONG result = QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(),
                                           &modeCount, modes.data(), nullptr);
    // The configuration changed between the two calls: ask again.
    if (result == ERROR_INSUFFICIENT_BUFFER) continue;
    if (result != ERROR_SUCCESS) return std::nullopt;
    paths.resize(pathCount);
    DisplayConfiguration configuration;
    for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
      const UINT32 index = path.sourceInfo.modeInfoIdx;
      if (index >= modeCount || modes[index].infoType != DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE)
        continue;
      const DISPLAYCONFIG_SOURCE_MODE& source = modes[index].sourceMode;
      MonitorInfo monitor;
      monitor.identity = TargetIdentity(path);
      monitor.width = static_cast<int32_t>(source.width);
      monitor.height = static_cast<int32_t>(source.height);
      // Source positions are relative to the main monitor, which sits at the origin.
      monitor.x = source.position.x;
      monitor.y = source.position.y;
      monitor.main = monitor.x == 0 && monitor.y == 0;
      monitor.orientation = Degrees(path.targetInfo.rotation);
      monitor.dpi = EffectiveDpi(
          {monitor.x, monitor.y, monitor.x + monitor.width, monitor.y + monitor.height});
      configuration.monitors.push_back(std::move(monitor));
    }
    if (configuration.monitors.empty()) return std::nullopt;
    configuration.remoteSession = GetSystemMetrics(SM_REMOTESESSION) != 0;
    return configuration;
  }
  return std::nullopt;
}

}  // namespace

std::optional<DisplayConfiguration> Win32DisplayPlatform::ReadConfiguration() {
  if (TestConfigurationNamed()) return ReadTestConfiguration();
  return QueryConfiguration();
}

uint64_t Win32DisplayPlatform::Milliseconds() { return GetTickCount64(); }

std::u16string Win32DisplayPlatform::NowText() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  wchar_t date[128];
  wchar_t time[128];
  if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128,
                       nullptr) ||
      !GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, time, 128)) {
    return {};
  }
  return FromWide(date) + u" " + FromWide(time);
}

bool Win32DisplayPlatform::IconsAutoArranged() {
  const HWND view = FindShellDesktopListView();
  return view && (GetWindowLongPtrW(view, GWL_STYLE) & LVS_AUTOARRANGE) != 0;
}

}  // namespace norv
