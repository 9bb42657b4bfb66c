#include "resident/commands/command_services.h"

#include "resident/commands/command_output.h"

namespace norv {

MessageAnswer OutputMessages::Show(const std::u16string& text, MessageStyle style,
                                   const std::u16string&) {
  out_.Error(OneLine(text));
  return style == MessageStyle::kYesNoQuestion ? MessageAnswer::kNo : MessageAnswer::kOk;
}

CommandServices::CommandServices(const Services& platform, CommandOutput& out, ProgramEnd& end)
    : out_(out),
      desktop_(platform.desktop),
      messages_(out),
      end_(end),
      services_(
          Services{desktop_, platform.files, platform.profile, messages_, end_, platform.pause}) {}

}  // namespace norv
