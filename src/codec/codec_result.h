// A value or a codec failure, for the codec layer's boundary.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quorvane::codec {

struct CodecError {
  enum class Kind {
    Unreadable,   // missing, empty, not an image, damaged or truncated
    TooLarge,     // pixel count over kMaxPixels
    Unsupported,  // an image, but not one we can turn into RGBA
    WriteFailed,  // the output file could not be completely written
    OutOfMemory,
  };
  Kind kind;
  // Our own context first ("decode 'IMG_0042.jpg': …"). For logs and tests;
  // callers show their own user-facing messages.
  std::string detail;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_state(std::move(value)) {}
  Result(CodecError error) : m_state(std::move(error)) {}

  bool ok() const { return m_state.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & {
    assert(ok());
    return std::get<0>(m_state);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(m_state);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(m_state));
  }
  const CodecError& error() const {
    assert(!ok());
    return std::get<1>(m_state);
  }

 private:
  std::variant<T, CodecError> m_state;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(CodecError error) : m_error(std::move(error)) {}

  bool ok() const { return !m_error.has_value(); }
  explicit operator bool() const { return ok(); }
  const CodecError& error() const {
    assert(!ok());
    return *m_error;
  }

 private:
  std::optional<CodecError> m_error;
};

}  // namespace quorvane::codec
