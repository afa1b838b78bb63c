// pem2txt: the conversion from the command line.
#pragma once

#include <string>
#include <vector>

#include "console.h"
#include "filesystem.h"

namespace pem {

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;      // the run ended with an error
inline constexpr int kExitBadUsage = 2;       // bad arguments or a failed folder check
inline constexpr int kExitInterrupted = 128;  // plus the number of the signal that stopped it

// Runs pem2txt with its arguments (UTF-8, without the program name; on POSIX the folders are
// taken as the bytes they are); gives the exit status. A run stopped by a signal finishes the
// entry it is writing and gives kExitInterrupted + the signal's number.
int Pem2Txt(const std::vector<std::string>& args, Console& console,
            FileSystem& file_system = PlatformFileSystem());

}  // namespace pem
