#include "fake_shell_folder.h"

#include <cstring>

namespace pem::testing {

FakeShellFolder::NameRecord FakeShellFolder::Wide(const std::wstring& text) {
  return [text](const ITEMIDLIST*, STRRET& record) {
    record.uType = STRRET_WSTR;
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    record.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    std::memcpy(record.pOleStr, text.c_str(), bytes);
  };
}

FakeShellFolder::NameRecord FakeShellFolder::Inline(const std::string& bytes) {
  return [bytes](const ITEMIDLIST*, STRRET& record) {
    record.uType = STRRET_CSTR;
    std::memcpy(record.cStr, bytes.data(), std::min(bytes.size(), sizeof(record.cStr)));
  };
}

FakeShellFolder::NameRecord FakeShellFolder::Offset(UINT offset) {
  return [offset](const ITEMIDLIST*, STRRET& record) {
    record.uType = STRRET_OFFSET;
    record.uOffset = offset;
  };
}

HRESULT FakeShellFolder::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == IID_IShellFolder) {
    *object = static_cast<IShellFolder*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT FakeShellFolder::ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE* list,
                                          ULONG*) {
  *list = nullptr;
  if (!parsed) return E_FAIL;
  *list = static_cast<PIDLIST_RELATIVE>(CoTaskMemAlloc(parsed->mkid.cb + 2u));
  std::memcpy(*list, parsed, parsed->mkid.cb + 2u);
  return S_OK;
}

HRESULT FakeShellFolder::GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF* word) {
  if (attribute_status == S_OK) *word = attributes;
  return attribute_status;
}

HRESULT FakeShellFolder::GetDisplayNameOf(PCUITEMID_CHILD list, SHGDNF flags, STRRET* record) {
  const auto found = names.find(flags);
  if (found == names.end()) return E_FAIL;
  found->second(list, *record);
  return S_OK;
}

}  // namespace pem::testing
