// A value or a codec failure, for the codec layer's boundary.
#pragma once

#include <cassert>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quorvane::codec {

struct CodecError {
  enum class Kind {
    Missing,      // nothing at the path (any more)
    Empty,        // a file of 0 bytes
    NotAnImage,   // not a regular file, or no decoder recognises it
    Damaged,      // recognised, but damaged or cut short
    TooLarge,     // pixel count over kMaxPixels (width and height say how many)
    Unsupported,  // an image, but not one we can turn into RGBA
    FileSystem,   // the system refused to read (systemError says why)
    WriteFailed,  // the output file could not be completely written
    OutOfMemory,
    Cancelled,  // the caller asked to stop
  };
  Kind kind;
  // Our own context first ("decode 'IMG_0042.jpg': …"). For logs and tests;
  // callers show their own user-facing messages.
  std::string detail;
  int systemError = 0;  // errno behind FileSystem and WriteFailed, when known
  std::int64_t width = 0;
  std::int64_t height = 0;
  // For Unsupported: a kind of image the user is told about by name, in a
  // container ("HEIF", "AVIF").
  enum class Feature { None, ImageSequence, DerivedImage };
  Feature feature = Feature::None;
  std::string container = {};
};

// Whether a failure means the input cannot be read as an image at all.
inline bool isUnreadable(CodecError::Kind kind) {
  return kind == CodecError::Kind::Missing || kind == CodecError::Kind::Empty ||
         kind == CodecError::Kind::NotAnImage || kind == CodecError::Kind::Damaged ||
         kind == CodecError::Kind::FileSystem;
}

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
