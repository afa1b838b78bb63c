// Item-id lists: the shell's identifiers of namespace objects, read only through their element
// counts. Every list made here comes from the shell's task allocator and goes back to it through
// its owner; "none" is an empty owner, distinct from the empty list (the terminator alone).
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstddef>
#include <vector>

#include "win32_owners.h"

namespace pem::shell {

// A zero-filled block of `bytes` from the task allocator, or null when it has none to give.
// Raises EOleSysError when the allocator itself cannot be obtained.
ITEMIDLIST* AllocateIdBlock(std::size_t bytes);

template <typename List>
List AllocIdList(std::size_t bytes) {
  List list;
  list.reset(AllocateIdBlock(bytes));
  return list;
}

// The element that follows `element`: its own byte count further on.
const ITEMIDLIST* NextIdElement(const ITEMIDLIST* element);

// 0 for none; otherwise the element counts plus the two terminator bytes.
std::size_t IdListByteSize(const ITEMIDLIST* list);

// The number of elements before the terminator; 0 for none and for the empty list.
std::size_t CountIdElements(const ITEMIDLIST* list);

// A copy of the whole list, or none when the list is none or the allocation failed.
ITEMIDLIST* CopyIdBlock(const ITEMIDLIST* list);

template <typename List>
List CloneIdList(const ITEMIDLIST* list) {
  List copy;
  copy.reset(CopyIdBlock(list));
  return copy;
}

// The elements of `a` (none counts as the empty list) followed by all of `b`; none when `b` is
// none or the allocation failed.
AbsoluteIdList JoinIdLists(const ITEMIDLIST* a, const ITEMIDLIST* b);

// Ends the list before its last element, in place; none and the empty list stay as they are.
void DropLastIdElement(ITEMIDLIST* list);

// A copy of the last element with a terminator; a copy of the empty list for the empty list.
ChildIdList LastIdElementCopy(const ITEMIDLIST* list);

// For an n-element list, n copies holding its first 0, 1, ..., n-1 elements: the ancestors of
// the object it names, the desktop first. Empty for none and for the empty list.
std::vector<AbsoluteIdList> CollectAncestorIds(const ITEMIDLIST* list);

}  // namespace pem::shell
