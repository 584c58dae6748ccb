// The one owner of a POSIX file descriptor, for the codec's files and the
// pipes of encoder processes alike.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quorvane::codec {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }
  int release() { return std::exchange(m_fd, -1); }
  void reset(int fd = -1) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd;
  }
  // Closes now and reports whether close(2) succeeded (it can report a
  // delayed write error on some file systems). Linux frees the descriptor
  // even when close fails, so it is never retried.
  bool close() {
    if (m_fd < 0) return true;
    const int rc = ::close(std::exchange(m_fd, -1));
    return rc == 0 || errno == EINTR;
  }

 private:
  int m_fd = -1;
};

}  // namespace quorvane::codec
