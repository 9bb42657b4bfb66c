#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace norv::testdesk {

// What the Wine prefix needs for other processes to reach testdesk's folder view: the shell-windows
// class treated as testdesk's own class, and testdesk_proxy.dll as the proxy/stub of the
// interfaces that carry item ids. Every value it changes is put back as it was when it goes.
class ShellRegistration {
 public:
  ShellRegistration() = default;
  ~ShellRegistration();
  ShellRegistration(const ShellRegistration&) = delete;
  ShellRegistration& operator=(const ShellRegistration&) = delete;

  // false, with the reason in `error`, when a value cannot be written.
  bool Install(const CLSID& shellWindows, const std::wstring& proxyDll, std::wstring& error);

  // Removes the shell-windows class's TreatAs key that a desktop killed while serving its folder
  // view left behind, so that the lookup reaches the system's shell again.
  static void RemoveLeftovers();

 private:
  struct Saved {
    std::wstring key;
    std::wstring name;
    std::optional<std::wstring> value;  // none: there was no value
  };
  bool Set(const std::wstring& key, const std::wstring& name, const std::wstring& value);

  std::vector<Saved> saved_;
  std::vector<std::wstring> createdKeys_;
};

}  // namespace norv::testdesk
