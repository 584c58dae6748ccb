// The child process of one tool run, shared between the thread that waits
// for it and a cancel request arriving from any other thread. The lock makes
// attach() and terminate() see each other's writes, so a cancel that comes
// before the child exists ends it the moment it is attached.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <mutex>
#include <optional>

namespace quorvane::core {

class ProcessHolder {
 public:
  using Clock = std::chrono::steady_clock;

  // Stores the child (the leader of its own process group); terminates it at
  // once when a cancel came first.
  void attach(pid_t pid);
  // Forgets the child; call before reaping it, so a later terminate() can
  // never signal a process id the system has handed to someone else.
  void detach();
  bool wasCancelled() const;
  // Marks the run cancelled and asks the child's whole group to end
  // (SIGTERM). Safe from any thread, any number of times.
  void terminate();
  // When termination was first requested of an attached child.
  std::optional<Clock::time_point> terminationRequestedAt() const;
  // The last resort for a child that ignores SIGTERM.
  void kill();

 private:
  void signalGroupLocked(int signal);

  mutable std::mutex m_mutex;
  std::optional<pid_t> m_pid;
  bool m_cancelled = false;
  std::optional<Clock::time_point> m_terminationRequestedAt;
};

}  // namespace quorvane::core
