#include "core/win32/folder_view/bounded_folder_view.h"

#include <utility>
#include <vector>

#include "core/win32/scoped_handles.h"

namespace norv {
namespace {

// Waits on an event, running whatever other threads send this one meanwhile (a thread waiting on
// a cross-process call does the same); posted messages stay queued.
class MessageAnsweringWait final : public WorkerWait {
 public:
  MessageAnsweringWait() : woken_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

  std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
  void WaitUpTo(std::chrono::milliseconds longest) override {
    // Also a message that was sent before the wait began.
    const HANDLE woken = woken_.get();
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &woken, static_cast<DWORD>(longest.count()),
                                                   QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
  void Wake() override { SetEvent(woken_.get()); }

 private:
  const ScopedHandle woken_;
};

}  // namespace

BoundedFolderView::BoundedFolderView(FolderViewShell shell, std::chrono::milliseconds deadline)
    : worker_(std::make_shared<MessageAnsweringWait>(), deadline) {
  // COM is started on the worker's thread by the folder view it makes there.
  auto made = std::make_shared<std::shared_ptr<FolderViewDesktop>>();
  if (worker_.Run([made, shell = std::move(shell), callStarts = worker_.CallStarts()] {
        *made = std::make_shared<FolderViewDesktop>(shell, callStarts);
      })) {
    desktop_ = std::move(*made);
  }
}

BoundedFolderView::~BoundedFolderView() {
  // The last reference goes on the worker's thread, after any call still out there.
  worker_.AtEnd([desktop = std::move(desktop_)]() mutable { desktop.reset(); });
}

template <class Result, class Work>
std::optional<Result> BoundedFolderView::Ask(Work work) {
  if (!desktop_) return std::nullopt;
  auto answer = std::make_shared<std::optional<Result>>();
  if (!worker_.Run(
          [answer, desktop = desktop_, work = std::move(work)] { *answer = work(*desktop); })) {
    return std::nullopt;
  }
  return std::move(*answer);
}

bool BoundedFolderView::FindDesktopListView() {
  const auto window = Ask<HWND>([](FolderViewDesktop& desktop) -> HWND {
    return desktop.FindDesktopListView() ? desktop.ViewWindow() : nullptr;
  });
  viewWindow_ = window.value_or(nullptr);
  return viewWindow_ != nullptr;
}

DesktopRect BoundedFolderView::GetDesktopRect() {
  return Ask<DesktopRect>([](FolderViewDesktop& desktop) { return desktop.GetDesktopRect(); })
      .value_or(DesktopRect{});
}

std::optional<int32_t> BoundedFolderView::GetItemCount() {
  return Ask<std::optional<int32_t>>(
             [](FolderViewDesktop& desktop) { return desktop.GetItemCount(); })
      .value_or(std::nullopt);
}

std::optional<std::vector<DesktopItem>> BoundedFolderView::ReadItems(int32_t count) {
  return Ask<std::optional<std::vector<DesktopItem>>>(
             [count](FolderViewDesktop& desktop) { return desktop.ReadItems(count); })
      .value_or(std::nullopt);
}

size_t BoundedFolderView::MoveItems(std::span<const IconMove> moves) {
  return Ask<size_t>([moves = std::vector<IconMove>(moves.begin(), moves.end())](
                         FolderViewDesktop& desktop) { return desktop.MoveItems(moves); })
      .value_or(0);
}

bool BoundedFolderView::ArrangeIcons() {
  return Ask<bool>([](FolderViewDesktop& desktop) { return desktop.ArrangeIcons(); })
      .value_or(false);
}

}  // namespace norv
