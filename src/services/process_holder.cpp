#include "services/process_holder.h"

#include <csignal>

namespace quorvane::core {

void ProcessHolder::attach(pid_t pid) {
  std::lock_guard lock(m_mutex);
  m_pid = pid;
  if (m_cancelled) signalGroupLocked(SIGTERM);
}

void ProcessHolder::detach() {
  std::lock_guard lock(m_mutex);
  m_pid.reset();
}

bool ProcessHolder::wasCancelled() const {
  std::lock_guard lock(m_mutex);
  return m_cancelled;
}

void ProcessHolder::terminate() {
  std::lock_guard lock(m_mutex);
  m_cancelled = true;
  signalGroupLocked(SIGTERM);
}

std::optional<ProcessHolder::Clock::time_point> ProcessHolder::terminationRequestedAt() const {
  std::lock_guard lock(m_mutex);
  return m_terminationRequestedAt;
}

void ProcessHolder::kill() {
  std::lock_guard lock(m_mutex);
  signalGroupLocked(SIGKILL);
}

void ProcessHolder::signalGroupLocked(int signal) {
  if (!m_pid) return;
  if (!m_terminationRequestedAt) m_terminationRequestedAt = Clock::now();
  // The tool leads its own group: grandchildren it started end with it and
  // cannot keep our pipes open.
  ::kill(-*m_pid, signal);
}

}  // namespace quorvane::core
