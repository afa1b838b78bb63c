// The INI reader against a plain re-statement of the reading rules: arbitrary file bytes, then
// arbitrary section and key names and defaults, then a second version of the file (or none),
// which every later read must see.
// Input: FILE, separator, QUERIES (lines: section, key, default, ...), separator, NEW FILE.
#include <algorithm>

#include "fuzz_support.h"
#include "ini_reader.h"
#include "memory_file_system.h"
#include "reference.h"

namespace pem::fuzz {
namespace {

constexpr char kPath[] = "C:\\tool\\dicdata.ini";

struct Query {
  std::string section, key, default_value;
};

std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The queries of the input, and the names of the file's own sections and keys, so that most
// lookups find something; also in changed case, which must not matter.
std::vector<Query> QueriesFor(std::string_view file, std::string_view queries) {
  std::vector<Query> result;
  const std::vector<std::string_view> lines = LinesOf(queries);
  for (std::size_t i = 0; i + 1 < lines.size() && result.size() < 16; i += 3) {
    const std::string_view fallback = i + 2 < lines.size() ? lines[i + 2] : "";
    result.push_back({std::string(lines[i]), std::string(lines[i + 1]), std::string(fallback)});
  }
  std::string section;
  for (std::string_view line : LinesOf(file)) {
    if (result.size() >= 48) break;
    const std::size_t first = line.find_first_not_of(" \t\v\r");
    if (first == std::string_view::npos) continue;
    line.remove_prefix(first);
    if (line[0] == '[') {
      section = std::string(line.substr(1, line.find(']') - 1));
    } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
      std::string key(line.substr(0, equals));
      result.push_back({section, key, "d"});
      std::transform(key.begin(), key.end(), key.begin(),
                     [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
      result.push_back({section, key, "  spaced  "});
    }
  }
  return result;
}

void CheckReads(const IniReader& reader, std::string_view file, const std::vector<Query>& queries) {
  const ReferenceIni reference(file);
  for (const Query& q : queries) {
    Require(reader.ReadText(q.section, q.key, q.default_value) ==
                reference.Text(q.section, q.key, q.default_value),
            "ReadText gives what the rules give");
    const std::optional<std::int32_t> number =
        ReferenceIniNumber(reference.Text(q.section, q.key, ""));
    Require(reader.ReadNumber(q.section, q.key, -7) == number.value_or(-7),
            "ReadNumber gives the number of the text, or the default");
  }
}

}  // namespace
}  // namespace pem::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pem::fuzz;
  const std::vector<std::string_view> parts = SplitInput(AsText(data, size), 3);
  MemoryFileSystem files;
  files.Put(kPath, std::string(parts[0]));
  const pem::IniReader reader(kPath, files);
  CheckReads(reader, parts[0], QueriesFor(parts[0], parts[1]));
  if (parts[2].empty()) {
    files.Remove(kPath);
  } else {
    files.Put(kPath, std::string(parts[2]));
  }
  // A removed file reads as an empty one: every read gives its default.
  CheckReads(reader, parts[2], QueriesFor(parts[2], parts[1]));
  return 0;
}
