#include "shell_folder.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "errors.h"
#include "id_lists.h"
#include "shell_messages.h"
#include "win32_text.h"

namespace pem::shell {
namespace {

std::atomic<long> live_items{0};
std::unique_ptr<TShellFolder> desktop_item;

struct TaskMemoryFree {
  void operator()(void* block) const { CoTaskMemFree(block); }
};

std::string BoundedBytes(const char* bytes, std::size_t limit) {
  return std::string(bytes, strnlen(bytes, limit));
}

// The text of a name record; a record that names no text gives empty text.
std::wstring StrRetText(STRRET& record, const ITEMIDLIST* list) {
  switch (record.uType) {
    case STRRET_WSTR: {
      const std::unique_ptr<wchar_t, TaskMemoryFree> text(record.pOleStr);
      return text ? std::wstring(text.get()) : std::wstring();
    }
    case STRRET_OFFSET: {
      std::uint16_t count = 0;
      if (list) std::memcpy(&count, list, sizeof(count));
      if (record.uOffset >= count) return {};
      const auto* first = reinterpret_cast<const char*>(list);
      return WidenCp932(BoundedBytes(first + record.uOffset, count - record.uOffset));
    }
    case STRRET_CSTR:
      return WidenCp932(BoundedBytes(record.cStr, sizeof(record.cStr)));
    default:
      return {};
  }
}

// A name that the shell marks with a question mark before a digit is the digits alone.
void DropQuestionMarks(std::wstring& text) {
  if (text.size() < 2 || text[0] != L'?' || text[1] < L'0' || text[1] > L'9') return;
  std::erase(text, L'?');
}

bool IsClassIdName(const std::wstring& text) {
  return text.starts_with(L"::{");
}

}  // namespace

SHCONTF EnumerationFlags(TShellObjectTypes types) {
  SHCONTF flags = 0;
  if (types.folders) flags |= SHCONTF_FOLDERS;
  if (types.non_folders) flags |= SHCONTF_NONFOLDERS;
  if (types.hidden) flags |= SHCONTF_INCLUDEHIDDEN;
  return flags;
}

TShellFolder::TShellFolder(TShellFolder* parent, ComPtr<IShellFolder> folder,
                           const ITEMIDLIST* local_id)
    : local_id_(CloneIdList<ChildIdList>(local_id)), parent_(parent), folder_(std::move(folder)) {
  if (parent_) {
    full_id_ = JoinIdLists(parent_->FullId(), local_id);
  } else {
    full_id_ = JoinIdLists(DesktopIdList().get(), local_id);
    parent_ = DesktopItem();
  }
  if (!local_id_ || !full_id_) throw EOleSysError(E_OUTOFMEMORY);
  ++live_items;
}

std::unique_ptr<TShellFolder> TShellFolder::Listed(TShellFolder& parent,
                                                   const ITEMIDLIST* local_id) {
  auto item = std::make_unique<TShellFolder>(&parent, ComPtr<IShellFolder>(), local_id);
  item->bind_pending_ = true;
  return item;
}

IShellFolder* TShellFolder::BoundFolder() const {
  if (bind_pending_) {
    bind_pending_ = false;
    folder_ = BindSubFolder(parent_->BoundFolder(), LocalId(), nullptr);
  }
  return folder_.get();
}

TShellFolder::~TShellFolder() {
  --live_items;
}

long TShellFolder::LiveCount() {
  return live_items;
}

ComPtr<IShellFolder> TShellFolder::ParentFolder() const {
  if (parent_) return ComPtr<IShellFolder>::Borrow(parent_->BoundFolder());
  return DesktopShellFolder();
}

std::wstring TShellFolder::WideDisplayText() const {
  return WideDisplayNameOf(ParentFolder().get(), LocalId(), SHGDN_INFOLDER);
}

std::string TShellFolder::DisplayText() const {
  return NarrowCp932(WideDisplayText());
}

std::wstring TShellFolder::WideFileSystemPath() const {
  return WideDisplayNameOf(DesktopShellFolder().get(), FullId(), SHGDN_FORPARSING);
}

std::string TShellFolder::FileSystemPath() const {
  return NarrowCp932(WideFileSystemPath());
}

SFGAOF TShellFolder::Attributes(SFGAOF request) const {
  const ComPtr<IShellFolder> folder = ParentFolder();
  if (!folder) return 0;
  const ITEMIDLIST* items[] = {LocalId()};
  SFGAOF word = request;
  // A word that a failed call left untouched would claim every bit asked for.
  if (folder->GetAttributesOf(1, items, &word) != S_OK) return 0;
  return word;
}

bool TShellFolder::IsContainer() const {
  return (Attributes(SFGAO_FOLDER) & SFGAO_FOLDER) != 0;
}

bool TShellFolder::MayHaveSubfolders() const {
  return (Attributes(SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0;
}

namespace {

struct FlagBit {
  SFGAOF shell;
  std::uint8_t flag;
};

std::uint8_t CollectFlags(SFGAOF word, std::initializer_list<FlagBit> bits) {
  std::uint8_t flags = 0;
  for (const FlagBit& bit : bits) {
    if (word & bit.shell) flags |= bit.flag;
  }
  return flags;
}

}  // namespace

std::uint8_t TShellFolder::AbilityFlags() const {
  return CollectFlags(Attributes(0x177), {{SFGAO_CANCOPY, afCanCopy},
                                          {SFGAO_CANDELETE, afCanDelete},
                                          {SFGAO_CANLINK, afCanLink},
                                          {SFGAO_CANMOVE, afCanMove},
                                          {SFGAO_CANRENAME, afCanRename},
                                          {SFGAO_DROPTARGET, afDropTarget},
                                          {SFGAO_HASPROPSHEET, afHasPropSheet}});
}

std::uint8_t TShellFolder::TraitFlags() const {
  // Hidden objects are the ones drawn ghosted.
  return CollectFlags(Attributes(0x000F0000), {{SFGAO_HIDDEN, tfGhosted},
                                               {SFGAO_LINK, tfLink},
                                               {SFGAO_READONLY, tfReadOnly},
                                               {SFGAO_SHARE, tfShared}}) |
         CollectFlags(Attributes(0), {{SFGAO_FILESYSTEM, tfFileSystem},
                                      {SFGAO_FILESYSANCESTOR, tfFileSystemAncestor},
                                      {SFGAO_REMOVABLE, tfRemovable},
                                      {SFGAO_VALIDATE, tfValidate}});
}

namespace {

// The object's list within the folder that holds it, as that folder parses the name; none when
// it cannot.
ChildIdList ParsedChildId(IShellFolder& folder, const std::wstring& name) {
  std::vector<wchar_t> text(name.begin(), name.end());
  text.push_back(L'\0');
  ULONG consumed = static_cast<ULONG>(name.size());
  ULONG attributes = 0;
  ChildIdList list;
  if (folder.ParseDisplayName(nullptr, nullptr, text.data(), &consumed,
                              reinterpret_cast<PIDLIST_RELATIVE*>(list.put()), &attributes) != S_OK)
    list.reset();
  return list;
}

}  // namespace

bool TShellFolder::Rename(const std::wstring& new_name) {
  if (!(AbilityFlags() & afCanRename)) return false;
  // A root-level item's list may run several levels deep, and only the folder that holds the
  // object itself renames it: its last element there.
  AbsoluteIdList holder_id = CloneIdList<AbsoluteIdList>(LocalId());
  if (!holder_id) throw EOleSysError(E_OUTOFMEMORY);
  DropLastIdElement(holder_id.get());
  const ComPtr<IShellFolder> holder =
      CountIdElements(holder_id.get()) == 0
          ? ParentFolder()
          : BindSubFolder(ParentFolder().get(), holder_id.get(), nullptr);
  const ChildIdList last = LastIdElementCopy(LocalId());
  ChildIdList renamed;
  const HRESULT status =
      holder ? holder->SetNameOf(nullptr, last.get(), new_name.c_str(), SHGDN_NORMAL, renamed.put())
             : E_FAIL;
  if (status != S_OK) throw Exception(NarrowCp932(new_name) + msg::kRenameFailedSuffix);
  // Some shells rename without telling the new list; the holder then names it by its name.
  if (!renamed) renamed = ParsedChildId(*holder.get(), new_name);
  if (!renamed) return true;
  AbsoluteIdList local = JoinIdLists(holder_id.get(), renamed.get());
  if (!local) throw EOleSysError(E_OUTOFMEMORY);
  Relocate(ChildIdList(local.release()));
  return true;
}

void TShellFolder::Rebase() {
  ChildIdList local = CloneIdList<ChildIdList>(LocalId());
  if (!local) throw EOleSysError(E_OUTOFMEMORY);
  Relocate(std::move(local));
}

void TShellFolder::Relocate(ChildIdList local_id) {
  AbsoluteIdList full = parent_ ? JoinIdLists(parent_->FullId(), local_id.get())
                                : CloneIdList<AbsoluteIdList>(local_id.get());
  if (!full) throw EOleSysError(E_OUTOFMEMORY);
  local_id_ = std::move(local_id);
  full_id_ = std::move(full);
  // A folder bound under the old name lists what is no longer there.
  if (folder_) folder_ = BindSubFolder(ParentFolder().get(), LocalId(), nullptr);
}

ComPtr<IShellFolder> DesktopShellFolder() {
  ComPtr<IShellFolder> folder;
  const HRESULT status = SHGetDesktopFolder(folder.put());
  if (FAILED(status)) throw EOleSysError(status);
  return folder;
}

AbsoluteIdList DesktopIdList() {
  AbsoluteIdList list;
  const HRESULT status = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, list.put());
  if (FAILED(status)) throw EOleSysError(status);
  return list;
}

TShellFolder* DesktopItem() {
  return desktop_item.get();
}

ShellControlsModule::ShellControlsModule() {
  AbsoluteIdList list;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, list.put());
  if (list)
    desktop_item = std::make_unique<TShellFolder>(nullptr, DesktopShellFolder(), list.get());
}

ShellControlsModule::~ShellControlsModule() {
  desktop_item.reset();
}

bool SameIdList(const ITEMIDLIST* a, const ITEMIDLIST* b) {
  const ComPtr<IShellFolder> desktop = DesktopShellFolder();
  if (desktop->CompareIDs(0, a, b) != S_OK) return false;
  // Some shells compare names through the ANSI code page, where two names with no form there
  // ("上" and "横") both read "?": equal lists also have one parsing name.
  const std::wstring first = WideDisplayNameOf(desktop.get(), a, SHGDN_FORPARSING);
  const std::wstring second = WideDisplayNameOf(desktop.get(), b, SHGDN_FORPARSING);
  return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                              static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

std::wstring WideDisplayNameOf(IShellFolder* folder, const ITEMIDLIST* list, SHGDNF flags) {
  if (!folder) return WidenCp932(msg::kNoParentFolder);
  STRRET record{};
  folder->GetDisplayNameOf(list, flags, &record);
  std::wstring text = StrRetText(record, list);
  DropQuestionMarks(text);
  // A class-identifier name means nothing to a reader; the normal name stands in for it. When
  // the normal name is one as well, it is the only name there is.
  if (IsClassIdName(text) && flags != SHGDN_NORMAL)
    return WideDisplayNameOf(folder, list, SHGDN_NORMAL);
  return text;
}

std::string DisplayNameOf(IShellFolder* folder, const ITEMIDLIST* list, SHGDNF flags) {
  return NarrowCp932(WideDisplayNameOf(folder, list, flags));
}

ComPtr<IShellFolder> BindSubFolder(IShellFolder* parent, const ITEMIDLIST* list, HWND window) {
  ComPtr<IShellFolder> folder;
  if (parent) {
    const ITEMIDLIST* items[] = {list};
    if (parent->BindToObject(list, nullptr, IID_IShellFolder,
                             reinterpret_cast<void**>(folder.put())) != S_OK &&
        parent->GetUIObjectOf(window, 1, items, IID_IShellFolder, nullptr,
                              reinterpret_cast<void**>(folder.put())) != S_OK) {
      parent->CreateViewObject(window, IID_IShellFolder, reinterpret_cast<void**>(folder.put()));
    }
  }
  if (!folder) {
    DesktopShellFolder()->BindToObject(list, nullptr, IID_IShellFolder,
                                       reinterpret_cast<void**>(folder.put()));
  }
  return folder;
}

std::unique_ptr<TShellFolder> ItemFromAbsoluteId(const ITEMIDLIST* list) {
  ComPtr<IShellFolder> desktop = DesktopShellFolder();
  ComPtr<IShellFolder> folder = BindSubFolder(desktop.get(), list, nullptr);
  return std::make_unique<TShellFolder>(DesktopItem(),
                                        folder ? std::move(folder) : std::move(desktop), list);
}

namespace {

// The shell's order of two children of one folder, by name: below zero when `a` goes first. A
// folder that cannot compare leaves them as they were listed; a failure's code is no order.
int CompareChildren(IShellFolder* folder, const ITEMIDLIST* a, const ITEMIDLIST* b) {
  if (!folder) return 0;
  const HRESULT status = folder->CompareIDs(0, a, b);
  if (FAILED(status)) return 0;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(status & 0xFFFF));
}

}  // namespace

int CompareSiblings(const TShellFolder& a, const TShellFolder& b) {
  return CompareChildren(a.ParentFolder().get(), a.LocalId(), b.LocalId());
}

bool InShellOrder(IShellFolder* folder, const std::vector<ChildIdList>& children) {
  return std::ranges::adjacent_find(children, [&](const ChildIdList& a, const ChildIdList& b) {
           return CompareChildren(folder, a.get(), b.get()) > 0;
         }) == children.end();
}

bool HasEnumerableItems(IShellFolder* folder, SHCONTF flags) {
  if (!folder) return false;
  const ErrorModeScope quiet(SEM_FAILCRITICALERRORS);
  ComPtr<IEnumIDList> enumerator;
  if (folder->EnumObjects(nullptr, flags, enumerator.put()) != S_OK || !enumerator) return false;
  ChildIdList first;
  return enumerator->Next(1, first.put(), nullptr) == S_OK;
}

int ItemIconIndex(const ITEMIDLIST* absolute, bool large, bool open) {
  SHFILEINFOW info{};
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_PIDL;
  if (open) flags |= SHGFI_OPENICON;
  if (!large) flags |= SHGFI_SMALLICON;
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof(info), flags);
  return info.iIcon;
}

HRESULT ParsePath(const std::wstring& path, AbsoluteIdList& list) {
  // A Unix-style path names no object of the namespace, and some shells fall over parsing one.
  if (path.starts_with(L'/')) return E_INVALIDARG;
  std::vector<wchar_t> text(path.begin(), path.end());
  text.push_back(L'\0');
  ULONG consumed = static_cast<ULONG>(path.size());
  ULONG attributes = 0;
  return DesktopShellFolder()->ParseDisplayName(nullptr, nullptr, text.data(), &consumed,
                                                list.put(), &attributes);
}

}  // namespace pem::shell
