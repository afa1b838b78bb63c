// The main window's own texts, in code page 932 (the Japanese in each comment).
#pragma once

namespace pem::msg {

// ぺむりこコンバータ
inline constexpr char kMainCaption[] =
    "\x82\xd8\x82\xde\x82\xe8\x82\xb1\x83R\x83\x93\x83o\x81[\x83^";
// 「ぺむりこ」の辞書データファイルを1アイテム1ファイルに変換します。
inline constexpr char kDescription[] =
    "\x81u\x82\xd8\x82\xde\x82\xe8\x82\xb1\x81v\x82\xcc\x8e\xab\x8f\x91\x83\x66\x81[\x83^\x83t"
    "\x83@\x83\x43\x83\x8b\x82\xf0\x31\x83\x41\x83\x43\x83\x65\x83\x80\x31\x83t\x83@\x83\x43\x83"
    "\x8b\x82\xc9\x95\xcf\x8a\xb7\x82\xb5\x82\xdc\x82\xb7\x81\x42";
// ぺむりこ　インストールフォルダ(&P)
inline constexpr char kInstallFolderLabel[] =
    "\x82\xd8\x82\xde\x82\xe8\x82\xb1\x81@\x83\x43\x83\x93\x83X\x83g\x81[\x83\x8b\x83t\x83H\x83"
    "\x8b\x83_(&P)";
// 保存先フォルダ(&S)
inline constexpr char kOutputFolderLabel[] = "\x95\xdb\x91\xb6\x90\xe6\x83t\x83H\x83\x8b\x83_(&S)";
// 保存先フォルダの選択
inline constexpr char kOutputFolderBrowseTitle[] =
    "\x95\xdb\x91\xb6\x90\xe6\x83t\x83H\x83\x8b\x83_\x82\xcc\x91I\x91\xf0";
// ＭＳ Ｐゴシック
inline constexpr char kMainFontName[] = "\x82l\x82r \x82o\x83S\x83V\x83\x62\x83N";

inline constexpr char kDefaultInstallFolder[] = "C:\\Program Files\\pemuriko\\";
inline constexpr char kBrowseButton[] = "...";
inline constexpr char kOkButton[] = "&OK";
inline constexpr char kCancelButton[] = "&Cancel";

}  // namespace pem::msg
