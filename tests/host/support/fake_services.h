#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/file_system.h"
#include "core/profile_file.h"
#include "core/user_messages.h"

namespace norv::test {

// The desktop as the tests describe it: items with text, image and position, a desktop rectangle,
// an arrange rule, request counters, and requests that fail on demand. A view that is replaced
// (the shell restarting) or hung answers nothing until a new find, or until it answers again.
class SimulatedDesktop : public DesktopListView {
 public:
  struct Item {
    std::u16string text;
    int32_t image = 0;
    Point position;
  };

  std::vector<Item> items;
  DesktopRect rect{1024, 768};
  bool present = true;
  bool hung = false;
  // Grid of the arrange rule: columns of cellHeight from the top-left, cellWidth apart.
  int32_t cellWidth = 75;
  int32_t cellHeight = 75;

  // Request counters, by operation.
  int finds = 0;
  int countRequests = 0;
  int itemReads = 0;  // reads of every item at once, each made of the two requests per item below
  int positionReads = 0;
  int labelReads = 0;
  int moves = 0;
  int arranges = 0;
  std::vector<std::pair<int32_t, uint32_t>> moveLog;  // index, packed position

  // The view's painting, which a move batch switches off until its end; a new view paints.
  bool painting = true;
  int batchBegins = 0;
  int batchEnds = 0;
  int unpaintedMoves = 0;  // moves the view carried out while it was not painting

  // When set, the request with this zero-based number of its kind fails.
  std::optional<int> failPositionReadAt;
  std::optional<int> failLabelReadAt;
  std::optional<int> failMoveAt;
  // The shell replaces its view just before the move with this number reaches it.
  std::optional<int> replaceViewAtMove;
  // The move with this number throws, as a failure that unwinds the caller.
  std::optional<int> throwAtMove;

  void Add(std::u16string text, int32_t x, int32_t y, int32_t image = 0);
  // When set, a replaced view leaves no view behind until the test sets `present` again.
  bool replaceLeavesNoView = false;
  // When set, the new view shows these positions (those the shell last kept), not the items'.
  std::optional<std::vector<Point>> positionsOfNewView;

  // The shell replaces its view: requests to the view of the last find go nowhere.
  void ReplaceView() {
    ++view_;
    painting = true;
    if (replaceLeavesNoView) present = false;
    if (positionsOfNewView) {
      for (size_t i = 0; i < items.size() && i < positionsOfNewView->size(); ++i)
        items[i].position = (*positionsOfNewView)[i];
    }
  }
  // The item requests; a batch's begin and end are counted apart.
  int CrossProcessRequests() const {
    return countRequests + positionReads + labelReads + moves + arranges;
  }
  void ResetCounters();

  bool FindDesktopListView() override;
  DesktopRect GetDesktopRect() override;
  std::optional<int32_t> GetItemCount() override;
  std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) override;
  size_t MoveItems(std::span<const IconMove> list) override;
  void BeginMoveBatch() override;
  void EndMoveBatch() override;
  bool ArrangeIcons() override;
  bool ViewStillExists() override { return Exists(); }

 private:
  bool Exists() const { return present && foundView_ == view_; }
  bool Answers() const { return Exists() && !hung; }
  bool Valid(int32_t index) const {
    return Answers() && index >= 0 && index < static_cast<int32_t>(items.size());
  }

  int view_ = 1;       // the view that exists now
  int foundView_ = 1;  // the view the last find found

  bool Move(const IconMove& move);
};

// Files in memory, each with its attribute set; the listing order is the order of creation.
class MemoryFileSystem : public FileSystem {
 public:
  struct File {
    std::string bytes;
    uint32_t attributes = kAttrArchive;
    std::u16string lastWriteText = u"2026/12/07 10:52:31";
    int64_t secondsSinceWrite = 24 * 3600;  // files are old unless a test says otherwise
  };

  // Keys are full paths compared exactly.
  std::map<std::u16string, File> files;
  std::vector<std::u16string> creationOrder;
  std::set<std::u16string> directories;
  std::set<std::u16string> lockedPaths;  // cannot be opened at all
  bool readOnlyFolder = false;           // nothing can be created, replaced or deleted
  bool diskFull = false;                 // writes of new content fail
  int writes = 0;

  void Put(const std::u16string& path, std::string bytes, uint32_t attributes = kAttrArchive);
  bool Has(const std::u16string& path) const { return files.count(path) != 0; }
  const std::string& Bytes(const std::u16string& path) const { return files.at(path).bytes; }

  bool CanOpenForReading(const std::u16string& path) override;
  std::optional<Prefix> ReadOrCreate(const std::u16string& path, size_t maxBytes) override;
  bool ReplaceAtomically(const std::u16string& path, std::string_view bytes) override;
  bool Delete(const std::u16string& path) override;
  bool CreateFolder(const std::u16string& path) override;
  std::vector<std::u16string> List(const std::u16string& pattern, uint32_t attributes) override;
  std::optional<uint32_t> Attributes(const std::u16string& path) override;
  std::optional<std::u16string> LastWriteText(const std::u16string& path) override;
  std::optional<int64_t> SecondsSinceLastWrite(const std::u16string& path) override;

 private:
  void Create(const std::u16string& path, std::string bytes, uint32_t attributes);
};

// A profile file kept as INI text inside a MemoryFileSystem, with the private-profile rules.
class MemoryProfileFile : public ProfileFile {
 public:
  explicit MemoryProfileFile(MemoryFileSystem& files) : files_(files) {}
  std::u16string Read(const std::u16string& section, const std::u16string& key,
                      const std::u16string& file) override;
  bool Write(const std::u16string& section, const std::u16string& key, const std::u16string& value,
             const std::u16string& file) override;

 private:
  MemoryFileSystem& files_;
};

// Answers message boxes from a script (OK when the script is empty) and records what was shown.
class RecordingMessages : public UserMessages {
 public:
  struct Shown {
    std::u16string text;
    MessageStyle style;
    std::u16string title;
  };
  std::vector<Shown> shown;
  std::vector<MessageAnswer> answers;

  MessageAnswer Show(const std::u16string& text, MessageStyle style,
                     const std::u16string& title) override;
};

struct ProgramEnded : std::runtime_error {
  ProgramEnded() : std::runtime_error("program ended") {}
};

// Ends the program by throwing ProgramEnded, so a test sees that nothing after the end ran.
class ThrowingProgramEnd : public ProgramEnd {
 public:
  void EndNow() override { throw ProgramEnded(); }
};

class RecordingPause : public Pause {
 public:
  std::vector<int> waits;
  // What changes on the desktop while the program waits, after the wait is recorded.
  std::function<void()> during;
  void Wait(int milliseconds) override {
    waits.push_back(milliseconds);
    if (during) during();
  }
};

// One of each fake, wired into Services, with the program in "C:\Norv".
struct FakePlatform {
  SimulatedDesktop desktop;
  MemoryFileSystem files;
  MemoryProfileFile profile{files};
  RecordingMessages messages;
  ThrowingProgramEnd programEnd;
  RecordingPause pause;
  Services services{desktop, files, profile, messages, programEnd, pause};
  AppState state;

  FakePlatform() {
    state.appDirectory = u"C:\\Norv";
    files.directories.insert(u"C:\\Norv");
  }
};

// Readable failure messages for UTF-16 text.
std::string Utf8(std::u16string_view text);

}  // namespace norv::test
