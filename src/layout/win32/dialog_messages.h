#pragma once

#include <windows.h>

#include "core/user_messages.h"

namespace norv {

// The platform's message boxes, with the dialog taking no input while one is up: whichever window
// owns the box, a second click on the dialog cannot start its command again underneath it.
class DialogMessages final : public UserMessages {
 public:
  explicit DialogMessages(UserMessages& messages) : messages_(messages) {}
  void SetDialog(HWND dialog) { dialog_ = dialog; }

  MessageAnswer Show(const std::u16string& text, MessageStyle style,
                     const std::u16string& title) override;

 private:
  UserMessages& messages_;
  HWND dialog_ = nullptr;
};

}  // namespace norv
