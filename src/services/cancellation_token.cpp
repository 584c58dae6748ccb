#include "services/cancellation_token.h"

#include "services/conversion_errors.h"

namespace quorvane::core {

struct CancellationToken::Registration::State {
  std::atomic<bool> cancelled{false};
  std::mutex mutex;  // guards callbacks and nextId; held while callbacks run
  std::map<std::uint64_t, std::function<void()>> callbacks;
  std::uint64_t nextId = 1;
};

CancellationToken::CancellationToken() : m_state(std::make_shared<Registration::State>()) {}

void CancellationToken::cancel() const {
  std::lock_guard lock(m_state->mutex);
  if (m_state->cancelled.exchange(true)) return;
  for (auto& [id, callback] : m_state->callbacks) callback();
}

bool CancellationToken::isCancelled() const {
  return m_state->cancelled.load();
}

void CancellationToken::throwIfCancelled() const {
  if (isCancelled()) throw CancellationError();
}

void CancellationToken::runUnlessCancelled(const std::function<void()>& action) const {
  std::lock_guard lock(m_state->mutex);
  if (m_state->cancelled.load()) throw CancellationError();
  action();
}

CancellationToken::Registration CancellationToken::onCancel(std::function<void()> callback) const {
  std::lock_guard lock(m_state->mutex);
  if (m_state->cancelled.load()) {
    callback();
    return {};
  }
  Registration registration;
  registration.m_state = m_state;
  registration.m_id = m_state->nextId++;
  m_state->callbacks.emplace(registration.m_id, std::move(callback));
  return registration;
}

CancellationToken::Registration::Registration(Registration&& other) noexcept
    : m_state(std::move(other.m_state)), m_id(other.m_id) {}

CancellationToken::Registration& CancellationToken::Registration::operator=(
    Registration&& other) noexcept {
  if (this != &other) {
    Registration discard(std::move(*this));
    m_state = std::move(other.m_state);
    m_id = other.m_id;
  }
  return *this;
}

CancellationToken::Registration::~Registration() {
  if (!m_state) return;
  // Taking the lock also waits for a callback that is running right now, so
  // nothing it touches is destroyed under it.
  std::lock_guard lock(m_state->mutex);
  m_state->callbacks.erase(m_id);
}

}  // namespace quorvane::core
