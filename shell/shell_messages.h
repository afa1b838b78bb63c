// Texts that the shell folder tree shows, in code page 932 (the Japanese in each comment).
#pragma once

namespace pem::shell::msg {

// パス設定エラー : "%s"
inline constexpr char kPathErrorPrefix[] =
    "\x83\x70\x83\x58\x90\xdd\x92\xe8\x83\x47\x83\x89\x81\x5b : \"";
inline constexpr char kPathErrorSuffix[] = "\"";

// %s に名前を変更できませんでした。
inline constexpr char kRenameFailedSuffix[] =
    " \x82\xc9\x96\xbc\x91\x4f\x82\xf0\x95\xcf\x8d\x58\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82"
    "\xc5\x82\xb5\x82\xbd\x81\x42";

// Shown instead of a name when an item's parent has no folder interface to ask.
inline constexpr char kNoParentFolder[] = "parentfolder = nil";

}  // namespace pem::shell::msg
