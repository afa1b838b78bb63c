#include "id_lists.h"

#include <cstdint>
#include <cstring>

#include "errors.h"

namespace pem::shell {
namespace {

constexpr std::size_t kTerminatorSize = 2;

std::uint16_t ElementCount(const ITEMIDLIST* element) {
  std::uint16_t count;
  std::memcpy(&count, element, sizeof(count));
  return count;
}

// The element before the terminator, or null for the empty list.
ITEMIDLIST* LastElement(ITEMIDLIST* list) {
  ITEMIDLIST* last = nullptr;
  for (ITEMIDLIST* element = list; ElementCount(element) != 0;
       element = const_cast<ITEMIDLIST*>(NextIdElement(element))) {
    last = element;
  }
  return last;
}

}  // namespace

ITEMIDLIST* AllocateIdBlock(std::size_t bytes) {
  void* block = ShellAllocator()->Alloc(bytes);
  if (block) std::memset(block, 0, bytes);
  return static_cast<ITEMIDLIST*>(block);
}

const ITEMIDLIST* NextIdElement(const ITEMIDLIST* element) {
  return reinterpret_cast<const ITEMIDLIST*>(reinterpret_cast<const BYTE*>(element) +
                                             ElementCount(element));
}

std::size_t IdListByteSize(const ITEMIDLIST* list) {
  if (!list) return 0;
  std::size_t size = kTerminatorSize;
  for (const ITEMIDLIST* element = list; ElementCount(element) != 0;
       element = NextIdElement(element)) {
    size += ElementCount(element);
  }
  return size;
}

std::size_t CountIdElements(const ITEMIDLIST* list) {
  if (!list) return 0;
  std::size_t count = 0;
  for (const ITEMIDLIST* element = list; ElementCount(element) != 0;
       element = NextIdElement(element)) {
    ++count;
  }
  return count;
}

ITEMIDLIST* CopyIdBlock(const ITEMIDLIST* list) {
  if (!list) return nullptr;
  const std::size_t size = IdListByteSize(list);
  ITEMIDLIST* copy = AllocateIdBlock(size);
  if (copy) std::memcpy(copy, list, size);
  return copy;
}

AbsoluteIdList JoinIdLists(const ITEMIDLIST* a, const ITEMIDLIST* b) {
  if (!b) return {};
  const std::size_t head = a ? IdListByteSize(a) - kTerminatorSize : 0;
  const std::size_t tail = IdListByteSize(b);
  auto joined = AllocIdList<AbsoluteIdList>(head + tail);
  if (!joined) return joined;
  auto* bytes = reinterpret_cast<BYTE*>(joined.get());
  if (head) std::memcpy(bytes, a, head);
  std::memcpy(bytes + head, b, tail);
  return joined;
}

void DropLastIdElement(ITEMIDLIST* list) {
  if (!list) return;
  if (ITEMIDLIST* last = LastElement(list)) std::memset(last, 0, kTerminatorSize);
}

ChildIdList LastIdElementCopy(const ITEMIDLIST* list) {
  if (!list) return {};
  const ITEMIDLIST* last = LastElement(const_cast<ITEMIDLIST*>(list));
  return CloneIdList<ChildIdList>(last ? last : list);
}

std::vector<AbsoluteIdList> CollectAncestorIds(const ITEMIDLIST* list) {
  std::vector<AbsoluteIdList> ancestors;
  const std::size_t count = CountIdElements(list);
  for (std::size_t kept = 0; kept < count; ++kept) {
    auto ancestor = CloneIdList<AbsoluteIdList>(list);
    if (!ancestor) throw EOleSysError(E_OUTOFMEMORY);
    for (std::size_t dropped = count; dropped > kept; --dropped) DropLastIdElement(ancestor.get());
    ancestors.push_back(std::move(ancestor));
  }
  return ancestors;
}

}  // namespace pem::shell
