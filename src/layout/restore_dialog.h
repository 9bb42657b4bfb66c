#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/geometry.h"

namespace norv {

inline constexpr char16_t kRestoreDialogCaption[] = u"ｱｲｺﾝ位置と表示／非表示の復帰";
inline constexpr std::array<const char16_t*, 5> kRestoreHeaderCaptions{
    u"保存した名前", u"保存日", u"x位置", u"y位置", u"ｱｲｺﾝﾃｷｽﾄ"};
inline constexpr std::array<const char16_t*, 3> kRestoreButtonCaptions{u"削除", u"復帰", u"ｷｬﾝｾﾙ"};
inline constexpr char16_t kRestoreListTip[] = u"復帰する名前を選択して下さい。";
inline constexpr char16_t kDeleteFailedMessage[] =
    u"削除できませんでした。\r\nファイルが読み取り専用か、ほかのプログラムが使用中の可能性がありま"
    u"す。";
// The one tab stop of the saved-layout list, in dialog units.
inline constexpr int kLayoutListTabStop = 60;

enum RestoreDialogButton { kDeleteButton = 0, kRestoreButton = 1, kRestoreCancelButton = 2 };

// The restore dialog's window as its behaviour drives it.
class RestoreDialogView {
 public:
  virtual ~RestoreDialogView() = default;
  // Size, centre, texture, released faces, pointers and header cells.
  virtual void PrepareWindow() = 0;
  // Replaces the saved-layout list's rows and gives it its one tab stop.
  virtual void ShowSavedLayouts(const std::vector<std::u16string>& rows) = 0;
  virtual void ShowSelectedPath(const std::u16string& path) = 0;
  virtual void ShowRecords(const std::vector<std::u16string>& rows) = 0;
  virtual void EnableButton(int button, bool enabled) = 0;
  virtual std::optional<ScreenPoint> CursorPosition() = 0;
  virtual void AnimateOpen(ScreenPoint from) = 0;
  virtual void AnimateClose(ScreenPoint to) = 0;
  virtual void Unload() = 0;
};

// What the restore dialog does; the Win32 window forwards its events here. It takes no snapshot:
// its callers take one when it has closed.
class RestoreDialog {
 public:
  RestoreDialog(RestoreDialogView& view, AppState& state, Services& services);

  void Load();
  // The saved-layout list's selection changed; nullopt when no row is selected.
  void SelectionChanged(std::optional<int> row);
  // A released button's command. Events handled just before it may have closed the dialog
  // already; then it does nothing.
  void RunCommand(int button);
  void Close();

  const std::vector<std::u16string>& savedLayoutPaths() const { return paths_; }
  bool closed() const { return closed_; }

 private:
  std::optional<std::u16string> SelectedPath() const;

  RestoreDialogView& view_;
  AppState& state_;
  Services& services_;
  std::vector<std::u16string> paths_;
  std::optional<size_t> selected_;
  // Where the dialog opened from and closes into: the cursor at its load.
  ScreenPoint anchor_;
  bool closed_ = false;
};

// The saved-layout list's row: the layout's name, TAB, the date it was saved.
std::u16string SavedLayoutRow(FileSystem& files, const std::u16string& path);
// The selected layout's rows, hidden records judged against the latest snapshot's desktop.
std::vector<std::u16string> ShowLayoutRecords(FileSystem& files, const std::u16string& path,
                                              DesktopRect desktop);

}  // namespace norv
