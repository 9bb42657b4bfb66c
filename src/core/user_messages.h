#pragma once

#include <cstdint>
#include <string>

namespace norv {

// Message-box styles as the platform's flags.
enum class MessageStyle : uint32_t {
  kExclamation = 48,    // OK button, exclamation icon
  kYesNoQuestion = 36,  // Yes and No buttons, question icon
};

enum class MessageAnswer { kOk, kYes, kNo };

inline constexpr char16_t kMessageTitle[] = u"Norvane";
inline constexpr char16_t kErrorTitle[] = u"Norvane Error";

// Modal message boxes, the program's only way of telling the user something.
class UserMessages {
 public:
  virtual ~UserMessages() = default;
  virtual MessageAnswer Show(const std::u16string& text, MessageStyle style,
                             const std::u16string& title) = 0;
};

// Ends the process at once, running no window's unload handling. The Windows implementation
// never returns; a test implementation may throw to observe the end.
class ProgramEnd {
 public:
  virtual ~ProgramEnd() = default;
  virtual void EndNow() = 0;
};

}  // namespace norv
