#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace norv {

// How the thread that hands work to a BoundedWorker waits for it. The program's wait lets the
// messages other threads send that thread run meanwhile, as a thread waiting on a cross-process
// call does, so that work which sends the caller's windows a message is answered.
class WorkerWait {
 public:
  virtual ~WorkerWait() = default;
  virtual std::chrono::steady_clock::time_point Now() = 0;
  // Returns after Wake or after at most `longest`, whichever comes first; returning early does
  // no harm.
  virtual void WaitUpTo(std::chrono::milliseconds longest) = 0;
  // Called by the worker's thread whenever it has finished a task.
  virtual void Wake() = 0;
};

// A wait on the clock alone, for a caller with no messages to answer.
std::shared_ptr<WorkerWait> PlainWorkerWait();

// Runs calls that may never come back (into another process that hangs) on a thread of its own,
// one task at a time, so that the caller waits for none of them longer than a deadline counted
// from the start of the task's latest call. A task the caller gave up on is left to finish alone:
// it makes no further calls, and no other task starts until it has returned, so nothing queues
// behind a call that is still stuck.
class BoundedWorker {
 public:
  BoundedWorker(std::shared_ptr<WorkerWait> wait, std::chrono::milliseconds deadline);
  // Runs the last task and ends the thread; a thread still inside a task is left to end alone.
  ~BoundedWorker();
  BoundedWorker(const BoundedWorker&) = delete;
  BoundedWorker& operator=(const BoundedWorker&) = delete;

  // Runs task on the worker's thread. False when it did not finish in time, or when a task given
  // up on earlier had still not returned within the deadline (then this one is not started).
  bool Run(std::function<void()> task);
  // The question a task asks before each call that may not return: true while the caller still
  // waits for the task, and the deadline then counts from now; false once the caller gave up.
  std::function<bool()> CallStarts() const;
  // What the thread does last, after every task; it may outlive this object.
  void AtEnd(std::function<void()> last);

 private:
  struct State;
  bool WaitUntilIdle();

  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace norv
