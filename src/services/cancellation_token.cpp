#include "services/cancellation_token.h"

#include "services/conversion_errors.h"

namespace quorvane::core {

CancellationToken::CancellationToken() : m_state(std::make_shared<State>()) {}

void CancellationToken::cancel() const {
  std::lock_guard lock(m_state->mutex);
  m_state->source.request_stop();
}

bool CancellationToken::isCancelled() const {
  return m_state->source.stop_requested();
}

void CancellationToken::throwIfCancelled() const {
  if (isCancelled()) throw CancellationError();
}

CancellationToken::Registration CancellationToken::onCancel(std::function<void()> callback) const {
  return std::make_unique<std::stop_callback<std::function<void()>>>(m_state->source.get_token(),
                                                                     std::move(callback));
}

void CancellationToken::runUnlessCancelled(const std::function<void()>& action) const {
  std::lock_guard lock(m_state->mutex);
  if (isCancelled()) throw CancellationError();
  action();
}

}  // namespace quorvane::core
