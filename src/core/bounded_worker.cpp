#include "core/bounded_worker.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace norv {
namespace {

class PlainWait final : public WorkerWait {
 public:
  std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
  void WaitUpTo(std::chrono::milliseconds longest) override {
    std::unique_lock lock(mutex_);
    woken_.wait_for(lock, longest, [this] { return wake_; });
    wake_ = false;
  }
  void Wake() override {
    {
      std::lock_guard lock(mutex_);
      wake_ = true;
    }
    woken_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool wake_ = false;
};

}  // namespace

std::shared_ptr<WorkerWait> PlainWorkerWait() { return std::make_shared<PlainWait>(); }

// Shared with the thread, which may outlive the worker object.
struct BoundedWorker::State {
  std::shared_ptr<WorkerWait> wait;
  std::chrono::milliseconds deadline;
  std::mutex mutex;
  std::condition_variable work;
  std::function<void()> task;  // handed over, not yet taken by the thread
  bool busy = false;           // a task was handed over and has not returned
  bool givenUp = false;        // the caller stopped waiting for the task in hand
  bool stopping = false;
  bool ended = false;
  std::function<void()> last;
  std::chrono::steady_clock::time_point lastCall;

  void Serve() {
    for (;;) {
      std::function<void()> next;
      {
        std::unique_lock lock(mutex);
        work.wait(lock, [this] { return task || stopping; });
        if (!task) break;
        next = std::exchange(task, nullptr);
      }
      next();
      // Whatever the task holds goes on this thread, as it was made here.
      next = nullptr;
      {
        std::lock_guard lock(mutex);
        busy = false;
      }
      wait->Wake();
    }
    if (last) last();
    last = nullptr;
    {
      std::lock_guard lock(mutex);
      ended = true;
    }
    wait->Wake();
  }

  // Waits until done() holds or `deadline` has passed since the time `since` gives.
  template <class Done, class Since>
  bool WaitFor(Done done, Since since) {
    for (;;) {
      std::chrono::milliseconds left{};
      {
        std::lock_guard lock(mutex);
        if (done()) return true;
        const auto waited = wait->Now() - since();
        if (waited >= deadline) return false;
        left = std::chrono::ceil<std::chrono::milliseconds>(deadline - waited);
      }
      wait->WaitUpTo(left);
    }
  }
};

BoundedWorker::BoundedWorker(std::shared_ptr<WorkerWait> wait, std::chrono::milliseconds deadline)
    : state_(std::make_shared<State>()) {
  state_->wait = std::move(wait);
  state_->deadline = deadline;
  thread_ = std::thread([state = state_] { state->Serve(); });
}

BoundedWorker::~BoundedWorker() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
    state_->givenUp = true;
  }
  state_->work.notify_all();
  const auto start = state_->wait->Now();
  State& state = *state_;
  if (state.WaitFor([&state] { return state.ended; }, [start] { return start; })) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

bool BoundedWorker::WaitUntilIdle() {
  State& state = *state_;
  const auto start = state.wait->Now();
  return state.WaitFor([&state] { return !state.busy; }, [start] { return start; });
}

bool BoundedWorker::Run(std::function<void()> task) {
  if (!WaitUntilIdle()) return false;
  State& state = *state_;
  {
    std::lock_guard lock(state.mutex);
    state.task = std::move(task);
    state.busy = true;
    state.givenUp = false;
    state.lastCall = state.wait->Now();
  }
  state.work.notify_all();
  if (state.WaitFor([&state] { return !state.busy; }, [&state] { return state.lastCall; })) {
    return true;
  }
  std::lock_guard lock(state.mutex);
  // It may have returned between the last look and now.
  if (!state.busy) return true;
  state.givenUp = true;
  return false;
}

std::function<bool()> BoundedWorker::CallStarts() const {
  return [state = state_] {
    std::lock_guard lock(state->mutex);
    if (state->givenUp) return false;
    state->lastCall = state->wait->Now();
    return true;
  };
}

void BoundedWorker::AtEnd(std::function<void()> last) {
  std::lock_guard lock(state_->mutex);
  state_->last = std::move(last);
}

}  // namespace norv
