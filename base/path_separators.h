// Which characters separate the folders of a path on this platform.
#pragma once

namespace pem {

// On Windows both "\" and "/" separate; elsewhere only "/" does, and "\" is a character of a name.
#ifdef _WIN32
inline constexpr bool kOnlySlashSeparates = false;
#else
inline constexpr bool kOnlySlashSeparates = true;
#endif

}  // namespace pem
