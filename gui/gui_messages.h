// Texts that the framework shows, in code page 932 (the Japanese in each comment).
#pragma once

namespace pem::gui::msg {

// プロパティ %s の範囲を超えています
inline constexpr char kPropertyOutOfRangePrefix[] = "\x83v\x83\x8d\x83p\x83\x65\x83\x42 ";
inline constexpr char kPropertyOutOfRangeSuffix[] =
    " \x82\xcc\x94\xcd\x88\xcd\x82\xf0\x92\xb4\x82\xa6\x82\xc4\x82\xa2\x82\xdc\x82\xb7";

}  // namespace pem::gui::msg
