#include "task_memory.h"

#include <windows.h>
// After windows.h, which it needs.
#include <objidl.h>

#include <atomic>

namespace pem::testing {
namespace {

// Watches every allocation of the task allocator. It lives as long as the process: the runtime
// keeps a spy until the last block it watched is freed.
class AllocationSpy final : public IMallocSpy {
 public:
  long Outstanding() const { return outstanding_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
      *object = static_cast<IMallocSpy*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
  void* STDMETHODCALLTYPE PostAlloc(void* block) override {
    if (block) ++outstanding_;
    return block;
  }
  void* STDMETHODCALLTYPE PreFree(void* block, BOOL spied) override {
    if (block && spied) --outstanding_;
    return block;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** new_block, BOOL) override {
    *new_block = block;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
  void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int result) override { return result; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  std::atomic<long> outstanding_{0};
};

AllocationSpy& Spy() {
  static AllocationSpy spy;
  static const HRESULT registered = CoRegisterMallocSpy(&spy);
  (void)registered;
  return spy;
}

}  // namespace

long OutstandingTaskBlocks() {
  return Spy().Outstanding();
}

}  // namespace pem::testing
