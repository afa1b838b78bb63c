// The owners of handles, COM objects and shell memory: moving hands a resource on, and every
// resource is released exactly once.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <type_traits>

#include "table_row.h"
#include "task_memory.h"
#include "win32_owners.h"

namespace pem::testing {
namespace {

template <typename... Owners>
constexpr bool kMoveOnly = ((!std::is_copy_constructible_v<Owners> &&
                             !std::is_copy_assignable_v<Owners> &&
                             std::is_nothrow_move_constructible_v<Owners>)&&...);
static_assert(kMoveOnly<UniqueWindow, UniqueFont, UniqueBrush, UniqueBitmap, UniqueIcon, UniqueHook,
                        UniqueMemoryDc, UniqueMenu, UniqueImageList, UniqueKernelHandle,
                        UniqueFileHandle, UniqueFindHandle, UniqueChangeNotification,
                        ComPtr<IUnknown>, AbsoluteIdList, ChildIdList, ShellMemory<wchar_t>>);

template <typename... Scopes>
constexpr bool kPinned = ((!std::is_copy_constructible_v<Scopes> &&
                           !std::is_move_constructible_v<Scopes>)&&...);
static_assert(kPinned<RedrawSuspension, WaitCursor, ErrorModeScope, ComInitialization,
                      OleInitialization, WindowDc, SelectedObject, PaintScope>);

// An absolute list is never taken for a child list, nor the other way round.
static_assert(!std::is_constructible_v<ChildIdList, AbsoluteIdList&&>);
static_assert(!std::is_assignable_v<AbsoluteIdList&, ChildIdList&&>);

// Releases counted by resource number, for the owner under test.
std::map<int, int> released;

BOOL WINAPI FakeClose(HANDLE handle) {
  ++released[static_cast<int>(reinterpret_cast<INT_PTR>(handle))];
  return TRUE;
}

// A COM object whose last Release counts as the release of its resource.
class FakeObject : public IUnknown {
 public:
  explicit FakeObject(int id) : id_(id) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown) return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    if (--references_ == 0) ++released[id_];
    return references_;
  }
  ULONG References() const { return references_; }

 private:
  int id_;
  ULONG references_ = 1;
};

// Owners made by `make` hold resources 1, 2 and 3. Moving hands a resource on without releasing
// it; assigning over an owner, reset and the end of the scope each release exactly once.
template <typename Owner>
void ExpectEachReleasedOnce(const std::function<Owner(int)>& make) {
  released.clear();
  {
    Owner first = make(1);
    Owner second(std::move(first));
    EXPECT_FALSE(first);
    Owner third = make(2);
    third = std::move(second);
    EXPECT_EQ(released[1], 0) << "released while still owned";
    EXPECT_EQ(released[2], 1) << "the resource assigned over";
    Owner fourth = make(3);
    fourth.reset();
    EXPECT_FALSE(fourth);
    EXPECT_EQ(released[3], 1) << "reset";
  }
  EXPECT_EQ(released, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}}));
}

// The task allocator's blocks, counted while the owners of `Owner` free them.
template <typename Owner>
void ExpectShellBlocksReleasedOnce() {
  std::map<void*, int> ids;
  const TaskFreeWatch watch([&](void* block) {
    if (const auto found = ids.find(block); found != ids.end()) ++released[found->second];
  });
  ExpectEachReleasedOnce<Owner>([&](int id) {
    void* block = ShellAllocator()->Alloc(16);
    ids[block] = id;
    return Owner(static_cast<typename std::remove_pointer_t<decltype(Owner().get())>*>(block));
  });
}

struct OwnerCase : Row {
  std::function<void()> check;
};

class Owners : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(Owners, HandOnWhenMovedAndReleaseEachResourceOnce) {
  GetParam().check();
}

// Handles 1, 2 and 3, closed by FakeClose.
template <typename Owner>
void ExpectHandlesReleasedOnce() {
  ExpectEachReleasedOnce<Owner>(
      [](int id) { return Owner(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(id))); });
}

FakeObject fake_objects[] = {FakeObject(0), FakeObject(1), FakeObject(2), FakeObject(3)};

ComPtr<IUnknown> AdoptFake(int id) {
  fake_objects[id] = FakeObject(id);
  return ComPtr<IUnknown>::Adopt(&fake_objects[id]);
}

using InvalidIsEmptyHandle = UniqueHandle<HANDLE, FakeClose, InvalidIsEmpty>;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, Owners, ::testing::Values(
    OwnerCase{"HandleEmptyWhenNull",
              [] { ExpectHandlesReleasedOnce<UniqueHandle<HANDLE, FakeClose>>(); }},
    OwnerCase{"HandleEmptyWhenInvalid", [] {
      ExpectHandlesReleasedOnce<InvalidIsEmptyHandle>();
      EXPECT_EQ(InvalidIsEmptyHandle().get(), INVALID_HANDLE_VALUE);
    }},
    OwnerCase{"ComPtr", [] { ExpectEachReleasedOnce<ComPtr<IUnknown>>(AdoptFake); }},
    OwnerCase{"AbsoluteIdList", [] { ExpectShellBlocksReleasedOnce<AbsoluteIdList>(); }},
    OwnerCase{"ChildIdList", [] { ExpectShellBlocksReleasedOnce<ChildIdList>(); }},
    OwnerCase{"ShellMemory", [] { ExpectShellBlocksReleasedOnce<ShellMemory<wchar_t>>(); }}),
    RowName);
// clang-format on

TEST(ComPtrReferences, ShareBorrowAndQueryEachHoldOneReferenceOfTheirOwn) {
  released.clear();
  FakeObject object(7);
  {
    ComPtr<IUnknown> owner = ComPtr<IUnknown>::Adopt(&object);
    const ComPtr<IUnknown> shared = owner.Share();
    const ComPtr<IUnknown> borrowed = ComPtr<IUnknown>::Borrow(&object);
    const ComPtr<IUnknown> queried = owner.Query<IUnknown>();
    EXPECT_EQ(object.References(), 4u);
    EXPECT_FALSE(owner.Query<IMalloc>()) << "an interface the object lacks gives an empty pointer";
    EXPECT_EQ(object.References(), 4u);
  }
  EXPECT_EQ(object.References(), 0u);
  EXPECT_EQ(released[7], 1);
}

}  // namespace
}  // namespace pem::testing
