// The select-folder dialog's own texts, in code page 932 (the Japanese in each comment).
#pragma once

namespace pem::msg {

inline constexpr char kFolderDialogDesignCaption[] = "FolderDialogForm";
inline constexpr char kFolderDialogOk[] = "OK(&O)";
// キャンセル(&C)
inline constexpr char kFolderDialogCancel[] = "\x83L\x83\x83\x83\x93\x83Z\x83\x8b(&C)";
// ＭＳ Ｐゴシック
inline constexpr char kFolderDialogFontName[] = "\x82l\x82r \x82o\x83S\x83V\x83\x62\x83N";

}  // namespace pem::msg
