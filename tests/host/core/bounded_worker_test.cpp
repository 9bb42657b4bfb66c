#include "core/bounded_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace norv {
namespace {

using namespace std::chrono_literals;

constexpr auto kDeadline = 3000ms;

// A clock that moves only when told. The caller's wait for the worker either passes the whole
// time it was offered at once (a worker that never answers) or waits for the worker itself.
class ScriptedWait final : public WorkerWait {
 public:
  std::atomic<bool> timePassesWhileWaiting{false};

  std::chrono::steady_clock::time_point Now() override {
    std::lock_guard lock(mutex_);
    if (std::this_thread::get_id() == caller_) ++callerLooks_;
    looked_.notify_all();
    return now_;
  }
  void WaitUpTo(std::chrono::milliseconds longest) override {
    std::unique_lock lock(mutex_);
    if (timePassesWhileWaiting) {
      now_ += longest;
      return;
    }
    woken_.wait(lock, [this] { return wake_; });
    wake_ = false;
  }
  void Wake() override {
    {
      std::lock_guard lock(mutex_);
      wake_ = true;
    }
    woken_.notify_all();
  }

  // For the worker: time passes, and the caller is woken and has looked at the clock once more
  // before this returns.
  void PassAndLetTheCallerLook(std::chrono::milliseconds time) {
    std::unique_lock lock(mutex_);
    now_ += time;
    const int looks = callerLooks_;
    wake_ = true;
    woken_.notify_all();
    looked_.wait(lock, [&] { return callerLooks_ > looks; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  std::condition_variable looked_;
  bool wake_ = false;
  std::chrono::steady_clock::time_point now_{};
  std::thread::id caller_ = std::this_thread::get_id();
  int callerLooks_ = 0;
};

// A call into a server that hangs until released.
class HungCall {
 public:
  void Enter() {
    std::unique_lock lock(mutex_);
    letGo_.wait(lock, [this] { return released_; });
  }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      released_ = true;
    }
    letGo_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable letGo_;
  bool released_ = false;
};

TEST(BoundedWorkerTest, RunsTasksOnItsOwnThreadInTurnAndACallThatAnswersKeepsTheTaskGoing) {
  auto wait = std::make_shared<ScriptedWait>();
  BoundedWorker worker(wait, kDeadline);
  const std::function<bool()> callStarts = worker.CallStarts();
  std::thread::id ranOn;
  std::vector<int> order;
  EXPECT_TRUE(worker.Run([&] {
    ranOn = std::this_thread::get_id();
    order.push_back(1);
  }));
  EXPECT_TRUE(worker.Run([&] { order.push_back(2); }));
  EXPECT_NE(ranOn, std::this_thread::get_id());
  EXPECT_EQ(order, (std::vector<int>{1, 2}));

  // Four calls of two thirds of the deadline each: the task as a whole takes far longer than
  // the deadline, but no call does, and the caller looked at the clock after every one.
  int calls = 0;
  EXPECT_TRUE(worker.Run([&] {
    for (int i = 0; i < 4; ++i) {
      if (!callStarts()) return;
      wait->PassAndLetTheCallerLook(2000ms);
      ++calls;
    }
  }));
  EXPECT_EQ(calls, 4);
}

TEST(BoundedWorkerTest, AStuckCallIsGivenUpAfterTheDeadlineAndNothingStartsBehindItUntilItReturns) {
  auto wait = std::make_shared<ScriptedWait>();
  HungCall hung;
  BoundedWorker worker(wait, kDeadline);
  const std::function<bool()> callStarts = worker.CallStarts();
  int callsAfterTheStuckOne = 0;
  wait->timePassesWhileWaiting = true;
  EXPECT_FALSE(worker.Run([&] {
    hung.Enter();
    // The caller gave up meanwhile: the rest of the task makes no call.
    for (int i = 0; i < 3; ++i) callsAfterTheStuckOne += callStarts() ? 1 : 0;
  }));

  bool queuedRan = false;
  EXPECT_FALSE(worker.Run([&] { queuedRan = true; }));

  hung.Release();
  wait->timePassesWhileWaiting = false;
  bool nextRan = false;
  EXPECT_TRUE(worker.Run([&] { nextRan = callStarts(); }));
  EXPECT_TRUE(nextRan);
  EXPECT_FALSE(queuedRan);
  EXPECT_EQ(callsAfterTheStuckOne, 0);
}

TEST(BoundedWorkerTest, TheLastTaskRunsOnTheWorkersThreadAndAStuckThreadDoesNotHoldTheEnd) {
  std::thread::id lastRanOn;
  {
    BoundedWorker worker(PlainWorkerWait(), kDeadline);
    ASSERT_TRUE(worker.Run([] {}));
    worker.AtEnd([&] { lastRanOn = std::this_thread::get_id(); });
  }
  EXPECT_NE(lastRanOn, std::thread::id{});
  EXPECT_NE(lastRanOn, std::this_thread::get_id());

  // A thread stuck for good is left behind; what it holds goes when it returns.
  auto hung = std::make_shared<HungCall>();
  auto lastDone = std::make_shared<std::atomic<bool>>(false);
  {
    auto wait = std::make_shared<ScriptedWait>();
    wait->timePassesWhileWaiting = true;
    BoundedWorker worker(wait, kDeadline);
    EXPECT_FALSE(worker.Run([hung] { hung->Enter(); }));
    worker.AtEnd([lastDone] { *lastDone = true; });
  }
  EXPECT_FALSE(*lastDone);
  hung->Release();
  for (int polls = 0; polls < 10000 && !*lastDone; ++polls) {
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_TRUE(*lastDone);
}

}  // namespace
}  // namespace norv
