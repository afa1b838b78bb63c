// The system's own description of an error code, for hosts that show more than the program's
// text.
#pragma once

#include <cstdint>
#include <string>

namespace pem {

// The description (UTF-8, without a final period or line break) of a system error code in
// Windows numbering, as the file system reports it; empty when the system has none.
std::string SystemErrorDescription(std::uint32_t code);

}  // namespace pem
