#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norv {

inline constexpr char16_t kForbiddenCharacterMessage[] =
    u"名前に次の文字と制御文字は使えません。\r\n\\ / : * ? \" < > |";
inline constexpr char16_t kReservedNameMessage[] =
    u"この名前はWindowsが機器名として予約しているため使えません。\r\n別の名前を入力して下さい。";
inline constexpr char16_t kTrailingCharacterMessage[] = u"名前の最後に空白や「.」は使えません。";
inline constexpr char16_t kNameTooLongMessage[] = u"名前が長すぎます。短い名前を入力して下さい。";

// What a layout name is wanted for.
enum class LayoutNameUse { kWrite, kRead };

// Why the typed layout name cannot become a file in the program's folder, as the message to
// show; nullopt when it can. The name is never changed: what is accepted is saved as typed. Its
// path is held to kMaxPathLength, for writing together with the temporary file the save writes
// beside it.
std::optional<std::u16string_view> RefuseLayoutName(std::u16string_view appDirectory,
                                                    std::u16string_view name,
                                                    LayoutNameUse use = LayoutNameUse::kWrite);

}  // namespace norv
