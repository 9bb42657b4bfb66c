// testdesk_proxy.dll: the proxy/stub testdesk registers for the folder view's interfaces that
// carry item ids, so that ids cross between processes whole (wire format: proxy_wire.h).
//
// It carries the calls a program makes to find, read, move and arrange desktop icons; the
// folder view's other methods answer E_NOTIMPL without a call.

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "item_id_proxy.h"
#include "proxy_wire.h"
#include "unserved_folder_view.h"

namespace norv::testdesk {
namespace {

// Method numbers in the vtables (IUnknown's three come first).
enum FolderViewMethod : ULONG {
  kGetFolder = 5,
  kItem = 6,
  kItemCount = 7,
  kItems = 8,
  kGetItemPosition = 11,
  kSelectAndPositionItems = 16,
  kSetCurrentFolderFlags = 24,
  kGetCurrentFolderFlags = 25,
};
enum EnumMethod : ULONG { kNext = 3, kSkip = 4, kReset = 5 };
enum PersistMethod : ULONG { kGetClassId = 3, kGetCurFolder = 5 };

// More items than any desktop holds: a count past it is a broken request.
constexpr uint32_t kMostItems = 1'000'000;

// The proxies' common part: the channel and one round trip.
class ProxyBase : public IRpcProxyBuffer {
 public:
  ProxyBase(IUnknown* outer, REFIID iid) : outer_(outer), iid_(iid) {}
  virtual ~ProxyBase() { Disconnect(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IRpcProxyBuffer) {
      *out = static_cast<IRpcProxyBuffer*>(this);
      AddRef();
      return S_OK;
    }
    if (iid != iid_) return E_NOINTERFACE;
    *out = InterfacePointer();
    outer_->AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE Connect(IRpcChannelBuffer* channel) override {
    Disconnect();
    channel_ = channel;
    if (channel_) channel_->AddRef();
    return S_OK;
  }
  void STDMETHODCALLTYPE Disconnect() override {
    if (channel_) channel_->Release();
    channel_ = nullptr;
  }
  virtual void* InterfacePointer() = 0;

 protected:
  // Sends `request` as `method`; `read(reply, result)` reads the [out] arguments after the
  // HRESULT, which is the call's result unless the reply is broken.
  template <typename Read>
  HRESULT Call(ULONG method, const WireWriter& request, Read read) {
    if (!channel_) return CO_E_OBJNOTCONNECTED;
    RPCOLEMESSAGE message{};
    message.cbBuffer = static_cast<ULONG>(request.bytes().size());
    message.iMethod = method;
    HRESULT hr = channel_->GetBuffer(&message, iid_);
    if (FAILED(hr)) return hr;
    if (message.cbBuffer) {
      std::memcpy(message.Buffer, request.bytes().data(), request.bytes().size());
    }
    ULONG status = 0;
    hr = channel_->SendReceive(&message, &status);
    if (SUCCEEDED(hr)) {
      WireReader reply(message.Buffer, message.cbBuffer);
      hr = static_cast<HRESULT>(reply.U32());
      const HRESULT outs = read(reply, hr);
      if (!reply.ok()) {
        hr = RPC_E_INVALID_DATA;
      } else if (FAILED(outs) && SUCCEEDED(hr)) {
        hr = outs;
      }
    }
    channel_->FreeBuffer(&message);
    return hr;
  }
  HRESULT Call(ULONG method, const WireWriter& request) {
    return Call(method, request, [](WireReader&, HRESULT) { return S_OK; });
  }

  IUnknown* outer_;
  IID iid_;

 private:
  IRpcChannelBuffer* channel_ = nullptr;
  LONG refs_ = 1;
};

// An interface's own IUnknown: the proxy manager's, which holds the proxy.
#define NORV_PROXY_UNKNOWN                                                    \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { \
    return outer_->QueryInterface(iid, out);                                  \
  }                                                                           \
  ULONG STDMETHODCALLTYPE AddRef() override { return outer_->AddRef(); }      \
  ULONG STDMETHODCALLTYPE Release() override { return outer_->Release(); }

class FolderViewProxy : public ProxyBase, public UnservedFolderView {
 public:
  using ProxyBase::ProxyBase;
  void* InterfacePointer() override { return static_cast<IFolderView2*>(this); }
  NORV_PROXY_UNKNOWN

  HRESULT STDMETHODCALLTYPE GetFolder(REFIID iid, void** out) override {
    *out = nullptr;
    WireWriter request;
    request.Guid(iid);
    return Call(kGetFolder, request, [&](WireReader& reply, HRESULT hr) {
      return SUCCEEDED(hr) ? reply.Interface(iid, out) : S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Item(int index, PITEMID_CHILD* id) override {
    *id = nullptr;
    WireWriter request;
    request.I32(index);
    return Call(kItem, request, [&](WireReader& reply, HRESULT) {
      *id = reply.ItemId();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE ItemCount(UINT flags, int* count) override {
    WireWriter request;
    request.U32(flags);
    return Call(kItemCount, request, [&](WireReader& reply, HRESULT) {
      *count = reply.I32();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Items(UINT flags, REFIID iid, void** out) override {
    *out = nullptr;
    WireWriter request;
    request.U32(flags);
    request.Guid(iid);
    return Call(kItems, request, [&](WireReader& reply, HRESULT hr) {
      return SUCCEEDED(hr) ? reply.Interface(iid, out) : S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetItemPosition(PCUITEMID_CHILD id, POINT* point) override {
    WireWriter request;
    request.ItemId(id);
    return Call(kGetItemPosition, request, [&](WireReader& reply, HRESULT) {
      *point = reply.Point();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY ids,
                                                   POINT* points, DWORD flags) override {
    WireWriter request;
    request.U32(count);
    for (UINT i = 0; i < count; ++i) request.ItemId(ids[i]);
    request.U32(points ? 1 : 0);
    for (UINT i = 0; points && i < count; ++i) request.Point(points[i]);
    request.U32(flags);
    return Call(kSelectAndPositionItems, request);
  }
  HRESULT STDMETHODCALLTYPE SetCurrentFolderFlags(DWORD mask, DWORD flags) override {
    WireWriter request;
    request.U32(mask);
    request.U32(flags);
    return Call(kSetCurrentFolderFlags, request);
  }
  HRESULT STDMETHODCALLTYPE GetCurrentFolderFlags(DWORD* flags) override {
    return Call(kGetCurrentFolderFlags, WireWriter(), [&](WireReader& reply, HRESULT) {
      *flags = reply.U32();
      return S_OK;
    });
  }
};

class EnumIdsProxy : public ProxyBase, public IEnumIDList {
 public:
  using ProxyBase::ProxyBase;
  void* InterfacePointer() override { return static_cast<IEnumIDList*>(this); }
  NORV_PROXY_UNKNOWN

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, PITEMID_CHILD* ids, ULONG* fetched) override {
    if (!fetched && wanted != 1) return E_INVALIDARG;
    WireWriter request;
    request.U32(wanted);
    ULONG got = 0;
    const HRESULT hr = Call(kNext, request, [&](WireReader& reply, HRESULT) {
      got = std::min<ULONG>(reply.U32(), wanted);
      for (ULONG i = 0; i < got; ++i) ids[i] = reply.ItemId();
      return S_OK;
    });
    if (FAILED(hr)) {
      for (ULONG i = 0; i < got; ++i) CoTaskMemFree(ids[i]);
      got = 0;
    }
    if (fetched) *fetched = got;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    WireWriter request;
    request.U32(count);
    return Call(kSkip, request);
  }
  HRESULT STDMETHODCALLTYPE Reset() override { return Call(kReset, WireWriter()); }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
};

class PersistFolderProxy : public ProxyBase, public IPersistFolder2 {
 public:
  using ProxyBase::ProxyBase;
  void* InterfacePointer() override { return static_cast<IPersistFolder2*>(this); }
  NORV_PROXY_UNKNOWN

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override {
    return Call(kGetClassId, WireWriter(), [&](WireReader& reply, HRESULT) {
      *id = reply.Guid();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurFolder(PIDLIST_ABSOLUTE* id) override {
    *id = nullptr;
    return Call(kGetCurFolder, WireWriter(), [&](WireReader& reply, HRESULT) {
      *id = reply.ItemId();
      return S_OK;
    });
  }
};

#undef NORV_PROXY_UNKNOWN

class StubBase : public IRpcStubBuffer {
 public:
  explicit StubBase(REFIID iid) : iid_(iid) {}
  virtual ~StubBase() { Disconnect(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IRpcStubBuffer) return E_NOINTERFACE;
    *out = static_cast<IRpcStubBuffer*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE Connect(IUnknown* server) override {
    IUnknown* object = nullptr;
    const HRESULT hr = server->QueryInterface(iid_, reinterpret_cast<void**>(&object));
    if (FAILED(hr)) return hr;
    Disconnect();
    server_ = object;
    return S_OK;
  }
  void STDMETHODCALLTYPE Disconnect() override {
    if (server_) server_->Release();
    server_ = nullptr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(RPCOLEMESSAGE* message, IRpcChannelBuffer* channel) override {
    if (!server_) return CO_E_OBJNOTCONNECTED;
    WireReader request(message->Buffer, message->cbBuffer);
    WireWriter outs;
    const HRESULT hr = Dispatch(message->iMethod, request, outs, *channel);
    if (hr == RPC_E_INVALIDMETHOD) return hr;
    if (!request.ok()) return RPC_E_INVALID_DATA;
    WireWriter reply;
    reply.U32(static_cast<uint32_t>(hr));
    reply.Raw(outs.bytes().data(), outs.bytes().size());
    message->cbBuffer = static_cast<ULONG>(reply.bytes().size());
    const HRESULT got = channel->GetBuffer(message, iid_);
    if (FAILED(got)) return got;
    std::memcpy(message->Buffer, reply.bytes().data(), reply.bytes().size());
    return S_OK;
  }
  IRpcStubBuffer* STDMETHODCALLTYPE IsIIDSupported(REFIID iid) override {
    if (iid != iid_) return nullptr;
    AddRef();
    return this;
  }
  ULONG STDMETHODCALLTYPE CountRefs() override { return server_ ? 1 : 0; }
  HRESULT STDMETHODCALLTYPE DebugServerQueryInterface(void** out) override {
    *out = server_;
    return server_ ? S_OK : E_UNEXPECTED;
  }
  void STDMETHODCALLTYPE DebugServerRelease(void*) override {}

 protected:
  // Makes the call `method` with the arguments in `in`, [out] arguments into `out`; its HRESULT,
  // or RPC_E_INVALIDMETHOD for a method not carried.
  virtual HRESULT Dispatch(ULONG method, WireReader& in, WireWriter& out,
                           IRpcChannelBuffer& channel) = 0;

  IID iid_;
  IUnknown* server_ = nullptr;

 private:
  LONG refs_ = 1;
};

HRESULT ReturnInterface(HRESULT hr, IUnknown* object, REFIID iid, WireWriter& out,
                        IRpcChannelBuffer& channel) {
  if (SUCCEEDED(hr)) {
    const HRESULT marshalled = out.Interface(channel, iid, object);
    if (FAILED(marshalled)) hr = marshalled;
  }
  if (object) object->Release();
  return hr;
}

class FolderViewStub : public StubBase {
 public:
  using StubBase::StubBase;

 protected:
  HRESULT Dispatch(ULONG method, WireReader& in, WireWriter& out,
                   IRpcChannelBuffer& channel) override {
    // IFolderView2's vtable begins with IFolderView's.
    auto* view = static_cast<IFolderView2*>(static_cast<void*>(server_));
    switch (method) {
      case kGetFolder: {
        const GUID iid = in.Guid();
        IUnknown* object = nullptr;
        const HRESULT hr = view->GetFolder(iid, reinterpret_cast<void**>(&object));
        return ReturnInterface(hr, object, iid, out, channel);
      }
      case kItem: {
        PITEMID_CHILD id = nullptr;
        const HRESULT hr = view->Item(in.I32(), &id);
        out.ItemId(SUCCEEDED(hr) ? id : nullptr);
        CoTaskMemFree(id);
        return hr;
      }
      case kItemCount: {
        int count = 0;
        const HRESULT hr = view->ItemCount(in.U32(), &count);
        out.I32(count);
        return hr;
      }
      case kItems: {
        const UINT flags = in.U32();
        const GUID iid = in.Guid();
        IUnknown* object = nullptr;
        const HRESULT hr = view->Items(flags, iid, reinterpret_cast<void**>(&object));
        return ReturnInterface(hr, object, iid, out, channel);
      }
      case kGetItemPosition: {
        LPITEMIDLIST id = in.ItemId();
        POINT point{};
        const HRESULT hr = in.ok() ? view->GetItemPosition(id, &point) : RPC_E_INVALID_DATA;
        out.Point(point);
        CoTaskMemFree(id);
        return hr;
      }
      case kSelectAndPositionItems: {
        const uint32_t count = in.U32();
        if (count > kMostItems) return RPC_E_INVALID_DATA;
        std::vector<LPITEMIDLIST> ids(count);
        for (LPITEMIDLIST& id : ids) id = in.ItemId();
        std::vector<POINT> points;
        if (in.U32()) {
          points.resize(count);
          for (POINT& point : points) point = in.Point();
        }
        const DWORD flags = in.U32();
        const HRESULT hr =
            in.ok() ? view->SelectAndPositionItems(count, const_cast<PCUITEMID_CHILD*>(ids.data()),
                                                   points.empty() ? nullptr : points.data(), flags)
                    : RPC_E_INVALID_DATA;
        for (LPITEMIDLIST id : ids) CoTaskMemFree(id);
        return hr;
      }
      case kSetCurrentFolderFlags: {
        const DWORD mask = in.U32();
        return view->SetCurrentFolderFlags(mask, in.U32());
      }
      case kGetCurrentFolderFlags: {
        DWORD flags = 0;
        const HRESULT hr = view->GetCurrentFolderFlags(&flags);
        out.U32(flags);
        return hr;
      }
    }
    return RPC_E_INVALIDMETHOD;
  }
};

class EnumIdsStub : public StubBase {
 public:
  using StubBase::StubBase;

 protected:
  HRESULT Dispatch(ULONG method, WireReader& in, WireWriter& out, IRpcChannelBuffer&) override {
    auto* ids = static_cast<IEnumIDList*>(static_cast<void*>(server_));
    switch (method) {
      case kNext: {
        const uint32_t wanted = in.U32();
        if (wanted == 0 || wanted > kMostItems) return RPC_E_INVALID_DATA;
        std::vector<PITEMID_CHILD> got(wanted, nullptr);
        ULONG fetched = 0;
        const HRESULT hr = ids->Next(wanted, got.data(), &fetched);
        if (FAILED(hr) || fetched > wanted) fetched = 0;
        out.U32(fetched);
        for (ULONG i = 0; i < fetched; ++i) out.ItemId(got[i]);
        for (PITEMID_CHILD id : got) CoTaskMemFree(id);
        return hr;
      }
      case kSkip:
        return ids->Skip(in.U32());
      case kReset:
        return ids->Reset();
    }
    return RPC_E_INVALIDMETHOD;
  }
};

class PersistFolderStub : public StubBase {
 public:
  using StubBase::StubBase;

 protected:
  HRESULT Dispatch(ULONG method, WireReader&, WireWriter& out, IRpcChannelBuffer&) override {
    auto* folder = static_cast<IPersistFolder2*>(static_cast<void*>(server_));
    switch (method) {
      case kGetClassId: {
        CLSID id{};
        const HRESULT hr = folder->GetClassID(&id);
        out.Guid(id);
        return hr;
      }
      case kGetCurFolder: {
        PIDLIST_ABSOLUTE id = nullptr;
        const HRESULT hr = folder->GetCurFolder(&id);
        out.ItemId(SUCCEEDED(hr) ? id : nullptr);
        CoTaskMemFree(id);
        return hr;
      }
    }
    return RPC_E_INVALIDMETHOD;
  }
};

class ProxyStubFactory : public IPSFactoryBuffer {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPSFactoryBuffer) return E_NOINTERFACE;
    *out = static_cast<IPSFactoryBuffer*>(this);
    return S_OK;
  }
  // One factory for the life of the DLL, which stays loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateProxy(IUnknown* outer, REFIID iid, IRpcProxyBuffer** proxy,
                                        void** object) override {
    *proxy = nullptr;
    *object = nullptr;
    ProxyBase* made = nullptr;
    if (iid == IID_IFolderView || iid == IID_IFolderView2) {
      made = new FolderViewProxy(outer, iid);
    } else if (iid == IID_IEnumIDList) {
      made = new EnumIdsProxy(outer, iid);
    } else if (iid == IID_IPersistFolder2) {
      made = new PersistFolderProxy(outer, iid);
    } else {
      return E_NOINTERFACE;
    }
    *proxy = made;
    *object = made->InterfacePointer();
    outer->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CreateStub(REFIID iid, IUnknown* server,
                                       IRpcStubBuffer** stub) override {
    *stub = nullptr;
    StubBase* made = nullptr;
    if (iid == IID_IFolderView || iid == IID_IFolderView2) {
      made = new FolderViewStub(iid);
    } else if (iid == IID_IEnumIDList) {
      made = new EnumIdsStub(iid);
    } else if (iid == IID_IPersistFolder2) {
      made = new PersistFolderStub(iid);
    } else {
      return E_NOINTERFACE;
    }
    if (server) {
      const HRESULT hr = made->Connect(server);
      if (FAILED(hr)) {
        made->Release();
        return hr;
      }
    }
    *stub = made;
    return S_OK;
  }
};

ProxyStubFactory factory;

}  // namespace
}  // namespace norv::testdesk

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetClassObject(REFCLSID id, REFIID iid, void** out) {
  *out = nullptr;
  if (id != norv::testdesk::kItemIdProxyClass) return CLASS_E_CLASSNOTAVAILABLE;
  return norv::testdesk::factory.QueryInterface(iid, out);
}

// Proxies and stubs made by the factory use its code for as long as the process lives.
extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
