#pragma once

#include <string_view>

// The labels of /diagnose, one fact a line, for a bug report.
namespace norv::diagnosis_text {

inline constexpr std::u16string_view kWindows = u"Windows のバージョン: ";
inline constexpr std::u16string_view kBuild = u" ビルド ";
inline constexpr std::u16string_view kPath = u"ﾃﾞｽｸﾄｯﾌﾟへの経路: ";
inline constexpr std::u16string_view kFolderViewPath =
    u"シェルのフォルダー ビュー (フォルダー ビューがﾃﾞｽｸﾄｯﾌﾟのリスト ビューを持っているため)";
inline constexpr std::u16string_view kListViewNoFolderView =
    u"リスト ビューへのメッセージ (シェルのフォルダー ビューが見つからないため)";
inline constexpr std::u16string_view kListViewOtherFolderView =
    u"リスト ビューへのメッセージ (フォルダー ビューがﾃﾞｽｸﾄｯﾌﾟのリスト ビューを持っていないため)";
inline constexpr std::u16string_view kNoListViewPath =
    u"なし (ﾃﾞｽｸﾄｯﾌﾟのリスト ビューが見つからないため)";
inline constexpr std::u16string_view kForwardedPath = u"常駐中の Norvane に渡したコマンドの経路: ";
inline constexpr std::u16string_view kSamePathFromItsLoop =
    u"上と同じ (常駐中の Norvane は受け取ったコマンドを自分のメッセージ ループから実行するため)";
inline constexpr std::u16string_view kWindowChain = u"ウィンドウの並び: ";
inline constexpr std::u16string_view kNoWindowChain = u"見つかりません";
inline constexpr std::u16string_view kDesktopArea = u"ﾃﾞｽｸﾄｯﾌﾟの範囲: 右端 ";
inline constexpr std::u16string_view kBottom = u"、下端 ";
inline constexpr std::u16string_view kMonitor = u"モニター ";
inline constexpr std::u16string_view kPrimary = u" (メイン)";
inline constexpr std::u16string_view kDpi = u"、DPI ";
inline constexpr std::u16string_view kAutoArrange = u"自動整列: ";
inline constexpr std::u16string_view kSnapToGrid = u"等間隔に整列: ";
inline constexpr std::u16string_view kOn = u"オン";
inline constexpr std::u16string_view kOff = u"オフ";
inline constexpr std::u16string_view kUnknown = u"不明";
inline constexpr std::u16string_view kIconCount = u"ｱｲｺﾝの数: ";
inline constexpr std::u16string_view kFirstIcon = u"最初のｱｲｺﾝ: 「";
inline constexpr std::u16string_view kToHidingPoint = u"隠す位置へ移動: ";
inline constexpr std::u16string_view kBack = u"元の位置へ戻す: ";
inline constexpr std::u16string_view kReadBack = u" → 読み取り ";
inline constexpr std::u16string_view kNotMoved = u" → 移動できませんでした";
inline constexpr std::u16string_view kNotRead = u" → 読み取れませんでした";

inline constexpr std::u16string_view kOk = u"OK";
inline constexpr std::u16string_view kFailed = u"失敗: ";
inline constexpr std::u16string_view kNoListView = u"ﾃﾞｽｸﾄｯﾌﾟのリスト ビューが見つかりません。";
inline constexpr std::u16string_view kCountUnanswered =
    u"ﾃﾞｽｸﾄｯﾌﾟのリスト ビューがｱｲｺﾝの数の問い合わせに応答しませんでした。";
inline constexpr std::u16string_view kNoIcons = u"ﾃﾞｽｸﾄｯﾌﾟにｱｲｺﾝがありません。";
inline constexpr std::u16string_view kFirstIconUnread = u"最初のｱｲｺﾝを読み取れませんでした。";
inline constexpr std::u16string_view kNotHidden = u"最初のｱｲｺﾝが隠す位置に移りませんでした。";
inline constexpr std::u16string_view kBackOnRetry =
    u"最初のｱｲｺﾝは、元の位置へ戻す移動を繰り返してようやく戻りました。";
inline constexpr std::u16string_view kNotBack =
    u"最初のｱｲｺﾝが元の位置に戻りませんでした。上に表示した元の位置に手で戻して下さい。";

}  // namespace norv::diagnosis_text
