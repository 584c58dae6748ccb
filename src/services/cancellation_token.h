// A batch's cancellation flag, shared by the controller and every conversion
// of that batch. Cancelling is one-way and may come from any thread.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace quorvane::core {

class CancellationToken {
 public:
  CancellationToken();

  // Sets the flag and runs every registered callback once, on this thread.
  void cancel() const;
  bool isCancelled() const;

  // Runs `callback` when the token is cancelled (at once if it already is),
  // until the returned registration is destroyed. The callback must be quick
  // and must not register or unregister callbacks itself.
  class Registration {
   public:
    Registration() = default;
    Registration(Registration&&) noexcept;
    Registration& operator=(Registration&&) noexcept;
    ~Registration();

   private:
    friend class CancellationToken;
    struct State;
    std::shared_ptr<State> m_state;
    std::uint64_t m_id = 0;
  };
  [[nodiscard]] Registration onCancel(std::function<void()> callback) const;

  // Throws CancellationError when cancelled.
  void throwIfCancelled() const;

  // Runs `action` unless the token is cancelled, holding off cancel() until
  // it returns: once cancel() has returned, no such action starts. For short
  // steps that must not happen after a cancel (publishing an output).
  // Throws CancellationError instead of running it.
  void runUnlessCancelled(const std::function<void()>& action) const;

 private:
  std::shared_ptr<Registration::State> m_state;
};

}  // namespace quorvane::core
