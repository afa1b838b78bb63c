// A folder interface whose answers the test sets: names by name flags in any of the record
// forms, one attribute word (reported whatever was asked, as shells do), one answer to every
// comparison, and a count of the renames asked of it.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <functional>
#include <map>
#include <string>

namespace pem::testing {

class FakeShellFolder final : public IShellFolder {
 public:
  // Fills the name record for a list with the given name flags.
  using NameRecord = std::function<void(const ITEMIDLIST* list, STRRET& record)>;
  static NameRecord Wide(const std::wstring& text);
  static NameRecord Inline(const std::string& bytes);
  static NameRecord Offset(UINT offset);

  std::map<SHGDNF, NameRecord> names;
  SFGAOF attributes = 0;
  HRESULT attribute_status = S_OK;
  int renames_asked = 0;
  // A rename the fake accepts returns no list; the list that parsing any name gives, if any.
  HRESULT rename_status = E_FAIL;
  const ITEMIDLIST* parsed = nullptr;
  // What comparing any two lists gives.
  HRESULT compare_status = E_NOTIMPL;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  ULONG References() const { return references_; }

  // What the rules under test never ask of a folder.
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*,
                                             PIDLIST_RELATIVE* list, ULONG*) override;
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** o) override {
    return None(o);
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID,
                                          void** o) override {
    return None(o);
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override {
    return compare_status;
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** o) override { return None(o); }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF* word) override;
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*,
                                          void** o) override {
    return None(o);
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD list, SHGDNF flags,
                                             STRRET* record) override;
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF,
                                      PITEMID_CHILD* renamed) override {
    ++renames_asked;
    if (renamed) *renamed = nullptr;
    return rename_status;
  }

 private:
  static HRESULT None(void** object) {
    *object = nullptr;
    return E_NOTIMPL;
  }
  ULONG references_ = 1;
};

}  // namespace pem::testing
