#pragma once

#include <gtest/gtest.h>

#include "core/icon_table.h"
#include "mainwindow/main_window.h"
#include "recording_view.h"
#include "support/fake_services.h"

namespace norv::test {

// A main window over the simulated desktop, after the program's first snapshot.
class MainWindowTest : public ::testing::Test {
 protected:
  FakePlatform p;
  RecordingView view;
  MainWindow window{p.state, p.services, view};

  IconTable& table() { return p.state.table; }

  // The start-up snapshot, which also records the initial positions.
  void StartUp(bool expectSuccess = true) {
    table().firstSnapshotPending = true;
    ASSERT_EQ(static_cast<bool>(SnapshotOrEndForNoIcons(table(), p.services)), expectSuccess);
  }
  void Snapshot() { ASSERT_TRUE(SnapshotDesktop(table(), p.services)); }
  void OpenWindow() {
    window.Load();
    view.log.clear();
    p.desktop.ResetCounters();
  }
  void SelectByUser(int row) {
    view.SelectRow(row);
    window.OnRowSelected();
  }
  Point DesktopPosition(size_t item) const { return p.desktop.items[item].position; }
};

// Three shown icons on a 1024 x 768 desktop, the window open.
class ThreeIconsWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    p.desktop.Add(u"ごみ箱", 10, 10, 1);
    p.desktop.Add(u"PC", 10, 85, 2);
    p.desktop.Add(u"メモ", 85, 10, 3);
    StartUp();
    OpenWindow();
  }
};

}  // namespace norv::test
