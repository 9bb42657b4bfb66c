#include "support/test_desk.h"

#include <cstdlib>
#include <sstream>

#include "support/build_paths.h"
#include "support/wait.h"
#include "support/window_finder.h"
#include "testdesk/testdesk_protocol.h"

namespace norv::wintest {
namespace {

using testdesk::Command;
using testdesk::kControlClass;

constexpr DWORD kReplyTimeoutMs = 10000;

bool SendCommand(HWND control, Command command, const void* data, DWORD size) {
  COPYDATASTRUCT copy{static_cast<ULONG_PTR>(command), size, const_cast<void*>(data)};
  DWORD_PTR result = 0;
  // Not given up as hung: a desktop told to hang answers once the hang is over.
  return SendMessageTimeoutW(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                             kReplyTimeoutMs, &result) &&
         result == TRUE;
}

bool SendPath(HWND control, Command command, const std::wstring& path) {
  return SendCommand(control, command, path.c_str(),
                     static_cast<DWORD>(path.size() * sizeof(wchar_t)));
}

std::optional<DeskReport> ParseReport(const std::string& text) {
  DeskReport report;
  std::istringstream lines(text);
  std::string line;
  bool whole = false;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string kind;
    fields >> kind;
    if (kind == "present") {
      int present = 0;
      fields >> present;
      report.present = present != 0;
    } else if (kind == "client") {
      fields >> report.clientWidth >> report.clientHeight;
    } else if (kind == "item") {
      size_t index = 0;
      DeskItem item;
      fields >> index >> item.x >> item.y >> item.image;
      const bool numbersRead = !fields.fail();
      // The text is the rest of the line after one space; it may hold spaces of its own.
      std::string text;
      if (fields.get() == ' ') std::getline(fields, text);
      item.text = Utf8ToU16(text);
      if (numbersRead && index == report.items.size()) report.items.push_back(item);
    } else if (kind == "request") {
      std::string message;
      uint32_t count = 0;
      fields >> message >> count;
      report.requests[static_cast<uint32_t>(std::strtoul(message.c_str(), nullptr, 16))] = count;
    } else if (kind == "late-into-freed") {
      fields >> report.lateIntoFreed;
    } else if (kind == "redraw") {
      int on = 1;
      fields >> on >> report.redrawOffs >> report.redrawOns;
      report.redrawOn = on != 0;
    } else if (kind == "folderview") {
      fields >> report.folderViewCalls;
    } else if (kind == "end") {
      whole = true;
    }
  }
  if (!whole) return std::nullopt;
  return report;
}

std::wstring ContentArguments(const TestDeskOptions& options, const std::wstring& description) {
  switch (options.content) {
    case TestDeskOptions::Content::kSample:
      return L"--sample";
    case TestDeskOptions::Content::kEmpty:
      return L"--empty";
    case TestDeskOptions::Content::kGenerated:
      return L"--generate " + std::to_wstring(options.generated);
    case TestDeskOptions::Content::kItems:
      return L"--description " + QuoteArgument(description);
  }
  return {};
}

std::wstring Arguments(const TestDeskOptions& options, const std::wstring& description) {
  std::wstring arguments = ContentArguments(options, description);
  if (options.host == DeskHost::kWorkerW) arguments += L" --workerw";
  if (options.host == DeskHost::kWorkerWUnderProgman) arguments += L" --workerw-under-progman";
  if (options.size.cx > 0) {
    arguments +=
        L" --size " + std::to_wstring(options.size.cx) + L"x" + std::to_wstring(options.size.cy);
  }
  if (options.exitAfterMs > 0)
    arguments += L" --exit-after " + std::to_wstring(options.exitAfterMs);
  if (options.path == DeskPath::kFolderView) arguments += L" --folder-view";
  return arguments;
}

}  // namespace

const char* NameOf(DeskPath path) {
  return path == DeskPath::kFolderView ? "FolderView" : "ListView";
}

uint32_t DeskReport::RequestCount(uint32_t message) const {
  const auto it = requests.find(message);
  return it == requests.end() ? 0 : it->second;
}

uint32_t DeskReport::TotalRequests() const {
  uint32_t total = 0;
  for (const auto& [message, count] : requests) total += count;
  return total;
}

bool WriteDescription(const std::wstring& path, const std::vector<DeskItem>& items) {
  std::string text;
  for (const DeskItem& item : items) {
    text += std::to_string(item.x) + " " + std::to_string(item.y) + " " +
            std::to_string(item.image) + " " + U16ToUtf8(item.text) + "\n";
  }
  return WriteFileBytes(path, text);
}

void EndLeftoverTestDesks() {
  for (HWND control : TopWindowsOf(0, kControlClass)) {
    DWORD id = 0;
    GetWindowThreadProcessId(control, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    SendCommand(control, Command::kQuit, nullptr, 0);
    if (process) {
      if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
}

std::unique_ptr<TestDesk> TestDesk::Start(const TestDeskOptions& options, std::string* error) {
  auto fail = [&](const std::string& reason) -> std::unique_ptr<TestDesk> {
    if (error) *error = reason;
    return nullptr;
  };
  EndLeftoverTestDesks();
  std::wstring description;
  if (options.content == TestDeskOptions::Content::kItems) {
    description = NewTempFile();
    if (!WriteDescription(description, options.items)) return fail("cannot write description");
  }
  auto process = ChildProcess::Start(TestDeskExe(), Arguments(options, description));
  if (!process) return fail("cannot start testdesk.exe");
  // testdesk creates its control window last, once the desktop is complete; a thousand icons on a
  // loaded machine can take a while.
  HWND control = nullptr;
  WaitUntil(
      [&] {
        control = WaitForTopWindow(kControlClass, nullptr, process->id(), 0);
        return control != nullptr || !process->running();
      },
      60000);
  if (!description.empty()) DeleteFileW(description.c_str());
  if (!control) {
    const auto code = process->WaitForExit(0);
    return fail(code ? "testdesk.exe ended with code " + std::to_string(*code)
                     : "testdesk.exe did not get ready in time");
  }
  return std::unique_ptr<TestDesk>(new TestDesk(std::move(*process), control));
}

TestDesk::~TestDesk() {
  if (process_.running()) Quit();
}

HWND TestDesk::ListView() const {
  for (HWND top : TopWindowsOf(process_.id())) {
    const std::u16string cls = ClassNameOf(top);
    if (cls != u"Progman" && cls != u"WorkerW") continue;
    if (HWND defView = FindDescendant(top, L"SHELLDLL_DefView")) {
      if (HWND listView = FindDescendant(defView, L"SysListView32")) return listView;
    }
  }
  return nullptr;
}

bool TestDesk::WaitForListView(DWORD timeoutMs) const {
  return WaitUntil([&] { return ListView() != nullptr; }, timeoutMs);
}

std::optional<DeskReport> TestDesk::Report() {
  const std::wstring path = NewTempFile();
  std::optional<DeskReport> report;
  if (SendPath(control_, Command::kReport, path)) report = ParseReport(ReadFileBytes(path));
  DeleteFileW(path.c_str());
  return report;
}

bool TestDesk::ResetCounts() { return SendCommand(control_, Command::kResetCounts, nullptr, 0); }
bool TestDesk::Vanish() { return SendCommand(control_, Command::kVanish, nullptr, 0); }
bool TestDesk::Appear() { return SendCommand(control_, Command::kAppear, nullptr, 0); }

bool TestDesk::Restart(uint32_t delayMs) {
  return SendCommand(control_, Command::kRestart, &delayMs, sizeof delayMs);
}

bool TestDesk::VanishAfterRequests(uint32_t requests) {
  return SendCommand(control_, Command::kVanishAfterRequests, &requests, sizeof requests);
}

bool TestDesk::RestartAfterRequests(uint32_t requests, uint32_t delayMs) {
  const uint32_t arguments[] = {requests, delayMs};
  return SendCommand(control_, Command::kRestartAfterRequests, arguments, sizeof arguments);
}

bool TestDesk::Load(const std::vector<DeskItem>& items) {
  const std::wstring path = NewTempFile();
  const bool ok =
      WriteDescription(path, items) && SendPath(control_, Command::kLoadDescription, path);
  DeleteFileW(path.c_str());
  return ok;
}

bool TestDesk::DeleteItem(uint32_t index) {
  return SendCommand(control_, Command::kDeleteItem, &index, sizeof index);
}

bool TestDesk::Hang(uint32_t milliseconds) {
  return SendCommand(control_, Command::kHang, &milliseconds, sizeof milliseconds);
}

bool TestDesk::HangAtRequest(uint32_t requests, uint32_t milliseconds) {
  const uint32_t arguments[] = {requests, milliseconds};
  return SendCommand(control_, Command::kHangAtRequest, arguments, sizeof arguments);
}

bool TestDesk::Resize(SIZE size, uint32_t delayMs) {
  const uint32_t arguments[] = {static_cast<uint32_t>(size.cx), static_cast<uint32_t>(size.cy),
                                delayMs};
  return SendCommand(control_, Command::kResize, arguments, sizeof arguments);
}

bool TestDesk::Refresh() { return SendCommand(control_, Command::kRefresh, nullptr, 0); }

std::optional<DWORD> TestDesk::Quit(DWORD timeoutMs) {
  SendCommand(control_, Command::kQuit, nullptr, 0);
  return process_.WaitForExit(timeoutMs);
}

std::ostream& operator<<(std::ostream& out, const DeskSpot& spot) {
  return out << "(" << spot.x << ", " << spot.y << ")";
}

std::vector<DeskSpot> SpotsOf(const std::vector<DeskItem>& items) {
  std::vector<DeskSpot> spots;
  for (const DeskItem& item : items) spots.push_back({item.x, item.y});
  return spots;
}

std::vector<DeskSpot> TestDesk::Spots() {
  const std::optional<DeskReport> report = Report();
  return report ? SpotsOf(report->items) : std::vector<DeskSpot>{};
}

std::optional<DeskSpot> TestDesk::HidingPoint() {
  const std::optional<DeskReport> report = Report();
  if (!report) return std::nullopt;
  return DeskSpot{report->clientWidth + 50, report->clientHeight + 50};
}

}  // namespace norv::wintest
