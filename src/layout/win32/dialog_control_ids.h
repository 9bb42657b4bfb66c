#pragma once

// Control ids of the dialogs' own controls, so that tests can find them.
namespace norv {

inline constexpr int kNameBoxId = 101;     // save dialog: Icon_Name
inline constexpr int kLayoutListId = 201;  // restore dialog: List1
inline constexpr int kRecordListId = 202;  // restore dialog: List2

}  // namespace norv
