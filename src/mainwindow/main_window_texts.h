#pragma once

#include <array>

// Every text of the main window, as the user sees it.
namespace norv::main_window_text {

inline constexpr char16_t kCaption[] =
    u"Norvane (ﾃﾞｽｸﾄｯﾌﾟ ｱｲｺﾝﾂｰﾙ)  Designed by r-Vemo  Version 2.0.0";

inline constexpr char16_t kIconsSection[] = u"ﾃﾞｽｸﾄｯﾌﾟ上のｱｲｺﾝ";
inline constexpr char16_t kSelectedSection[] = u"選択したｱｲｺﾝ";
inline constexpr char16_t kAllSection[] = u"全てのｱｲｺﾝ";
inline constexpr char16_t kLayoutSection[] = u"ｱｲｺﾝの状態";

inline constexpr std::array<const char16_t*, 6> kHeaders{u"no.",     u"x位置", u"y位置",
                                                         u"ｲﾒｰｼﾞno", u"区分",  u"ｱｲｺﾝﾃｷｽﾄ"};

inline constexpr std::array<const char16_t*, 8> kButtons{
    u"非表示", u"表示", u"非表示", u"表示", u"自動整列", u"名前を付けて保存", u"復帰", u"ﾀｽｸﾄﾚｲへ"};
inline constexpr char16_t kStartUp[] = u"ｽﾀｰﾄｱｯﾌﾟに登録";

inline constexpr std::array<const char16_t*, 2> kOptions{u"起動時には前回終了時の状態で表示",
                                                         u"終了時には起動時の状態に戻さない"};

inline constexpr char16_t kListToolTip[] = u"ｱｲｺﾝの選択";

inline constexpr char16_t kHiddenIconsRemain[] = u"非表示ｱｲｺﾝが含まれています。";
inline constexpr char16_t kOptionsNotSaved[] =
    u"設定ファイル Norv.ini に書き込めませんでした。\n\n"
    u"オプションの設定は終了するまで有効です。この画面を次に閉じるときに、もう一度保存します。";

}  // namespace norv::main_window_text
