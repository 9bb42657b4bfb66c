#pragma once

// The wire format of testdesk_proxy.dll (little endian, our own): a request is the method's [in]
// arguments, a reply the HRESULT and then the [out] arguments. An item id is a 32-bit byte count
// (0: none) and its bytes, terminator included; an interface a 32-bit byte count and the object
// reference CoMarshalInterface writes.

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace norv::testdesk {

class WireWriter {
 public:
  void U32(uint32_t value) { Raw(&value, sizeof value); }
  void I32(int32_t value) { Raw(&value, sizeof value); }
  void Guid(REFGUID guid) { Raw(&guid, sizeof guid); }
  void Point(const POINT& point) {
    I32(point.x);
    I32(point.y);
  }
  void ItemId(LPCITEMIDLIST id) {
    const uint32_t size = id ? ILGetSize(id) : 0;
    U32(size);
    Raw(id, size);
  }
  // `object` marshalled for the other end of `channel`; nullptr as none.
  HRESULT Interface(IRpcChannelBuffer& channel, REFIID iid, IUnknown* object);
  void Raw(const void* data, size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    if (size) bytes_.insert(bytes_.end(), bytes, bytes + size);
  }
  const std::vector<BYTE>& bytes() const { return bytes_; }

 private:
  std::vector<BYTE> bytes_;
};

// Reads what a WireWriter wrote; a read past the end reads zeros and makes ok() false.
class WireReader {
 public:
  WireReader(const void* data, size_t size)
      : next_(static_cast<const BYTE*>(data)), end_(next_ + size) {}
  bool ok() const { return ok_; }
  uint32_t U32() {
    uint32_t value = 0;
    Raw(&value, sizeof value);
    return value;
  }
  int32_t I32() {
    int32_t value = 0;
    Raw(&value, sizeof value);
    return value;
  }
  GUID Guid() {
    GUID guid{};
    Raw(&guid, sizeof guid);
    return guid;
  }
  POINT Point() {
    POINT point{};
    point.x = I32();
    point.y = I32();
    return point;
  }
  // An id from CoTaskMemAlloc that the caller frees, or nullptr.
  LPITEMIDLIST ItemId();
  HRESULT Interface(REFIID iid, void** out);

 private:
  bool Has(size_t size) {
    ok_ = ok_ && size <= static_cast<size_t>(end_ - next_);
    return ok_;
  }
  void Raw(void* out, size_t size) {
    if (!Has(size)) {
      std::memset(out, 0, size);
      return;
    }
    std::memcpy(out, next_, size);
    next_ += size;
  }

  const BYTE* next_;
  const BYTE* end_;
  bool ok_ = true;
};

inline HRESULT WireWriter::Interface(IRpcChannelBuffer& channel, REFIID iid, IUnknown* object) {
  if (!object) {
    U32(0);
    return S_OK;
  }
  DWORD context = MSHCTX_LOCAL;
  void* contextData = nullptr;
  channel.GetDestCtx(&context, &contextData);
  IStream* stream = nullptr;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (FAILED(hr)) return hr;
  hr = CoMarshalInterface(stream, iid, object, context, contextData, MSHLFLAGS_NORMAL);
  HGLOBAL memory = nullptr;
  if (SUCCEEDED(hr)) hr = GetHGlobalFromStream(stream, &memory);
  STATSTG stat{};
  if (SUCCEEDED(hr)) hr = stream->Stat(&stat, STATFLAG_NONAME);
  if (SUCCEEDED(hr)) {
    const auto size = static_cast<uint32_t>(stat.cbSize.QuadPart);
    U32(size);
    Raw(GlobalLock(memory), size);
    GlobalUnlock(memory);
  }
  stream->Release();
  return hr;
}

inline LPITEMIDLIST WireReader::ItemId() {
  const uint32_t size = U32();
  if (size == 0) return nullptr;
  if (!Has(size)) return nullptr;
  // Its parts' byte counts must lead exactly to the terminator, or reading it would overrun.
  size_t at = 0;
  for (USHORT part = 0; at + sizeof part <= size; at += part) {
    std::memcpy(&part, next_ + at, sizeof part);
    if (part == 0) break;
  }
  if (at + sizeof(USHORT) != size) {
    ok_ = false;
    return nullptr;
  }
  auto* id = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(size));
  if (id) std::memcpy(id, next_, size);
  next_ += size;
  return id;
}

inline HRESULT WireReader::Interface(REFIID iid, void** out) {
  *out = nullptr;
  const uint32_t size = U32();
  if (size == 0) return S_OK;
  if (!Has(size)) return RPC_E_INVALID_DATA;
  IStream* stream = nullptr;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (FAILED(hr)) return hr;
  hr = stream->Write(next_, size, nullptr);
  next_ += size;
  if (SUCCEEDED(hr)) {
    const LARGE_INTEGER start{};
    hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
  }
  if (SUCCEEDED(hr)) hr = CoUnmarshalInterface(stream, iid, out);
  stream->Release();
  return hr;
}

}  // namespace norv::testdesk
