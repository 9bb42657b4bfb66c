#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry.h"

namespace norv {

struct AppState;
struct Services;
class TrayWindowView;
enum class TrayCommand;
enum class TrayTimer;

// The shell reports mouse events on the icon with the platform's mouse message numbers.
inline constexpr uint32_t kRightButtonDown = 0x0204;

inline constexpr int kIconRetryMilliseconds = 3000;
inline constexpr int kIconRetries = 100;  // five minutes
// How often and how many times the desktop's area is read after the display changed.
inline constexpr int kDisplayCheckMilliseconds = 500;
inline constexpr int kDisplayChecks = 10;

inline constexpr char16_t kHelpMissingMessage[] =
    u"ヘルプ ファイル「Norvane.html」が見つかりませんでした。\n"
    u"Norv.exe と同じフォルダーに置いて下さい。";
inline constexpr char16_t kHelpNotOpenedMessage[] =
    u"ヘルプを表示できませんでした。\n"
    u"HTML ファイルを開くアプリが設定されているか確認して下さい。";
inline constexpr char16_t kNoTrayWindowMessage[] =
    u"Norvane を起動できませんでした。\n"
    u"通知領域に置くウィンドウを作成できません。";

// The behaviour of the invisible tray window: the end of the start-up, the icon's mouse events, the
// menu's four entries, a restarted shell, and its unload.
//
// The icon is the only way to reach the program, so an add the shell refuses (at logon the
// notification area may not be ready, and its announcement may already have gone out) is tried
// again every few seconds for a few minutes, and at every announcement of a new notification area.
//
// After the display changed, the desktop's area is read a few times, since the shell may resize
// its view only later; hidden icons then follow its new corner. Like a command sent from outside,
// this waits while the program is occupied, and happens when it is free again.
class TrayWindow {
 public:
  TrayWindow(AppState& state, Services& services, TrayWindowView& view)
      : state_(state), services_(services), view_(view) {}

  // The start-up steps that follow the first snapshot: the last exit's arrangement, the icon.
  void Start();
  // Only a right-button press opens the menu, and only while no other window of ours is open
  // and the program is not occupied.
  void OnTrayMouse(uint32_t mouseMessage);
  void Run(TrayCommand command);
  // A new notification area has no icon of ours: add it again.
  void OnShellRestarted();
  void OnDisplayChanged();
  void OnTimer(TrayTimer timer);
  void Unload();
  // Whether the program is in the middle of something of its own: the menu or one of its entries,
  // a dialog or message box of ours waiting for the user, or a wait for the shell. Work that comes
  // from outside the user's current action must not start then.
  bool Occupied();

 private:
  void AddIcon();
  void TryIconAgain();
  void CheckDisplay();
  void OpenSettings();
  void ShowHelp();

  AppState& state_;
  Services& services_;
  TrayWindowView& view_;
  bool iconWanted_ = false;
  int iconRetriesLeft_ = 0;
  int displayChecksLeft_ = 0;
  // The desktop's area before the display changed, while its change is still to be followed.
  std::optional<DesktopRect> areaBefore_;
  bool busy_ = false;
};

}  // namespace norv
