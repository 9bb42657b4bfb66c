#include "html_association.h"

#include <windows.h>

#include <utility>

namespace norv::wintest {
namespace {

constexpr wchar_t kExtension[] = L".html";
constexpr wchar_t kViewerProgId[] = L"NorvTest.HelpViewer";
// A class with no command: what a system without a web browser has.
constexpr wchar_t kNoViewerProgId[] = L"NorvTest.NoViewer";

std::optional<std::wstring> DefaultValue(const wchar_t* key) {
  wchar_t value[256] = {};
  LONG size = sizeof(value);
  if (RegQueryValueW(HKEY_CLASSES_ROOT, key, value, &size) != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(value);
}

void SetDefaultValue(const std::wstring& key, const std::wstring& value) {
  RegSetValueW(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
               static_cast<DWORD>(value.size() * sizeof(wchar_t)));
}

bool KeyExists(const wchar_t* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

}  // namespace

HtmlAssociation::HtmlAssociation()
    : keyExisted_(KeyExists(kExtension)), previous_(DefaultValue(kExtension)) {}

HtmlAssociation HtmlAssociation::Viewer(const std::wstring& viewer) {
  HtmlAssociation association;
  SetDefaultValue(kViewerProgId, L"Norvane test viewer");
  SetDefaultValue(std::wstring(kViewerProgId) + L"\\shell\\open\\command",
                  L"\"" + viewer + L"\" \"%1\"");
  SetDefaultValue(kExtension, kViewerProgId);
  return association;
}

HtmlAssociation HtmlAssociation::None() {
  HtmlAssociation association;
  SetDefaultValue(kNoViewerProgId, L"Norvane test: no viewer");
  SetDefaultValue(kExtension, kNoViewerProgId);
  return association;
}

HtmlAssociation::HtmlAssociation(HtmlAssociation&& other) noexcept
    : restore_(std::exchange(other.restore_, false)),
      keyExisted_(other.keyExisted_),
      previous_(other.previous_) {}

HtmlAssociation::~HtmlAssociation() {
  if (!restore_) return;
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kViewerProgId);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kNoViewerProgId);
  if (!keyExisted_) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kExtension);
  } else if (previous_) {
    SetDefaultValue(kExtension, *previous_);
  } else {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kExtension, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, nullptr);
      RegCloseKey(key);
    }
  }
}

}  // namespace norv::wintest
