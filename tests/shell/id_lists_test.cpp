// The item-id list functions on lists written as letters: each letter is one element whose
// length and bytes follow from the letter, "" is the empty list and "-" is none.
#include "id_lists.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "task_memory.h"

namespace pem::testing {
namespace {

using namespace pem::shell;

constexpr char kNone[] = "-";

AbsoluteIdList MakeList(const std::string& letters) {
  if (letters == kNone) return {};
  std::vector<BYTE> bytes;
  for (const char letter : letters) {
    const auto count = static_cast<BYTE>(2 + letter - 'a' + 1);
    bytes.insert(bytes.end(), {count, 0});
    bytes.insert(bytes.end(), count - 2u, static_cast<BYTE>(letter));
  }
  bytes.insert(bytes.end(), {0, 0});
  auto list = AllocIdList<AbsoluteIdList>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), reinterpret_cast<BYTE*>(list.get()));
  return list;
}

// The letters of a list, checking that every element is whole.
std::string Letters(const ITEMIDLIST* list) {
  if (!list) return kNone;
  std::string letters;
  for (const ITEMIDLIST* element = list; element->mkid.cb != 0; element = NextIdElement(element)) {
    const char letter = static_cast<char>(element->mkid.abID[0]);
    EXPECT_EQ(element->mkid.cb, 2 + letter - 'a' + 1) << "element " << letters.size();
    letters += letter;
  }
  return letters;
}

using Operation = std::function<std::vector<std::string>(const std::string&, const std::string&)>;

std::vector<std::string> One(std::size_t value) {
  return {std::to_string(value)};
}
std::vector<std::string> One(const ITEMIDLIST* list) {
  return {Letters(list)};
}

TEST(IdLists, ReadCopyJoinAndCutLists) {
  const Operation size = [](auto& a, auto&) { return One(IdListByteSize(MakeList(a).get())); };
  const Operation count = [](auto& a, auto&) { return One(CountIdElements(MakeList(a).get())); };
  const Operation clone = [](auto& a, auto&) {
    return One(CloneIdList<ChildIdList>(MakeList(a).get()).get());
  };
  const Operation join = [](auto& a, auto& b) {
    return One(JoinIdLists(MakeList(a).get(), MakeList(b).get()).get());
  };
  const Operation drop = [](auto& a, auto&) {
    AbsoluteIdList list = MakeList(a);
    DropLastIdElement(list.get());
    return One(list.get());
  };
  const Operation last = [](auto& a, auto&) {
    return One(LastIdElementCopy(MakeList(a).get()).get());
  };
  const Operation ancestors = [](auto& a, auto&) {
    std::vector<std::string> lists;
    for (const AbsoluteIdList& ancestor : CollectAncestorIds(MakeList(a).get()))
      lists.push_back(Letters(ancestor.get()));
    return lists;
  };
  const struct {
    const char* what;
    const Operation& operation;
    std::string a, b;
    std::vector<std::string> expected;
  } cases[] = {
      {"size of none", size, "-", "", {"0"}},
      {"size of the empty list", size, "", "", {"2"}},
      {"size of two elements", size, "ac", "", {"10"}},
      {"count of none", count, "-", "", {"0"}},
      {"count of the empty list", count, "", "", {"0"}},
      {"count of three", count, "bab", "", {"3"}},
      {"clone of none", clone, "-", "", {"-"}},
      {"clone of the empty list", clone, "", "", {""}},
      {"clone", clone, "dca", "", {"dca"}},
      {"join none with a list", join, "-", "bc", {"bc"}},
      {"join a list with the empty list", join, "ab", "", {"ab"}},
      {"join two lists", join, "ab", "cd", {"abcd"}},
      {"join with none", join, "ab", "-", {"-"}},
      {"drop from none", drop, "-", "", {"-"}},
      {"drop from the empty list", drop, "", "", {""}},
      {"drop the only element", drop, "c", "", {""}},
      {"drop the last of three", drop, "abc", "", {"ab"}},
      {"last of the empty list", last, "", "", {""}},
      {"last of three", last, "abc", "", {"c"}},
      {"last of none", last, "-", "", {"-"}},
      {"ancestors of the empty list", ancestors, "", "", {}},
      {"ancestors of one", ancestors, "b", "", {""}},
      {"ancestors of three", ancestors, "abc", "", {"", "a", "ab"}},
  };
  {
    const long before = OutstandingTaskBlocks();
    const AbsoluteIdList held = MakeList("ab");
    ASSERT_EQ(OutstandingTaskBlocks(), before + 1) << "the allocator's blocks are not counted";
  }
  for (const auto& c : cases) {
    const long before = OutstandingTaskBlocks();
    EXPECT_EQ(c.operation(c.a, c.b), c.expected) << c.what;
    EXPECT_EQ(OutstandingTaskBlocks(), before) << c.what << ": a block was kept";
  }
}

}  // namespace
}  // namespace pem::testing
