#include "commands/command_line.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "commands/command_output.h"
#include "commands/command_texts.h"

namespace norv {
namespace {

struct SwitchName {
  std::u16string_view name;
  CommandKind kind;
};

constexpr std::array<SwitchName, 11> kSwitches{{
    {u"save", CommandKind::kSave},
    {u"restore", CommandKind::kRestore},
    {u"list", CommandKind::kList},
    {u"open", CommandKind::kOpen},
    {u"hide-all", CommandKind::kHideAll},
    {u"show-all", CommandKind::kShowAll},
    {u"diagnose", CommandKind::kDiagnose},
    {u"follow-displays", CommandKind::kFollowDisplays},
    {u"displays", CommandKind::kDisplays},
    {u"undo", CommandKind::kUndo},
    {u"?", CommandKind::kUsage},
}};
constexpr std::u16string_view kOverwrite = u"overwrite";

bool IsSwitch(std::u16string_view argument) {
  return argument.size() > 1 && (argument[0] == u'/' || argument[0] == u'-');
}

std::u16string LowerCase(std::u16string_view text) {
  std::u16string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; });
  return lower;
}

// The switch's name without its "/" or "-", in lower case; nullopt for anything else.
std::optional<std::u16string> SwitchNameOf(std::u16string_view argument) {
  if (!IsSwitch(argument)) return std::nullopt;
  return LowerCase(argument.substr(1));
}

std::optional<CommandKind> CommandOf(std::u16string_view argument) {
  const std::optional<std::u16string> name = SwitchNameOf(argument);
  if (!name) return std::nullopt;
  for (const SwitchName& entry : kSwitches) {
    if (entry.name == *name) return entry.kind;
  }
  return std::nullopt;
}

bool IsOverwrite(std::u16string_view argument) { return SwitchNameOf(argument) == kOverwrite; }

// A name never starts with "/" (it cannot be part of a file name), and a word that is one of our
// switches is taken for one: "/save /overwrite" lacks its name rather than naming "/overwrite".
bool CanBeName(std::u16string_view argument) {
  return !argument.starts_with(u'/') && !CommandOf(argument) && !IsOverwrite(argument);
}

ParsedCommandLine Invalid(std::u16string error) {
  ParsedCommandLine parsed;
  parsed.request.kind = CommandKind::kInvalid;
  parsed.error = std::move(error);
  return parsed;
}

ParsedCommandLine Extra(std::u16string_view argument) {
  return Invalid(Concat({command_text::kExtraArgument, PrintableText(argument)}));
}

}  // namespace

bool MovesIcons(CommandKind kind) {
  return kind == CommandKind::kRestore || kind == CommandKind::kHideAll ||
         kind == CommandKind::kShowAll || kind == CommandKind::kUndo;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments) {
  ParsedCommandLine parsed;
  if (arguments.empty()) return parsed;

  const std::u16string& first = arguments[0];
  const std::optional<CommandKind> kind = CommandOf(first);
  if (!kind) {
    if (IsOverwrite(first)) return Invalid(std::u16string(command_text::kOverwriteOutOfPlace));
    return Invalid(Concat({command_text::kUnknownCommand, PrintableText(first)}));
  }
  parsed.request.kind = *kind;

  size_t next = 1;
  if (*kind == CommandKind::kSave || *kind == CommandKind::kRestore) {
    if (arguments.size() < 2 || !CanBeName(arguments[1])) {
      return Invalid(Concat({PrintableText(first), command_text::kNameMissing}));
    }
    parsed.request.name = arguments[1];
    next = 2;
    if (*kind == CommandKind::kSave && next < arguments.size() && IsOverwrite(arguments[next])) {
      parsed.request.overwrite = true;
      ++next;
    }
  }
  if (*kind == CommandKind::kFollowDisplays) {
    const std::u16string word = arguments.size() < 2 ? u"" : LowerCase(arguments[1]);
    if (word != u"on" && word != u"off")
      return Invalid(std::u16string(command_text::kOnOffMissing));
    parsed.request.on = word == u"on";
    next = 2;
  }
  if (next < arguments.size()) {
    if (IsOverwrite(arguments[next]))
      return Invalid(std::u16string(command_text::kOverwriteOutOfPlace));
    return Extra(arguments[next]);
  }
  return parsed;
}

}  // namespace norv
