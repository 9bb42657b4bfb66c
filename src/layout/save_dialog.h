#pragma once

#include <optional>
#include <string>

#include "core/app_state.h"
#include "core/geometry.h"

namespace norv {

inline constexpr char16_t kSaveDialogCaption[] = u"現在のｱｲｺﾝ位置と表示／非表示を名前を付けて保存";
inline constexpr char16_t kSaveButtonCaption[] = u"保存";
inline constexpr char16_t kSaveCancelCaption[] = u"ｷｬﾝｾﾙ";
inline constexpr char16_t kEmptyNameMessage[] = u"名前を入力して下さい。";
inline constexpr char16_t kOverwriteQuestion[] = u"既に名前が存在します。上書きしますか？";
inline constexpr char16_t kSaveFailedMessage[] =
    u"保存できませんでした。\r\nファイルやフォルダーが読み取り専用でないか、"
    u"ディスクに空きがあるかを確認して下さい。";
inline constexpr char16_t kSaveFailedKeptMessage[] =
    u"保存できませんでした。前に保存した内容はそのまま残っています。\r\n"
    u"ファイルやフォルダーが読み取り専用でないか、ディスクに空きがあるかを確認して下さい。";
inline constexpr char16_t kSnapshotFailedMessage[] =
    u"ﾃﾞｽｸﾄｯﾌﾟのｱｲｺﾝを読み取れなかったため、保存しませんでした。もう一度お試し下さい。";

enum SaveDialogButton { kSaveButton = 0, kSaveCancelButton = 1 };

// The save dialog's window as its behaviour drives it.
class SaveDialogView {
 public:
  virtual ~SaveDialogView() = default;
  // Size, centre, window icon, texture, released faces and pointers: everything before the
  // opening animation.
  virtual void PrepareWindow() = 0;
  virtual std::u16string TypedName() = 0;
  // The mouse position in screen pixels; nullopt when it cannot be read.
  virtual std::optional<ScreenPoint> CursorPosition() = 0;
  virtual void AnimateOpen(ScreenPoint from) = 0;
  virtual void AnimateClose(ScreenPoint to) = 0;
  virtual void Unload() = 0;
};

// The window that opened the save dialog and lists the icon table: a save replaces the table with
// a new snapshot, and the caller lists it again.
class SaveDialogCaller {
 public:
  virtual ~SaveDialogCaller() = default;
  // Just before the snapshot: the rows listed from the old table go.
  virtual void SnapshotStarting() = 0;
  // After it, whether it succeeded or not: the table holds the snapshot just taken (and written),
  // or the last whole one when it failed.
  virtual void SnapshotTaken() = 0;
};

// What the save dialog does; the Win32 window forwards its events here.
class SaveDialog {
 public:
  SaveDialog(SaveDialogView& view, AppState& state, Services& services, SaveDialogCaller& caller);

  void Load();
  // A released button's command: save, or close without doing anything else.
  void RunCommand(int button);
  // Saves under the typed name and closes; refuses with a message and stays open when the name
  // cannot be used or the file cannot be written. True when saved.
  bool SaveLayout();
  // Any close request: the closing animation into the point of opening, then unload.
  void Close();
  bool closed() const { return closed_; }

 private:
  void Refuse(std::u16string_view message);

  SaveDialogView& view_;
  AppState& state_;
  Services& services_;
  SaveDialogCaller& caller_;
  // Where the dialog opened from and closes into: the cursor at its load.
  ScreenPoint anchor_;
  bool closed_ = false;
};

}  // namespace norv
