#include "shell_registration.h"

#include <exdisp.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

#include "item_id_proxy.h"

namespace norv::testdesk {
namespace {

// Under HKEY_LOCAL_MACHINE: COM ignores a TreatAs key of the user's own classes.
constexpr wchar_t kClasses[] = L"Software\\Classes\\";

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, static_cast<int>(std::size(text)));
  return text;
}

bool KeyExists(const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(opened);
  return true;
}

std::optional<std::wstring> ReadValue(const std::wstring& key, const std::wstring& name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.empty() ? nullptr : name.c_str(),
                   RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(value);
}

// The outermost of `key` and its parents that does not exist yet; empty when `key` exists.
std::wstring OutermostMissing(const std::wstring& key) {
  for (size_t end = key.find(L'\\');; end = key.find(L'\\', end + 1)) {
    std::wstring part = key.substr(0, end);
    if (!KeyExists(part)) return part;
    if (end == std::wstring::npos) return {};
  }
}

std::wstring TreatAsKey() {
  return kClasses + (L"CLSID\\" + GuidText(CLSID_ShellWindows) + L"\\TreatAs");
}

}  // namespace

void ShellRegistration::RemoveLeftovers() {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, TreatAsKey().c_str());
}

bool ShellRegistration::Set(const std::wstring& key, const std::wstring& name,
                            const std::wstring& value) {
  // The outermost key this creates is deleted when it goes, with what lies beneath it.
  const std::wstring missing = OutermostMissing(key);
  if (missing.empty()) saved_.push_back({key, name, ReadValue(key, name)});
  const LSTATUS status = RegSetKeyValueW(
      HKEY_LOCAL_MACHINE, key.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ, value.c_str(),
      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  if (!missing.empty() && status == ERROR_SUCCESS) createdKeys_.push_back(missing);
  return status == ERROR_SUCCESS;
}

bool ShellRegistration::Install(const CLSID& shellWindows, const std::wstring& proxyDll,
                                std::wstring& error) {
  const std::wstring classes = kClasses;
  const std::wstring proxyClass = classes + L"CLSID\\" + GuidText(kItemIdProxyClass);
  bool ok = Set(proxyClass + L"\\InprocServer32", L"", proxyDll) &&
            Set(proxyClass + L"\\InprocServer32", L"ThreadingModel", L"Both");
  for (REFIID carried : {IID_IFolderView, IID_IFolderView2, IID_IEnumIDList, IID_IPersistFolder2}) {
    ok = ok && Set(classes + L"Interface\\" + GuidText(carried) + L"\\ProxyStubClsid32", L"",
                   GuidText(kItemIdProxyClass));
  }
  // The shell has no TreatAs of its own: one found here was left by a desktop that was killed, and
  // goes with this one.
  const std::wstring treatAs = TreatAsKey();
  const std::wstring target = GuidText(shellWindows);
  ok = ok &&
       RegSetKeyValueW(HKEY_LOCAL_MACHINE, treatAs.c_str(), nullptr, REG_SZ, target.c_str(),
                       static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  if (ok) createdKeys_.push_back(treatAs);
  if (!ok) error = L"cannot register the folder view in HKEY_LOCAL_MACHINE";
  return ok;
}

ShellRegistration::~ShellRegistration() {
  // Newest first, so that a value changed twice ends as it was before the first change.
  for (auto saved = saved_.rbegin(); saved != saved_.rend(); ++saved) {
    const wchar_t* name = saved->name.empty() ? nullptr : saved->name.c_str();
    if (saved->value) {
      RegSetKeyValueW(HKEY_LOCAL_MACHINE, saved->key.c_str(), name, REG_SZ, saved->value->c_str(),
                      static_cast<DWORD>((saved->value->size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, saved->key.c_str(), name);
    }
  }
  for (auto key = createdKeys_.rbegin(); key != createdKeys_.rend(); ++key) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key->c_str());
  }
}

}  // namespace norv::testdesk
