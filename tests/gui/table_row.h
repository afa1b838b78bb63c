// Rows of table-driven cases, named so that each row names its test and shows in the listing.
#pragma once

#include <concepts>
#include <ostream>
#include <string>

namespace pem::testing {

struct Row {
  const char* name;
};
template <std::derived_from<Row> R>
void PrintTo(const R& row, std::ostream* out) {
  *out << row.name;
}
inline constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace pem::testing
