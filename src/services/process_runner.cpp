#include "services/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>

#include "codec/unique_fd.h"
#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/process_holder.h"

extern char** environ;

namespace quorvane::core {

namespace {

using codec::UniqueFd;

struct Pipe {
  UniqueFd read;
  UniqueFd write;
};

Pipe makePipe() {
  int fds[2];
  // Close-on-exec: a tool started in parallel must not inherit our ends, or
  // this pipe would stay open until that other tool exits.
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    throw FileSystemError(QStringLiteral("pipe"), std::error_code(errno, std::generic_category()));
  }
  ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
  return {UniqueFd(fds[0]), UniqueFd(fds[1])};
}

// Ends and reaps the child if we leave before it has been reaped (an
// exception while reading), so no zombie and no orphan tool remain.
class ChildGuard {
 public:
  ChildGuard(pid_t pid, ProcessHolder& holder) : m_pid(pid), m_holder(holder) {}
  ~ChildGuard() {
    if (m_reaped) return;
    m_holder.detach();
    ::kill(-m_pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  void markReaped() { m_reaped = true; }

 private:
  pid_t m_pid;
  ProcessHolder& m_holder;
  bool m_reaped = false;
};

// Reads what is there; returns false at end of file.
bool drain(int fd, std::string& sink, std::size_t limit) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      const std::size_t room = limit > sink.size() ? limit - sink.size() : 0;
      sink.append(buffer, std::min(room, static_cast<std::size_t>(n)));
      continue;
    }
    if (n == 0) return false;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK;
  }
}

// Writes what the pipe takes now of `segments` from `written` on; returns
// false once everything is written or the reader is gone. SIGPIPE is held
// back for this thread meanwhile (and a pending one taken), so a child that
// closes its input early never ends this process.
bool feed(int fd, const std::vector<std::string_view>& segments, std::size_t& segment,
          std::size_t& offset) {
  sigset_t pipeSignal, previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  bool more = true;
  while (segment < segments.size()) {
    const std::string_view rest = segments[segment].substr(offset);
    if (rest.empty()) {
      ++segment;
      offset = 0;
      continue;
    }
    const ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n > 0) {
      offset += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    more = false;  // EPIPE or another error: the child no longer reads
    break;
  }
  if (segment >= segments.size()) more = false;
  if (!sigismember(&previous, SIGPIPE)) {
    const timespec now{0, 0};
    while (::sigtimedwait(&pipeSignal, nullptr, &now) > 0) {
    }
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return more;
}

QString utf8OrEmpty(const std::string& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return decoder.hasError() ? QString() : text;
}

// Starts `path` in a new process group with stdin, stdout and stderr on the
// given descriptors, default signal handling and an empty signal mask. The
// child asks the kernel to kill it when the thread that started it ends, so no
// encoder outlives us, not even after SIGKILL. Returns the pid, or -errno.
//
// Between fork and exec the child only makes async-signal-safe calls: this
// process has other threads, whose locks the child must never touch.
pid_t spawnChild(const char* path, char* const* argv, int stdinFd, int stdoutFd, int stderrFd) {
  int execStatus[2];
  if (::pipe2(execStatus, O_CLOEXEC) != 0) return -errno;
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) ::sigaction(signal, &defaults, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::setpgid(0, 0);
    // If the parent died before this line, the request would never fire:
    // our parent is then someone else, and we leave at once.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(127);
    // Each descriptor goes above 2 first, so none can overwrite another on
    // its way to 0, 1 or 2 (our own standard streams may be closed).
    const int in = ::fcntl(stdinFd, F_DUPFD_CLOEXEC, 3);
    const int out = ::fcntl(stdoutFd, F_DUPFD_CLOEXEC, 3);
    const int err = ::fcntl(stderrFd, F_DUPFD_CLOEXEC, 3);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, STDIN_FILENO) < 0 ||
        ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) {
      const int error = errno;
      [[maybe_unused]] const auto n = ::write(execStatus[1], &error, sizeof error);
      ::_exit(127);
    }
    ::execve(path, argv, environ);
    const int error = errno;
    [[maybe_unused]] const auto n = ::write(execStatus[1], &error, sizeof error);
    ::_exit(127);
  }
  const int forkError = errno;
  ::close(execStatus[1]);
  if (pid < 0) {
    ::close(execStatus[0]);
    return -forkError;
  }
  // The write end closes on a successful exec: an empty read means it ran.
  int error = 0;
  ssize_t n;
  while ((n = ::read(execStatus[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(execStatus[0]);
  if (n == static_cast<ssize_t>(sizeof error)) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return -error;
  }
  // Also set from here, so the group exists before anyone signals it.
  ::setpgid(pid, pid);
  return pid;
}

}  // namespace

std::string runProcess(const std::filesystem::path& tool, const std::vector<std::string>& arguments,
                       const CancellationToken& token, const ProcessOptions& options) {
  token.throwIfCancelled();
  auto holder = std::make_shared<ProcessHolder>();
  const auto registration = token.onCancel([holder] { holder->terminate(); });

  UniqueFd devNull(::open("/dev/null", O_RDWR | O_CLOEXEC));
  Pipe errorPipe = makePipe();
  Pipe outputPipe;
  if (options.captureStdout) outputPipe = makePipe();
  Pipe inputPipe;
  if (!options.input.empty()) {
    inputPipe = makePipe();
    // The read end is the child's and blocks as usual; ours must not.
    ::fcntl(inputPipe.read.get(), F_SETFL, ::fcntl(inputPipe.read.get(), F_GETFL) & ~O_NONBLOCK);
    ::fcntl(inputPipe.write.get(), F_SETFL, ::fcntl(inputPipe.write.get(), F_GETFL) | O_NONBLOCK);
    // A larger pipe means fewer wake-ups for an image of tens of megabytes
    // (best effort: the system may refuse).
    ::fcntl(inputPipe.write.get(), F_SETPIPE_SZ, 1 << 20);
  }

  std::vector<char*> argv;
  std::string program = tool.native();
  argv.push_back(program.data());
  std::vector<std::string> args = arguments;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t pid = spawnChild(
      program.c_str(), argv.data(), inputPipe.read.valid() ? inputPipe.read.get() : devNull.get(),
      options.captureStdout ? outputPipe.write.get() : devNull.get(), errorPipe.write.get());
  if (pid < 0) {
    throw FileSystemError(QCoreApplication::translate("ConversionError", "Cannot start %1")
                              .arg(FileService::displayPath(tool.filename())),
                          std::error_code(-pid, std::generic_category()));
  }
  ChildGuard guard(pid, *holder);
  holder->attach(pid);
  errorPipe.write.reset();
  outputPipe.write.reset();
  inputPipe.read.reset();
  std::size_t inputSegment = 0;
  std::size_t inputOffset = 0;

  std::string output;
  std::string errors;
  bool exited = false;
  bool killed = false;
  const auto started = ProcessHolder::Clock::now();
  while (!exited || errorPipe.read.valid() || outputPipe.read.valid()) {
    pollfd fds[3];
    nfds_t count = 0;
    for (const UniqueFd* fd : {&outputPipe.read, &errorPipe.read}) {
      if (fd->valid()) fds[count++] = {fd->get(), POLLIN, 0};
    }
    if (inputPipe.write.valid()) fds[count++] = {inputPipe.write.get(), POLLOUT, 0};
    // Short waits once the pipes are closed: only the exit is still to come.
    const int timeoutMs = count > 0 ? 50 : 2;
    if (::poll(count > 0 ? fds : nullptr, count, timeoutMs) < 0 && errno != EINTR) break;
    if (inputPipe.write.valid() &&
        !feed(inputPipe.write.get(), options.input, inputSegment, inputOffset)) {
      inputPipe.write.reset();  // end of input for the child
    }
    if (outputPipe.read.valid() && !drain(outputPipe.read.get(), output, SIZE_MAX)) {
      outputPipe.read.reset();
    }
    if (errorPipe.read.valid() && !drain(errorPipe.read.get(), errors, options.maxErrorBytes)) {
      errorPipe.read.reset();
    }

    if (!exited) {
      // Look without reaping: the id stays ours until we detach and reap.
      siginfo_t info{};
      if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
          info.si_pid == pid) {
        exited = true;
      }
    } else {
      // The tool is gone; a grandchild that escaped its group may still hold
      // the pipes. Take what is buffered and stop.
      if (outputPipe.read.valid()) drain(outputPipe.read.get(), output, SIZE_MAX);
      if (errorPipe.read.valid()) drain(errorPipe.read.get(), errors, options.maxErrorBytes);
      break;
    }
    const auto requested = holder->terminationRequestedAt();
    const auto now = ProcessHolder::Clock::now();
    if (!killed && ((requested && now - *requested > options.killGrace) ||
                    (options.timeout.count() > 0 && now - started > options.timeout))) {
      holder->kill();
      killed = true;
    }
  }

  holder->detach();
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  guard.markReaped();

  int exitStatus = 0;
  int signal = 0;
  if (WIFEXITED(status)) {
    exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    signal = WTERMSIG(status);
    exitStatus = 128 + signal;
  }
  if (holder->wasCancelled() && exitStatus != 0) throw CancellationError();
  if (exitStatus != 0) {
    throw ConversionError::processExitedWithError(FileService::displayPath(tool.filename()),
                                                  exitStatus, signal, utf8OrEmpty(errors));
  }
  return output;
}

}  // namespace quorvane::core
