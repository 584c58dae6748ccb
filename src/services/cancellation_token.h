// A batch's cancellation flag, shared by the controller and every conversion
// of that batch: a std::stop_source, plus a lock that keeps a cancel and a
// step that must not follow it (publishing an output) apart. Cancelling is
// one-way and may come from any thread.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>

namespace quorvane::core {

class CancellationToken {
 public:
  CancellationToken();

  // Sets the flag and runs every registered callback once, on this thread.
  void cancel() const;
  bool isCancelled() const;

  // Runs `callback` when the token is cancelled (at once if it already is),
  // until the returned registration is destroyed; destroying it waits for a
  // callback that is running on another thread. The callback must be quick.
  using Registration = std::unique_ptr<std::stop_callback<std::function<void()>>>;
  [[nodiscard]] Registration onCancel(std::function<void()> callback) const;

  // Throws CancellationError when cancelled.
  void throwIfCancelled() const;

  // Runs `action` unless the token is cancelled, holding off cancel() until
  // it returns: once cancel() has returned, no such action starts. For short
  // steps that must not happen after a cancel (publishing an output).
  // Throws CancellationError instead of running it.
  void runUnlessCancelled(const std::function<void()>& action) const;

 private:
  struct State {
    std::stop_source source;
    std::mutex mutex;  // held by cancel() and runUnlessCancelled()
  };
  std::shared_ptr<State> m_state;
};

}  // namespace quorvane::core
