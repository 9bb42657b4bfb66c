#pragma once

#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/user_messages.h"

namespace norv {

class CommandOutput;

// A command never shows a box: a message of the program's behaviour becomes one error line, and a
// question is answered "No", so nothing is replaced that the command line did not ask for.
class OutputMessages final : public UserMessages {
 public:
  explicit OutputMessages(CommandOutput& out) : out_(out) {}
  MessageAnswer Show(const std::u16string& text, MessageStyle style,
                     const std::u16string& title) override;

 private:
  CommandOutput& out_;
};

// The resident Norvane answers a command whose desktop has no icons instead of ending on its
// behalf.
class KeepRunning final : public ProgramEnd {
 public:
  void EndNow() override {}
};

// The desktop passed through, remembering whether an icon could not be read or moved, so that a
// command can say that the desktop did not answer. Finding the view is not counted: the snapshot
// looks again a few times before it gives up, and says so itself.
class WatchedDesktop final : public DesktopListView {
 public:
  explicit WatchedDesktop(DesktopListView& desktop) : desktop_(desktop) {}

  bool failed() const { return failed_; }

  bool FindDesktopListView() override { return desktop_.FindDesktopListView(); }
  DesktopRect GetDesktopRect() override { return desktop_.GetDesktopRect(); }
  std::optional<int32_t> GetItemCount() override { return Watch(desktop_.GetItemCount()); }
  bool BeginItemReads() override { return Watch(desktop_.BeginItemReads()); }
  std::optional<Point> GetItemPosition(int32_t index) override {
    return Watch(desktop_.GetItemPosition(index));
  }
  std::optional<ItemLabel> GetItemLabel(int32_t index) override {
    return Watch(desktop_.GetItemLabel(index));
  }
  void EndItemReads() override { desktop_.EndItemReads(); }
  bool SetItemPosition(int32_t index, int32_t x, int32_t y) override {
    return Watch(desktop_.SetItemPosition(index, x, y));
  }
  bool ArrangeIcons() override { return Watch(desktop_.ArrangeIcons()); }
  bool ViewStillExists() override { return desktop_.ViewStillExists(); }

 private:
  template <typename T>
  T Watch(T answer) {
    if (!answer) failed_ = true;
    return answer;
  }

  DesktopListView& desktop_;
  bool failed_ = false;
};

// The platform as one command uses it: the same files and settings, the desktop watched, messages
// as lines of `out`, and the program's end as `end` makes it.
class CommandServices {
 public:
  CommandServices(const Services& platform, CommandOutput& out, ProgramEnd& end);
  CommandServices(const CommandServices&) = delete;
  CommandServices& operator=(const CommandServices&) = delete;

  Services& services() { return services_; }
  CommandOutput& out() { return out_; }
  // An icon could not be read or moved, or the desktop had none, since the command began.
  bool desktopFailed() const { return desktop_.failed() || end_.ended; }

 private:
  // Notes the end before passing it on.
  class WatchedEnd final : public ProgramEnd {
   public:
    explicit WatchedEnd(ProgramEnd& end) : end_(end) {}
    void EndNow() override {
      ended = true;
      end_.EndNow();
    }
    bool ended = false;

   private:
    ProgramEnd& end_;
  };

  CommandOutput& out_;
  WatchedDesktop desktop_;
  OutputMessages messages_;
  WatchedEnd end_;
  Services services_;
};

}  // namespace norv
