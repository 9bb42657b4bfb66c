#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "support/build_paths.h"
#include "support/child_process.h"
#include "support/test_desk.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv::wintest {
namespace {

LPARAM Packed(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

std::unique_ptr<TestDesk> StartDesk(const TestDeskOptions& options) {
  std::string error;
  auto desk = TestDesk::Start(options, &error);
  EXPECT_NE(desk, nullptr) << error;
  return desk;
}

// Waits until the list view has painted everything that was pending, so a re-arrangement on
// painting would have happened.
void WaitForPaint(HWND listView) {
  InvalidateRect(listView, nullptr, TRUE);
  EXPECT_TRUE(WaitUntil([&] { return !GetUpdateRect(listView, nullptr, FALSE); }));
}

const std::vector<DeskItem> kScattered = {
    {-5, 100, 0, u"マイナス"},
    {300, -40, 1, u"上にはみ出し"},
    {700, 500, 2, u"Readme.txt"},
    {1074, 818, 3, u"隠れた アイコン "},
};

TEST(TestDeskTest, ItemsStayWhereTheDescriptionPutThemAfterPainting) {
  auto desk = StartDesk(TestDeskOptions::Items(kScattered));
  ASSERT_TRUE(desk);
  HWND listView = desk->ListView();
  ASSERT_NE(listView, nullptr);
  WaitForPaint(listView);
  auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->present);
  EXPECT_EQ(report->items, kScattered);
  EXPECT_EQ(report->clientWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(report->clientHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_EQ(desk->Quit(), 0u);
}

TEST(TestDeskTest, DesktopCanSpanMoreThanTheScreenLikeTwoMonitors) {
  TestDeskOptions options = TestDeskOptions::Items(kScattered);
  options.size = {2048, 768};
  auto desk = StartDesk(options);
  ASSERT_TRUE(desk);
  RECT client{};
  ASSERT_TRUE(GetClientRect(desk->ListView(), &client));
  EXPECT_EQ(client.right, 2048);
  EXPECT_EQ(client.bottom, 768);
  auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->clientWidth, 2048);
  EXPECT_EQ(report->clientHeight, 768);
}

TEST(TestDeskTest, SampleDesktopHasTheJapaneseIcons) {
  auto desk = StartDesk(TestDeskOptions::Sample());
  ASSERT_TRUE(desk);
  auto report = desk->Report();
  ASSERT_TRUE(report);
  ASSERT_GE(report->items.size(), 10u);
  EXPECT_EQ(report->items[0], (DeskItem{20, 2, 0, u"ごみ箱"}));
  std::multiset<std::u16string> texts;
  bool longName = false;
  for (const DeskItem& item : report->items) {
    texts.insert(item.text);
    longName = longName || item.text.size() * 2 > 39;
  }
  EXPECT_EQ(texts.count(u"マイ コンピュータ"), 1u);
  EXPECT_EQ(texts.count(u"メモ"), 2u);
  EXPECT_TRUE(longName);
  // The list view shows images from an image list of its own.
  EXPECT_NE(SendMessageW(desk->ListView(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0), 0);
  EXPECT_EQ(GetWindowLongW(desk->ListView(), GWL_STYLE) & (LVS_TYPEMASK | LVS_AUTOARRANGE),
            LVS_ICON);
}

TEST(TestDeskTest, CountsRequestsOfOtherProcessesByMessageButNotItsOwn) {
  auto desk = StartDesk(TestDeskOptions::Items(kScattered));
  ASSERT_TRUE(desk);
  HWND listView = desk->ListView();
  auto fresh = desk->Report();
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh->TotalRequests(), 0u) << "filling the desktop is not counted";

  for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0), 4);
  SendMessageW(listView, LVM_SETITEMPOSITION, 0, Packed(10, 10));
  SendMessageW(listView, LVM_SETITEMPOSITION, 1, Packed(20, 20));
  SendMessageW(listView, WM_NULL, 0, 0);  // not a list-view request
  auto counted = desk->Report();
  ASSERT_TRUE(counted);
  EXPECT_EQ(counted->RequestCount(LVM_GETITEMCOUNT), 3u);
  EXPECT_EQ(counted->RequestCount(LVM_SETITEMPOSITION), 2u);
  EXPECT_EQ(counted->TotalRequests(), 5u) << "reports read the items without counting";

  ASSERT_TRUE(desk->ResetCounts());
  auto reset = desk->Report();
  ASSERT_TRUE(reset);
  EXPECT_EQ(reset->TotalRequests(), 0u);
}

TEST(TestDeskTest, PackedPositionsReadBackExactlyAtTheSixteenBitLimits) {
  auto desk = StartDesk(TestDeskOptions::Items(kScattered));
  ASSERT_TRUE(desk);
  HWND listView = desk->ListView();
  const POINT wanted[] = {{-5, 100}, {32767, 32767}, {-32768, -300}, {1025, 0}};
  for (int i = 0; i < 4; ++i) {
    SendMessageW(listView, LVM_SETITEMPOSITION, i, Packed(wanted[i].x, wanted[i].y));
  }
  WaitForPaint(listView);
  auto report = desk->Report();
  ASSERT_TRUE(report);
  ASSERT_EQ(report->items.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(report->items[i].x, wanted[i].x) << i;
    EXPECT_EQ(report->items[i].y, wanted[i].y) << i;
  }
}

TEST(TestDeskTest, WorkerWVariantsHoldTheViewAndLeaveProgmanEmpty) {
  for (DeskHost host : {DeskHost::kWorkerW, DeskHost::kWorkerWUnderProgman}) {
    TestDeskOptions options = TestDeskOptions::Items(kScattered);
    options.host = host;
    auto desk = StartDesk(options);
    ASSERT_TRUE(desk);
    HWND progman = FindWindowW(L"Progman", L"Program Manager");
    ASSERT_NE(progman, nullptr);
    HWND listView = desk->ListView();
    ASSERT_NE(listView, nullptr);
    HWND defView = GetParent(listView);
    HWND workerW = GetParent(defView);
    EXPECT_EQ(ClassNameOf(workerW), u"WorkerW");
    if (host == DeskHost::kWorkerW) {
      EXPECT_EQ(GetParent(workerW), nullptr);
      EXPECT_EQ(FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr), nullptr);
    } else {
      EXPECT_EQ(GetParent(workerW), progman);
    }
    EXPECT_EQ(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0), 4);
  }
}

TEST(TestDeskTest, EmptyDesktopHasAViewWithoutItemsAndNoDesktopHasNoView) {
  auto desk = StartDesk(TestDeskOptions::Empty());
  ASSERT_TRUE(desk);
  ASSERT_NE(desk->ListView(), nullptr);
  EXPECT_EQ(SendMessageW(desk->ListView(), LVM_GETITEMCOUNT, 0, 0), 0);
  auto probe = [] { return ChildProcess::Start(TestDeskExe(), L"--probe")->WaitForExit(); };
  EXPECT_EQ(probe(), 0u);
  EXPECT_EQ(desk->Quit(), 0u);
  EXPECT_EQ(FindWindowW(L"Progman", nullptr), nullptr);
  EXPECT_EQ(FindWindowW(L"WorkerW", nullptr), nullptr);
  EXPECT_EQ(probe(), 1u);
}

LRESULT CALLBACK CountTaskbarCreated(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  if (msg == taskbarCreated) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, GetWindowLongPtrW(hwnd, GWLP_USERDATA) + 1);
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(TestDeskTest, ShellRestartKeepsMovedIconsAndAnnouncesTheNewTaskbar) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CountTaskbarCreated;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"NorvTestTaskbarListener";
  RegisterClassW(&wc);
  HWND listener = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(listener, nullptr);

  auto desk = StartDesk(TestDeskOptions::Items(kScattered));
  ASSERT_TRUE(desk);
  SendMessageW(desk->ListView(), LVM_SETITEMPOSITION, 0, Packed(400, 300));

  ASSERT_TRUE(desk->Vanish());
  EXPECT_EQ(desk->ListView(), nullptr);
  auto gone = desk->Report();
  ASSERT_TRUE(gone);
  EXPECT_FALSE(gone->present);
  EXPECT_TRUE(gone->items.empty());

  ASSERT_TRUE(desk->Appear());
  ASSERT_NE(desk->ListView(), nullptr);
  auto back = desk->Report();
  ASSERT_TRUE(back);
  ASSERT_EQ(back->items.size(), 4u);
  EXPECT_EQ(back->items[0], (DeskItem{400, 300, 0, u"マイナス"}));
  EXPECT_TRUE(WaitUntil([&] { return GetWindowLongPtrW(listener, GWLP_USERDATA) == 1; }));

  ASSERT_TRUE(desk->Restart(200));
  EXPECT_EQ(desk->ListView(), nullptr);
  EXPECT_TRUE(desk->WaitForListView());
  EXPECT_TRUE(WaitUntil([&] { return GetWindowLongPtrW(listener, GWLP_USERDATA) == 2; }));
  DestroyWindow(listener);
}

TEST(TestDeskTest, ViewDiesAfterTheGivenNumberOfRequests) {
  auto desk = StartDesk(TestDeskOptions::Items(kScattered));
  ASSERT_TRUE(desk);
  HWND listView = desk->ListView();
  ASSERT_TRUE(desk->VanishAfterRequests(2));
  EXPECT_EQ(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_TRUE(WaitUntil([&] { return desk->ListView() == nullptr; }));
  ASSERT_TRUE(desk->Appear());
  EXPECT_EQ(SendMessageW(desk->ListView(), LVM_GETITEMCOUNT, 0, 0), 4);
}

TEST(TestDeskTest, DeletesAnItemHangsAndGrowsAfterAnnouncingTheNewDisplay) {
  auto desk = StartDesk(TestDeskOptions::Items(kScattered));
  ASSERT_TRUE(desk);
  ASSERT_TRUE(desk->DeleteItem(1));
  EXPECT_FALSE(desk->DeleteItem(9));
  auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->items, (std::vector<DeskItem>{kScattered[0], kScattered[2], kScattered[3]}));

  // A request during the hang is not answered in time; once it ends the view answers again.
  ASSERT_TRUE(desk->Hang(1500));
  DWORD_PTR count = 0;
  EXPECT_FALSE(SendMessageTimeoutW(desk->ListView(), LVM_GETITEMCOUNT, 0, 0, 0, 200, &count));
  EXPECT_TRUE(SendMessageTimeoutW(desk->ListView(), LVM_GETITEMCOUNT, 0, 0, 0, 10000, &count));
  EXPECT_EQ(count, 3u);

  ASSERT_TRUE(desk->Resize({1400, 900}, 200));
  EXPECT_TRUE(WaitUntil([&] {
    report = desk->Report();
    return report && report->clientWidth == 1400 && report->clientHeight == 900;
  }));
}

TEST(TestDeskTest, LoadReplacesTheItems) {
  auto desk = StartDesk(TestDeskOptions::Sample());
  ASSERT_TRUE(desk);
  const std::vector<DeskItem> two = {{1, 2, 3, u"一"}, {4, 5, 0, u"二 "}};
  ASSERT_TRUE(desk->Load(two));
  WaitForPaint(desk->ListView());
  auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->items, two);
}

TEST(TestDeskTest, GeneratesAThousandDistinctIconsOnTheScreen) {
  auto desk = StartDesk(TestDeskOptions::Generated(1000));
  ASSERT_TRUE(desk);
  auto report = desk->Report();
  ASSERT_TRUE(report);
  ASSERT_EQ(report->items.size(), 1000u);
  std::set<std::u16string> texts;
  for (const DeskItem& item : report->items) {
    texts.insert(item.text);
    EXPECT_TRUE(item.x >= 0 && item.x <= 1024 && item.y >= 0 && item.y <= 768) << item.x;
  }
  EXPECT_EQ(texts.size(), 1000u);
}

TEST(TestDeskTest, EndsByItselfOrRefusesBadInput) {
  TestDeskOptions options = TestDeskOptions::Empty();
  options.exitAfterMs = 300;
  auto desk = StartDesk(options);
  ASSERT_TRUE(desk);
  EXPECT_EQ(desk->process().WaitForExit(10000), 0u);

  const std::wstring badDescription = NewTempFile();
  ASSERT_TRUE(WriteFileBytes(badDescription, "10 20 0 fine\n10 twenty 0 broken\n"));
  for (const std::wstring& arguments :
       {L"--description " + QuoteArgument(badDescription), std::wstring(L"--generate many"),
        std::wstring(L"--no-such-option")}) {
    auto process = ChildProcess::Start(TestDeskExe(), arguments);
    ASSERT_TRUE(process);
    EXPECT_EQ(process->WaitForExit(10000), 2u)
        << U16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(arguments.c_str())));
  }
  DeleteFileW(badDescription.c_str());
}

TEST(WindowHelpersTest, ReadAndAnswerAMessageBox) {
  static std::atomic<int> answer = 0;
  std::thread shower([] {
    answer = MessageBoxW(nullptr, L"ｱｲｺﾝが見つかりませんでした。", L"Norvane",
                         MB_YESNO | MB_ICONQUESTION);
  });
  auto box = WaitForMessageBox(GetCurrentProcessId());
  if (!box) {
    shower.detach();  // the box never showed; nothing to wait for
    FAIL() << "no message box";
  }
  EXPECT_EQ(box->title, u"Norvane");
  EXPECT_EQ(box->text, u"ｱｲｺﾝが見つかりませんでした。");
  EXPECT_EQ(box->buttons.size(), 2u);
  EXPECT_TRUE(PressButton(box->hwnd, IDNO));
  shower.join();
  EXPECT_EQ(answer, IDNO);
}

TEST(WindowHelpersTest, QuotedArgumentsReadBackUnchanged) {
  for (const std::wstring& argument :
       {std::wstring(L"plain"), std::wstring(L""), std::wstring(L"C:\\Program Files\\N v\\"),
        std::wstring(L"say \"hi\\\" there"), std::wstring(L"ごみ 箱")}) {
    const std::wstring line = L"x.exe " + QuoteArgument(argument);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(line.c_str(), &argc);
    ASSERT_EQ(argc, 2);
    EXPECT_EQ(std::wstring(argv[1]), argument);
    LocalFree(argv);
  }
}

}  // namespace
}  // namespace norv::wintest
