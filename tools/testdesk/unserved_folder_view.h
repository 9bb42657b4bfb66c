#pragma once

#include <windows.h>
// The shell's interfaces need the COM basics first.
#include <shlobj.h>
#include <shobjidl.h>

namespace norv::testdesk {

// IFolderView2 with E_NOTIMPL for every method a program needs not to find, read, move and
// arrange desktop icons: the base of testdesk's view and of its proxy, which serve the same ones.
class UnservedFolderView : public IFolderView2 {
 public:
  // The interface an object of this class is asked for by.
  using Interface = IFolderView2;

  HRESULT STDMETHODCALLTYPE GetCurrentViewMode(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetCurrentViewMode(UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSelectionMarkedItem(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFocusedItem(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSpacing(POINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDefaultSpacing(POINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAutoArrange() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SelectItem(int, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetGroupBy(REFPROPERTYKEY, WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetGroupBy(PROPERTYKEY*, WINBOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetViewProperty(PCUITEMID_CHILD, REFPROPERTYKEY,
                                            REFPROPVARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetViewProperty(PCUITEMID_CHILD, REFPROPERTYKEY,
                                            PROPVARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetTileViewProperties(PCUITEMID_CHILD, LPCWSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetExtendedTileViewProperties(PCUITEMID_CHILD, LPCWSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetText(FVTEXTTYPE, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSortColumnCount(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSortColumns(const SORTCOLUMN*, int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSortColumns(SORTCOLUMN*, int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItem(int, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetVisibleItem(int, WINBOOL, int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSelectedItem(int, int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSelection(WINBOOL, IShellItemArray** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetSelectionState(PCUITEMID_CHILD, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InvokeVerbOnSelection(LPCSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetViewModeAndIconSize(FOLDERVIEWMODE, int) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetViewModeAndIconSize(FOLDERVIEWMODE*, int*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetGroupSubsetCount(UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetGroupSubsetCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetRedraw(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsMoveInSameFolder() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoRename() override { return E_NOTIMPL; }
};

}  // namespace norv::testdesk
