// The chrome on a real window: a window laid out like the main window, driven with mouse and
// keyboard messages routed the way the system routes them. Writes screenshots into the working
// folder (chrome_96dpi.bmp, chrome_144dpi.bmp).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "chrome/win32/chrome_window.h"
#include "support/window_picture.h"

namespace norv {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvChromeTestWindow";

LRESULT CALLBACK DemoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A window with the main window's chrome: panels, plates, buttons, header cells, check boxes.
struct Demo {
  Demo() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DemoProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    window =
        CreateWindowExW(0, kWindowClass, L"Norvane chrome", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                        0, 0, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    chrome = std::make_unique<ChromeWindow>(window, GetModuleHandleW(nullptr));
    chrome->SizeToClientAndCentre({537, 385});
    back = chrome->AddPanel(window, {0, 0, 537, 385});

    chrome->AddTitlePlate(back, {12, 12, 123, 20}, FaceFit::kStretch,
                          {.rect = {16, 16, 115, 16}, .caption = u"ﾃﾞｽｸﾄｯﾌﾟ上のｱｲｺﾝ"});
    arrange = chrome->AddButton(back, {.face = {304, 12, 95, 22},
                                       .label = {304, 16, 93, 17},
                                       .caption = u"自動整列",
                                       .fit = FaceFit::kNatural,
                                       .command = [this] { ++arrangeCount; }});
    startUp = chrome->AddButton(back, {.face = {408, 12, 113, 21},
                                       .label = {408, 16, 113, 17},
                                       .caption = u"ｽﾀｰﾄｱｯﾌﾟに登録",
                                       .command = [this] { ++startUpCount; }});
    const std::u16string headers[] = {u"no.", u"x位置", u"y位置", u"ｲﾒｰｼﾞno", u"区分", u"ｱｲｺﾝﾃｷｽﾄ"};
    const DesignRect cells[] = {{12, 40, 41, 21},  {52, 40, 57, 21},  {108, 40, 57, 21},
                                {164, 40, 61, 21}, {224, 40, 65, 21}, {288, 40, 233, 21}};
    for (int i = 0; i < 6; ++i) header[i] = chrome->AddHeaderCell(back, cells[i], headers[i]);
    list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_USETABSTOPS, 0, 0,
                           10, 10, back, nullptr, GetModuleHandleW(nullptr), nullptr);
    chrome->Place(list, {12, 60, 509, 186});
    SendMessageW(list, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(L" 1\t 120\t 45\t 3\t表示\tごみ箱"));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L" 2\t\t\t 7\t非表示\tメモ帳"));

    const DesignRect plates[] = {{12, 256, 95, 22}, {176, 256, 95, 22}, {288, 256, 95, 22}};
    const DesignRect plateLabels[] = {{12, 260, 95, 17}, {176, 260, 95, 17}, {288, 260, 95, 16}};
    const std::u16string plateCaptions[] = {u"選択したｱｲｺﾝ", u"全てのｱｲｺﾝ", u"ｱｲｺﾝの状態"};
    for (int i = 0; i < 3; ++i) {
      chrome->AddTitlePlate(back, plates[i], FaceFit::kNatural,
                            {.rect = plateLabels[i], .caption = plateCaptions[i]});
    }
    const DesignRect groups[] = {
        {12, 280, 153, 69}, {176, 280, 101, 69}, {288, 280, 121, 69}, {420, 280, 101, 69}};
    for (int i = 0; i < 4; ++i) group[i] = chrome->AddPanel(back, groups[i]);
    chrome->AddLabel(group[0], {.rect = {8, 8, 53, 49}, .background = RGB(255, 255, 255)});
    hide = chrome->AddButton(group[0], {.face = {68, 8, 73, 20},
                                        .label = {68, 12, 73, 16},
                                        .caption = u"非表示",
                                        .font = CaptionFont::kWindowDefault,
                                        .command = [this] { ++hideCount; }});
    show = chrome->AddButton(group[0], {.face = {68, 36, 73, 20},
                                        .label = {68, 40, 73, 16},
                                        .caption = u"表示",
                                        .font = CaptionFont::kWindowDefault,
                                        .command = [this] { ++showCount; }});
    show.SetEnabled(false);
    chrome->AddButton(group[1],
                      {.face = {8, 8, 81, 20}, .label = {8, 12, 81, 17}, .caption = u"非表示"});
    chrome->AddButton(group[1],
                      {.face = {8, 36, 81, 20}, .label = {8, 40, 81, 17}, .caption = u"表示"});
    chrome->AddButton(group[2], {.face = {8, 8, 103, 20},
                                 .label = {8, 12, 101, 16},
                                 .caption = u"名前を付けて保存",
                                 .font = CaptionFont::kWindowDefault});
    chrome->AddButton(group[2], {.face = {8, 36, 103, 20},
                                 .label = {8, 40, 101, 16},
                                 .caption = u"復帰",
                                 .font = CaptionFont::kWindowDefault});
    closer = chrome->AddButton(group[3], {.face = {8, 36, 83, 20},
                                          .label = {8, 40, 83, 17},
                                          .caption = u"ﾀｽｸﾄﾚｲへ",
                                          .command = [this] { DestroyWindow(window); }});
    for (int i = 0; i < 2; ++i) {
      check[i] =
          chrome->AddCheckBox(back, {.box = {i == 0 ? 16 : 288, 356, 13, 13},
                                     .label = {i == 0 ? 32 : 304, 356, i == 0 ? 206 : 201, 13},
                                     .caption = i == 0 ? u"起動時には前回終了時の状態で表示"
                                                       : u"終了時には起動時の状態に戻さない",
                                     .checked = i == 1,
                                     .onPress = [this, i] {
                                       ++checkPresses[i];
                                       check[i].SetChecked(!check[i].checked());
                                     }});
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    Pump();
  }

  ~Demo() {
    if (IsWindow(window)) DestroyWindow(window);
    Pump();
  }

  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateChromeKeyboard(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  HWND window = nullptr;
  std::unique_ptr<ChromeWindow> chrome;
  HWND back = nullptr;
  HWND group[4] = {};
  HWND header[6] = {};
  HWND list = nullptr;
  ImageButton arrange, startUp, hide, show, closer;
  CheckBox check[2];
  int arrangeCount = 0, startUpCount = 0, hideCount = 0, showCount = 0;
  int checkPresses[2] = {};
};

POINT ToScreen(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

// Delivers a mouse message where the system would: to the window holding the capture, else to the
// window under the point (which skips disabled and see-through windows).
void Mouse(POINT screen, UINT message, WPARAM keys = MK_LBUTTON) {
  HWND target = GetCapture();
  if (!target) target = WindowFromPoint(screen);
  ASSERT_NE(target, nullptr);
  POINT client = screen;
  ScreenToClient(target, &client);
  SendMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
}

HCURSOR CursorOver(POINT screen) {
  HWND target = WindowFromPoint(screen);
  SetCursor(nullptr);
  SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

std::u16string TextOf(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return reinterpret_cast<const char16_t*>(buffer);
}

HWND FindChildByText(HWND parent, const std::u16string& text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (TextOf(child) == text) return child;
    if (HWND inner = FindChildByText(child, text)) return inner;
  }
  return nullptr;
}

COLORREF ScreenPixel(POINT screen) {
  HDC dc = GetDC(nullptr);
  const COLORREF colour = GetPixel(dc, screen.x, screen.y);
  ReleaseDC(nullptr, dc);
  return colour;
}

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

TEST(ChromeWindow, ClientAreaIsExactlyThePanelAtDesignDpi) {
  Demo demo;
  ASSERT_EQ(demo.chrome->dpi(), 96) << "these checks assume a 96 DPI test screen";
  RECT client;
  GetClientRect(demo.window, &client);
  EXPECT_EQ(client.right, 537);
  EXPECT_EQ(client.bottom, 385);
  RECT panel;
  GetWindowRect(demo.back, &panel);
  const POINT origin = ToScreen(demo.window, 0, 0);
  EXPECT_EQ(panel.left, origin.x);
  EXPECT_EQ(panel.top, origin.y);
  EXPECT_EQ(panel.right - panel.left, 537);
  // Centred on the screen.
  RECT outer;
  GetWindowRect(demo.window, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
  // Widgets sit at their design pixels.
  RECT label;
  GetWindowRect(demo.arrange.label(), &label);
  EXPECT_EQ(label.left - origin.x, 304);
  EXPECT_EQ(label.top - origin.y, 16);
  EXPECT_EQ(label.right - label.left, 93);
  EXPECT_EQ(label.bottom - label.top, 17);
  const std::u16string face = JapaneseFontFace();
  char utf8[128] = {};
  WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(face.c_str()), -1, utf8,
                      sizeof utf8, nullptr, nullptr);
  std::printf("caption font: %s\n", utf8);
  EXPECT_FALSE(face.empty()) << "no font for Japanese captions";
  wintest::SaveWindowPicture(demo.window, L"chrome_96dpi.bmp");
}

TEST(ChromeWindow, LabelsAreChildWindowsWithTheirCaptionAndEnabledState) {
  Demo demo;
  HWND arrange = FindChildByText(demo.window, u"自動整列");
  ASSERT_NE(arrange, nullptr);
  EXPECT_EQ(arrange, demo.arrange.label());
  EXPECT_TRUE(GetWindowLongW(arrange, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowEnabled(arrange));
  HWND show = FindChildByText(demo.group[0], u"表示");
  ASSERT_EQ(show, demo.show.label());
  EXPECT_FALSE(IsWindowEnabled(show));
  demo.show.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(show));
  EXPECT_TRUE(demo.show.enabled());
  EXPECT_NE(FindChildByText(demo.window, u"起動時には前回終了時の状態で表示"), nullptr);
  EXPECT_EQ(TextOf(demo.header[5]), u"ｱｲｺﾝﾃｷｽﾄ");
}

TEST(ChromeWindow, PressShowsPressedFaceAndReleaseRunsTheCommandOnce) {
  Demo demo;
  // The face's top strip (rows 12 to 15) is not under the label: it shows the face's own colour.
  const POINT strip = ToScreen(demo.window, 350, 13);
  const POINT onLabel = ToScreen(demo.window, 350, 24);
  const int released = Brightness(ScreenPixel(strip));
  Mouse(onLabel, WM_LBUTTONDOWN);
  UpdateWindow(demo.window);
  Demo::Pump();
  EXPECT_EQ(GetCapture(), demo.arrange.label());
  EXPECT_LT(Brightness(ScreenPixel(strip)), released - 60) << "pressed face not shown";
  EXPECT_EQ(demo.arrangeCount, 0) << "the command runs on release, not on press";
  Mouse(onLabel, WM_LBUTTONUP, 0);
  Demo::Pump();
  EXPECT_EQ(demo.arrangeCount, 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Brightness(ScreenPixel(strip)), released);
  // Any mouse button does the same.
  Mouse(onLabel, WM_RBUTTONDOWN, MK_RBUTTON);
  Mouse(onLabel, WM_RBUTTONUP, 0);
  EXPECT_EQ(demo.arrangeCount, 2);
}

TEST(ChromeWindow, ReleaseOutsideTheButtonStillRunsTheCommand) {
  Demo demo;
  Mouse(ToScreen(demo.window, 350, 24), WM_LBUTTONDOWN);
  Mouse(ToScreen(demo.window, 100, 200), WM_LBUTTONUP, 0);  // over the list
  EXPECT_EQ(demo.arrangeCount, 1);
  // A release that ends no press does nothing.
  Mouse(ToScreen(demo.window, 350, 24), WM_LBUTTONUP, 0);
  EXPECT_EQ(demo.arrangeCount, 1);
}

TEST(ChromeWindow, TopStripOfAFaceDoesNothingAndKeepsTheOrdinaryPointer) {
  Demo demo;
  const POINT strip = ToScreen(demo.window, 350, 13);
  EXPECT_EQ(WindowFromPoint(strip), demo.back);
  Mouse(strip, WM_LBUTTONDOWN);
  Mouse(strip, WM_LBUTTONUP, 0);
  EXPECT_EQ(demo.arrangeCount, 0);
  EXPECT_EQ(CursorOver(strip), LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(CursorOver(ToScreen(demo.window, 350, 24)), demo.chrome->handCursor());
  // Captions that do nothing let the mouse through to the panel.
  EXPECT_EQ(WindowFromPoint(ToScreen(demo.window, 60, 22)), demo.back);
}

TEST(ChromeWindow, DisabledButtonIgnoresTheMouseAndKeepsItsFace) {
  Demo demo;
  const POINT onLabel = ToScreen(demo.window, 100, 328);  // "表示" of the first group, disabled
  const POINT faceStrip = ToScreen(demo.window, 100, 317);
  const COLORREF before = ScreenPixel(faceStrip);
  EXPECT_NE(WindowFromPoint(onLabel), demo.show.label());
  Mouse(onLabel, WM_LBUTTONDOWN);
  UpdateWindow(demo.window);
  EXPECT_EQ(ScreenPixel(faceStrip), before);
  Mouse(onLabel, WM_LBUTTONUP, 0);
  // Even a press sent straight to the disabled label is ignored.
  SendMessageW(demo.show.label(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(demo.show.label(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Demo::Pump();
  EXPECT_EQ(demo.showCount, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(ChromeWindow, CommandThatClosesTheWindowEndsCleanly) {
  Demo demo;
  const POINT onLabel = ToScreen(demo.window, 470, 328);  // "ﾀｽｸﾄﾚｲへ"
  Mouse(onLabel, WM_LBUTTONDOWN);
  Mouse(onLabel, WM_LBUTTONUP, 0);
  Demo::Pump();
  EXPECT_FALSE(IsWindow(demo.window));
}

TEST(ChromeWindow, CheckBoxTogglesOnPressOfPictureOrCaption) {
  Demo demo;
  Mouse(ToScreen(demo.window, 22, 362), WM_LBUTTONDOWN);  // the picture
  Mouse(ToScreen(demo.window, 22, 362), WM_LBUTTONUP, 0);
  EXPECT_EQ(demo.checkPresses[0], 1);
  EXPECT_TRUE(demo.check[0].checked());
  Mouse(ToScreen(demo.window, 100, 362), WM_RBUTTONDOWN, MK_RBUTTON);  // the caption
  EXPECT_EQ(demo.checkPresses[0], 2);
  EXPECT_FALSE(demo.check[0].checked());
  EXPECT_EQ(CursorOver(ToScreen(demo.window, 22, 362)), demo.chrome->handCursor());
  EXPECT_EQ(CursorOver(ToScreen(demo.window, 100, 362)), demo.chrome->handCursor());
}

// Sends a key through the message loop's keyboard handling, as a real key press arrives.
void Key(HWND focus, UINT message, WPARAM key) {
  MSG msg{focus, message, key, message == WM_KEYUP ? 0xC0000001 : 1, 0, {}};
  if (!TranslateChromeKeyboard(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Demo::Pump();
}

TEST(ChromeWindow, KeyboardReachesButtonsAndCheckBoxesWithTabSpaceAndEnter) {
  Demo demo;
  SetFocus(demo.arrange.label());
  ASSERT_EQ(GetFocus(), demo.arrange.label());
  Key(GetFocus(), WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(demo.arrangeCount, 0);
  Key(GetFocus(), WM_KEYUP, VK_SPACE);
  EXPECT_EQ(demo.arrangeCount, 1);
  Key(GetFocus(), WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(demo.arrangeCount, 2);
  // Tab goes on to the next button.
  Key(GetFocus(), WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), demo.startUp.label());
  Key(GetFocus(), WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(demo.startUpCount, 1);
  UpdateWindow(demo.window);
  wintest::SaveWindowPicture(demo.window, L"chrome_focus.bmp");
  // A disabled button is skipped by Tab and never runs.
  std::vector<HWND> visited;
  for (int i = 0; i < 20; ++i) {
    Key(GetFocus(), WM_KEYDOWN, VK_TAB);
    visited.push_back(GetFocus());
  }
  EXPECT_EQ(std::count(visited.begin(), visited.end(), demo.show.label()), 0);
  EXPECT_GT(std::count(visited.begin(), visited.end(), demo.hide.label()), 0);
  EXPECT_GT(std::count(visited.begin(), visited.end(), demo.check[1].label()), 0);
  SetFocus(demo.check[1].label());
  Key(GetFocus(), WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(demo.checkPresses[1], 1);
  EXPECT_FALSE(demo.check[1].checked());
}

TEST(ChromeWindow, FollowsADpiChange) {
  Demo demo;
  RECT suggested{10, 10, 900, 700};
  demo.chrome->OnDpiChanged(MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  Demo::Pump();
  EXPECT_EQ(demo.chrome->dpi(), 144);
  RECT client;
  GetClientRect(demo.window, &client);
  EXPECT_EQ(client.right, 806);
  EXPECT_EQ(client.bottom, 578);
  RECT label;
  GetWindowRect(demo.arrange.label(), &label);
  const POINT origin = ToScreen(demo.window, 0, 0);
  EXPECT_EQ(label.left - origin.x, 456);
  EXPECT_EQ(label.top - origin.y, 24);
  EXPECT_EQ(label.right - label.left, 140);
  // The scaled window still works: press on the scaled label.
  const POINT onLabel = ToScreen(demo.window, 520, 36);
  Mouse(onLabel, WM_LBUTTONDOWN);
  Mouse(onLabel, WM_LBUTTONUP, 0);
  EXPECT_EQ(demo.arrangeCount, 1);
  UpdateWindow(demo.window);
  wintest::SaveWindowPicture(demo.window, L"chrome_144dpi.bmp");
}

TEST(ChromeWindow, AnimationsReturnAndIconsLoad) {
  Demo demo;
  AnimateOpen(demo.window, 0, 0);
  AnimateClose(demo.window, 10, 10);
  const ScreenPoint anchor = CursorAnchor();
  POINT cursor;
  ASSERT_TRUE(GetCursorPos(&cursor));
  EXPECT_EQ(anchor.x, cursor.x);
  EXPECT_EQ(anchor.y, cursor.y);
  for (int size : {16, 32, 48}) {
    const ScopedIcon program = LoadProgramIcon(GetModuleHandleW(nullptr), size);
    const ScopedIcon restore = LoadRestoreIcon(GetModuleHandleW(nullptr), size);
    EXPECT_NE(program, nullptr) << size;
    EXPECT_NE(restore, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(program.get(), &info));
    const ScopedBitmap colour(info.hbmColor);
    const ScopedBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
  }
}

}  // namespace
}  // namespace norv
