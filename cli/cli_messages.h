// The texts of pem2txt itself that are in Japanese, in code page 932 (the Japanese in each
// comment).
#pragma once

namespace pem::cli_msg {

// フォルダ名がコードページ 932 で表せません
inline constexpr char kFolderNotCp932[] =
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x96\xbc\x82\xaa\x83\x52\x81\x5b\x83\x68\x83\x79\x81\x5b\x83"
    "\x57 932 \x82\xc5\x95\x5c\x82\xb9\x82\xdc\x82\xb9\x82\xf1";

}  // namespace pem::cli_msg
