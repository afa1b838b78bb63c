// pem2txt: the conversion from the command line.
#pragma once

#include <string>
#include <vector>

#include "console.h"
#include "filesystem.h"

namespace pem {

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;  // the run ended with an error
inline constexpr int kExitBadUsage = 2;   // bad arguments or a failed folder check

// Runs pem2txt with its arguments (UTF-8, without the program name); gives the exit status.
int Pem2Txt(const std::vector<std::string>& args, Console& console,
            FileSystem& file_system = PlatformFileSystem());

}  // namespace pem
