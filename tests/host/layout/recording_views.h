#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/icon_table.h"
#include "layout/restore_dialog.h"
#include "layout/save_dialog.h"
#include "mainwindow/icon_list_sink.h"
#include "mainwindow/icon_row.h"

namespace norv::test {

// The main window's icon list as rows of text, following the save dialog's snapshot as the main
// window does: emptied before it, refilled from the table after it.
class RecordingList : public SaveDialogCaller, public IconListSink {
 public:
  explicit RecordingList(const IconTable& table) : table_(table) {}

  std::vector<std::u16string> rows;
  int clears = 0;

  void SnapshotStarting() override { ClearRows(); }
  void SnapshotTaken() override { RefillIconList(table_, *this); }
  void ClearRows() override {
    ++clears;
    rows.clear();
  }
  void AppendRow(const std::u16string& row) override { rows.push_back(row); }

 private:
  const IconTable& table_;
};

// What both dialogs' views share, recorded: faces, cursor, animations and the unload, in call
// order.
template <class DialogView>
class RecordingDialogView : public DialogView {
 public:
  std::vector<std::string> calls;
  std::optional<ScreenPoint> cursor = ScreenPoint{300, 200};
  std::optional<ScreenPoint> openedFrom;
  std::optional<ScreenPoint> closedInto;
  bool unloaded = false;

  void PrepareWindow() override { calls.push_back("prepare"); }
  std::optional<ScreenPoint> CursorPosition() override { return cursor; }
  void AnimateOpen(ScreenPoint from) override {
    calls.push_back("open");
    openedFrom = from;
  }
  void AnimateClose(ScreenPoint to) override {
    calls.push_back("close");
    closedInto = to;
  }
  void Unload() override {
    calls.push_back("unload");
    unloaded = true;
  }
};

class RecordingSaveView : public RecordingDialogView<SaveDialogView> {
 public:
  std::u16string name;

  std::u16string TypedName() override { return name; }
};

class RecordingRestoreView : public RecordingDialogView<RestoreDialogView> {
 public:
  std::vector<std::u16string> layoutRows;
  std::u16string selectedPath;
  std::vector<std::u16string> recordRows;
  std::map<int, bool> enabled{{0, true}, {1, true}, {2, true}};

  void ShowSavedLayouts(const std::vector<std::u16string>& rows) override {
    calls.push_back("layouts");
    layoutRows = rows;
  }
  void ShowSelectedPath(const std::u16string& path) override { selectedPath = path; }
  void ShowRecords(const std::vector<std::u16string>& rows) override { recordRows = rows; }
  void EnableButton(int button, bool isEnabled) override { enabled[button] = isEnabled; }
};

}  // namespace norv::test
