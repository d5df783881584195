// COM reference counting for the platform's objects, written once. An object
// derives from ComObject<Interface>: it starts with one reference, Release
// returns the count left and deletes the object at 0. QueryInterface answers
// nothing unless the object overrides it with Answer. A part that shares its
// owner's count (a buffer's 3D control, the listener) derives from
// SharedRefs<Interface> instead.
#pragma once

#include <windows.h>

#include <atomic>

namespace corvane {

template <class Interface>
class ComObject : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override { return Answer(object, nullptr); }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  // QueryInterface's ending: hands out `found` with a new reference, or
  // E_NOINTERFACE when it is null.
  HRESULT Answer(void** object, void* found) {
    if (!object) return E_POINTER;
    *object = found;
    if (!found) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

template <class Interface>
class SharedRefs : public Interface {
 public:
  explicit SharedRefs(IUnknown* owner) : owner_(owner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return owner_->QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }

 private:
  IUnknown* owner_;
};

}  // namespace corvane
