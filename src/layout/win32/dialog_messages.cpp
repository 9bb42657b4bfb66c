#include "layout/win32/dialog_messages.h"

namespace norv {

MessageAnswer DialogMessages::Show(const std::u16string& text, MessageStyle style,
                                   const std::u16string& title) {
  if (!dialog_ || !IsWindow(dialog_)) return messages_.Show(text, style, title);
  const HWND focus = GetFocus();
  EnableWindow(dialog_, FALSE);
  const MessageAnswer answer = messages_.Show(text, style, title);
  EnableWindow(dialog_, TRUE);
  SetForegroundWindow(dialog_);
  if (focus && IsChild(dialog_, focus)) SetFocus(focus);
  return answer;
}

}  // namespace norv
