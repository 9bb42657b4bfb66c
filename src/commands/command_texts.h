#pragma once

#include <array>
#include <string_view>

// Every text a command prints, as the user reads it in cmd or PowerShell. Names the user typed are
// put between 「」.
namespace norv::command_text {

inline constexpr std::array<std::u16string_view, 24> kUsage{
    u"使い方: Norv.exe [コマンド]",
    u"コマンドを付けずに起動すると、常駐して通知領域にｱｲｺﾝを表示します。",
    u"",
    u"  /save 名前 [/overwrite]",
    u"      現在のｱｲｺﾝ位置と表示／非表示を、名前を付けて保存します。",
    u"      同じ名前が既にあるときは /overwrite を付けたときだけ置き換えます。",
    u"  /restore 名前",
    u"      保存したｱｲｺﾝ位置と表示／非表示を復帰します。",
    u"  /list",
    u"      保存した名前と保存日を、タブで区切って一行ずつ表示します。",
    u"  /open",
    u"      常駐している Norvane の設定画面を開きます。",
    u"  /hide-all、/show-all",
    u"      全てのｱｲｺﾝを非表示にします／起動時の位置に表示します。",
    u"  /diagnose",
    u"      ﾃﾞｽｸﾄｯﾌﾟの状態を調べて表示します (不具合の報告用)。",
    u"  /?",
    u"      この説明を表示します。",
    u"",
    u"スイッチの大文字と小文字は区別しません。/ の代わりに - も使えます。",
    u"空白を含む名前は \"\" で囲んで下さい。",
    u"終了コード: 0 完了、1 コマンドラインの誤り、2 名前を使えない・見つからない・既にある・"
    u"書き込めない、",
    u"  3 Norvane が常駐していない、4 ﾃﾞｽｸﾄｯﾌﾟのｱｲｺﾝを読み取れない、"
    u"5 Norvane が画面やメニューを表示中、",
    u"  6 常駐している Norvane にコマンドを渡せない (管理者として実行しているかどうかの違いなど)",
};

// A bad command line; the usage follows.
inline constexpr std::u16string_view kUnknownCommand = u"不明なコマンドです: ";
inline constexpr std::u16string_view kExtraArgument = u"余分な指定があります: ";
inline constexpr std::u16string_view kNameMissing = u" の後に名前を指定して下さい。";
inline constexpr std::u16string_view kOverwriteOutOfPlace =
    u"/overwrite は「/save 名前」の後に付けて下さい。";

// Layout names.
inline constexpr std::u16string_view kEmptyName = u"名前が空です。名前を指定して下さい。";
inline constexpr std::u16string_view kNameRefused = u"この名前は使えません: ";
inline constexpr std::u16string_view kAlreadySaved =
    u"」は既に保存されています。前に保存した内容はそのまま残っています。"
    u"置き換えるには /overwrite を付けて下さい。";
inline constexpr std::u16string_view kNotSaved =
    u"」という名前は保存されていません。/list で保存した名前を確かめて下さい。";
inline constexpr std::u16string_view kSeveralSaved =
    u"」という名前で表示される保存が複数あります。ファイル名のとおりに指定して下さい: ";
inline constexpr std::u16string_view kNotWritten =
    u"」を保存できませんでした。ファイルやフォルダーが読み取り専用でないか、"
    u"ディスクに空きがあるかを確認して下さい。";
inline constexpr std::u16string_view kNotWrittenKept =
    u"」を保存できませんでした。前に保存した内容はそのまま残っています。ファイルやフォルダーが"
    u"読み取り専用でないか、ディスクに空きがあるかを確認して下さい。";

// Done.
inline constexpr std::u16string_view kSaved = u"」を保存しました。";
inline constexpr std::u16string_view kRestored = u"」を復帰しました。";
inline constexpr std::u16string_view kAllHidden = u"全てのｱｲｺﾝを非表示にしました。";
inline constexpr std::u16string_view kAllShown = u"全てのｱｲｺﾝを起動時の位置に表示しました。";
inline constexpr std::u16string_view kOpened = u"設定画面を開きました。";

// The desktop. A snapshot that found no icons says so with the program's own message.
inline constexpr std::u16string_view kShellNoAnswer =
    u"ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなかったため、";
// What follows kShellNoAnswer.
inline constexpr std::u16string_view kNotSavedHere = u"保存しませんでした。";
inline constexpr std::u16string_view kNotSavedKept =
    u"保存しませんでした。前に保存した内容はそのまま残っています。";
inline constexpr std::u16string_view kNothingMoved =
    u"何も動かしませんでした。もう一度お試し下さい。";
inline constexpr std::u16string_view kMovesStopped =
    u"ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなくなったため、ｱｲｺﾝを最後まで動かせませんでした。"
    u"もう一度お試し下さい。";
inline constexpr std::u16string_view kMovesStoppedByRestart =
    u"エクスプローラーが再起動したため、ｱｲｺﾝを最後まで動かせませんでした。もう一度お試し下さい。";
inline constexpr std::u16string_view kMovedButNotReadBack =
    u"ｱｲｺﾝを動かした後、ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなかったため、"
    u"結果を確かめられませんでした。";

// The resident Norvane.
inline constexpr std::u16string_view kNeedsResident =
    u"このコマンドは Norvane が常駐しているときだけ使えます。"
    u"先に Norv.exe をコマンドなしで起動して下さい。";
inline constexpr std::u16string_view kBusy =
    u"Norvane が画面やメニューを表示しているため、実行しませんでした。"
    u"閉じてからもう一度お試し下さい。";
inline constexpr std::u16string_view kNoAnswer =
    u"常駐している Norvane が応答しなかったため、結果は分かりません。";
inline constexpr std::u16string_view kOtherLevel =
    u"常駐している Norvane "
    u"と管理者として実行しているかどうかが違うため、コマンドを渡せませんでした。"
    u"同じ権限で実行して下さい。";
inline constexpr std::u16string_view kRejected =
    u"常駐している Norvane がこのコマンドを受け付けませんでした。"
    u"常駐している Norvane と同じ版の Norv.exe で実行して下さい。";
inline constexpr std::u16string_view kOptionsNotSaved =
    u"設定ファイル Norv.ini に書き込めませんでした。設定は Norvane を終了するまで有効です。";

}  // namespace norv::command_text
