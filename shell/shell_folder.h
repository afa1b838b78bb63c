// One object of the shell namespace with its identifiers, its parent link and its own folder
// interface, and the questions the tree asks the shell about such objects. Nothing is cached:
// names, attributes and orders are asked of the shell each time.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "component.h"
#include "win32_owners.h"

namespace pem::shell {

// Kinds of objects a folder lists.
struct TShellObjectTypes {
  bool folders = true;
  bool non_folders = false;
  bool hidden = false;
  bool operator==(const TShellObjectTypes&) const = default;
};

// The shell's listing flags for a set of object types.
SHCONTF EnumerationFlags(TShellObjectTypes types);

// What can be done with an item.
enum TAbilityFlag : std::uint8_t {
  afCanCopy = 0x01,
  afCanDelete = 0x02,
  afCanLink = 0x04,
  afCanMove = 0x08,
  afCanRename = 0x10,
  afDropTarget = 0x20,
  afHasPropSheet = 0x40,
};

// What an item is.
enum TTraitFlag : std::uint8_t {
  tfGhosted = 0x01,
  tfLink = 0x02,
  tfReadOnly = 0x04,
  tfShared = 0x08,
  tfFileSystem = 0x10,
  tfFileSystemAncestor = 0x20,
  tfRemovable = 0x40,
  tfValidate = 0x80,
};

class TShellFolder : public gui::TObject {
 public:
  // Copies `local_id` (the caller keeps its own) and shares `folder`. An item made without a
  // parent lies directly under the desktop and gets the desktop item as its parent.
  TShellFolder(TShellFolder* parent, ComPtr<IShellFolder> folder, const ITEMIDLIST* local_id);
  // An item of a listed folder whose own folder is bound when it is first asked for: most listed
  // objects are never expanded.
  static std::unique_ptr<TShellFolder> Listed(TShellFolder& parent, const ITEMIDLIST* local_id);
  ~TShellFolder() override;

  const ITEMIDLIST* LocalId() const { return local_id_.get(); }
  const ITEMIDLIST* FullId() const { return full_id_.get(); }
  TShellFolder* ParentItem() const { return parent_; }
  IShellFolder* BoundFolder() const;
  // The folder that holds this object: the parent's own folder, the desktop's without a parent.
  ComPtr<IShellFolder> ParentFolder() const;

  // The name as the object's folder shows it, wide and in code page 932.
  std::wstring WideDisplayText() const;
  std::string DisplayText() const;
  // The parsing name: a file-system path for file-system objects.
  std::wstring WideFileSystemPath() const;
  std::string FileSystemPath() const;

  bool IsContainer() const;
  bool MayHaveSubfolders() const;
  std::uint8_t AbilityFlags() const;
  std::uint8_t TraitFlags() const;

  // True when the shell accepted the new name; false, asking nothing, when the object cannot be
  // renamed. Raises Exception when the shell refuses. After a rename the lists name the renamed
  // object and its own folder is bound under the new name, unless the shell neither returned
  // nor can parse the new name: then the lists stay as they were.
  bool Rename(const std::wstring& new_name);
  // The parent's lists changed (it was renamed): the full list is built from the parent's again
  // and the own folder, if bound, is bound anew.
  void Rebase();

  // The attribute word after asking the parent folder with `request` preset; 0 when it fails.
  SFGAOF Attributes(SFGAOF request) const;

  // Items alive in the process, for finding leaks.
  static long LiveCount();

 private:
  // Takes over a new relative list and rebuilds the full list and the own folder from it.
  void Relocate(ChildIdList local_id);

  ChildIdList local_id_;
  AbsoluteIdList full_id_;
  TShellFolder* parent_;
  mutable ComPtr<IShellFolder> folder_;
  mutable bool bind_pending_ = false;
};

// The desktop's folder interface and its absolute list; EOleSysError when the shell fails.
ComPtr<IShellFolder> DesktopShellFolder();
AbsoluteIdList DesktopIdList();

// The one desktop item of the process, or null before start-up and after shut-down.
TShellFolder* DesktopItem();

// Makes the desktop item and initialises OLE for the process; both undone on destruction, the
// desktop item first. One at a time, on the user-interface thread.
class ShellControlsModule {
 public:
  ShellControlsModule();
  ShellControlsModule(const ShellControlsModule&) = delete;
  ShellControlsModule& operator=(const ShellControlsModule&) = delete;
  ~ShellControlsModule();

 private:
  OleInitialization ole_;
};

// True when both absolute lists name the same object: the desktop orders them as equal and
// they have one parsing name.
bool SameIdList(const ITEMIDLIST* a, const ITEMIDLIST* b);

// The name of `list` in `folder` with the shell's name flags, wide; see DisplayNameOf.
std::wstring WideDisplayNameOf(IShellFolder* folder, const ITEMIDLIST* list, SHGDNF flags);
// The same in code page 932: a character without a form there becomes "?".
std::string DisplayNameOf(IShellFolder* folder, const ITEMIDLIST* list, SHGDNF flags);

// The object's own folder interface: bound, asked as a user-interface object, made as a view
// object, and last bound through the desktop; empty when none of them gives one.
ComPtr<IShellFolder> BindSubFolder(IShellFolder* parent, const ITEMIDLIST* list, HWND window);

// A new item directly under the desktop for an absolute list.
std::unique_ptr<TShellFolder> ItemFromAbsoluteId(const ITEMIDLIST* list);

// Negative when `a` comes first among its siblings, positive when `b` does, 0 when equal.
int CompareSiblings(const TShellFolder& a, const TShellFolder& b);
// Whether the children of `folder` stand in the shell's order as they are.
bool InShellOrder(IShellFolder* folder, const std::vector<ChildIdList>& children);

// Whether the folder lists at least one object, with critical-error boxes suppressed.
bool HasEnumerableItems(IShellFolder* folder, SHCONTF flags);

// The object's icon in the system image list.
int ItemIconIndex(const ITEMIDLIST* absolute, bool large, bool open);

// Parses a path text by the desktop folder; the status of the parse, the list when it is 0.
HRESULT ParsePath(const std::wstring& path, AbsoluteIdList& list);

}  // namespace pem::shell
