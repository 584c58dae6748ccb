#include "codec/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

namespace quorvane::codec::detail {

namespace {
std::atomic<OpenObserver> openObserver{nullptr};
}  // namespace

void setOpenObserver(OpenObserver observer) {
  openObserver.store(observer);
}

InputFile openInput(const std::filesystem::path& path) {
  InputFile file;
  if (const OpenObserver observer = openObserver.load()) observer(path);
  // O_NONBLOCK keeps open(2) from waiting for a writer on a FIFO; it has no
  // effect on the regular files we go on to read.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  struct stat st {};
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0) {
    file.failure = InputFile::Failure::System;
    file.systemError = errno;
    return file;
  }
  if (!S_ISREG(st.st_mode)) {
    file.failure = InputFile::Failure::NotRegularFile;
    return file;
  }
  if (st.st_size == 0) {
    file.failure = InputFile::Failure::EmptyFile;
    return file;
  }
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  file.fd = std::move(fd);
  file.size = st.st_size;
  return file;
}

namespace {

// Reads into buffer from offset with pread (the shared file offset is left
// alone, so libvips may hold a dup of the same descriptor).
std::size_t preadFully(int fd, std::uint8_t* buffer, std::size_t length) {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(fd, buffer + done, length - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

}  // namespace

std::vector<std::uint8_t> readPrefix(int fd, std::size_t length) {
  std::vector<std::uint8_t> bytes(length);
  bytes.resize(preadFully(fd, bytes.data(), length));
  return bytes;
}

std::vector<std::uint8_t> readAll(int fd, std::int64_t size) {
  if (size <= 0) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (preadFully(fd, bytes.data(), bytes.size()) != bytes.size()) return {};
  return bytes;
}

OutputFile::OutputFile(std::filesystem::path path) : m_path(std::move(path)) {
  m_fd.reset(::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666));
  if (!m_fd.valid()) {
    m_errno = errno;
    m_error = std::strerror(errno);
    return;
  }
  struct stat st {};
  m_regular = ::fstat(m_fd.get(), &st) == 0 && S_ISREG(st.st_mode);
}

OutputFile::~OutputFile() {
  if (!m_committed) discard();
}

bool OutputFile::write(const void* data, std::size_t length) {
  if (!m_fd.valid()) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (length > 0) {
    const ssize_t n = ::write(m_fd.get(), bytes, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      m_errno = errno;
      m_error = std::strerror(errno);
      return false;
    }
    bytes += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

bool OutputFile::commit() {
  if (!m_fd.valid()) return false;
  if (!m_fd.close()) {
    m_errno = errno;
    m_error = std::strerror(errno);
    discard();
    return false;
  }
  m_committed = true;
  return true;
}

void OutputFile::discard() {
  m_fd.reset();
  if (m_regular) ::unlink(m_path.c_str());
  m_regular = false;
}

}  // namespace quorvane::codec::detail
