#pragma once

// Control ids of the dialogs' own controls, so that tests can find them.
namespace norv {

inline constexpr int kNameBoxId = 101;     // save dialog: the name box
inline constexpr int kLayoutListId = 201;  // restore dialog: the saved layouts
inline constexpr int kRecordListId = 202;  // restore dialog: the selected layout's records

}  // namespace norv
