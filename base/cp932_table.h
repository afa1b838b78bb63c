// The double-byte half of code page 932 as UTF-16 code units (0 where a code is unassigned).
#pragma once

#include <cstdint>

namespace pem::cp932_table {

inline constexpr int kLeadCount = 60;    // 81-9F and E0-FC
inline constexpr int kTrailCount = 189;  // 40-FC; 7F is never assigned

extern const std::uint16_t kDoubleByte[kLeadCount][kTrailCount];

}  // namespace pem::cp932_table
