#include "services/process_runner.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/process_holder.h"

extern char** environ;

namespace quorvane::core {

namespace {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    reset(std::exchange(other.m_fd, -1));
    return *this;
  }
  ~UniqueFd() { reset(); }
  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }
  void reset(int fd = -1) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd;
  }

 private:
  int m_fd = -1;
};

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

QString utf8OrEmpty(const std::string& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return decoder.hasError() ? QString() : text;
}

QString signalText(int signal) {
  //: %1 is a signal number, %2 its description such as "Segmentation fault"
  return QCoreApplication::translate("ConversionError", "terminated by signal %1 (%2)")
      .arg(QString::number(signal), QString::fromLocal8Bit(::strsignal(signal)));
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

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, devNull.get(), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(
      &actions, options.captureStdout ? outputPipe.write.get() : devNull.get(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errorPipe.write.get(), STDERR_FILENO);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t noSignals;
  sigemptyset(&noSignals);
  sigset_t defaultSignals;
  sigfillset(&defaultSignals);
  posix_spawnattr_setsigmask(&attributes, &noSignals);
  posix_spawnattr_setsigdefault(&attributes, &defaultSignals);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  std::string program = tool.native();
  argv.push_back(program.data());
  std::vector<std::string> args = arguments;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t pid = -1;
  const int spawnError =
      ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawnError != 0) {
    throw FileSystemError(
        QCoreApplication::translate("ConversionError", "Cannot start %1")
            .arg(FileService::displayPath(tool.filename())),
        std::error_code(spawnError, std::generic_category()));
  }
  ChildGuard guard(pid, *holder);
  holder->attach(pid);
  errorPipe.write.reset();
  outputPipe.write.reset();

  std::string output;
  std::string errors;
  bool exited = false;
  bool killed = false;
  while (!exited || errorPipe.read.valid() || outputPipe.read.valid()) {
    pollfd fds[2];
    nfds_t count = 0;
    for (const UniqueFd* fd : {&outputPipe.read, &errorPipe.read}) {
      if (fd->valid()) fds[count++] = {fd->get(), POLLIN, 0};
    }
    // Short waits once the pipes are closed: only the exit is still to come.
    const int timeoutMs = count > 0 ? 50 : 2;
    if (::poll(count > 0 ? fds : nullptr, count, timeoutMs) < 0 && errno != EINTR) break;
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
    if (!killed && requested && ProcessHolder::Clock::now() - *requested > options.killGrace) {
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
  QString message = utf8OrEmpty(errors);
  if (WIFEXITED(status)) {
    exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    exitStatus = 128 + WTERMSIG(status);
    if (message.trimmed().isEmpty()) message = signalText(WTERMSIG(status));
  }
  if (holder->wasCancelled() && exitStatus != 0) throw CancellationError();
  if (exitStatus != 0) throw ConversionError::processExitedWithError(exitStatus, message);
  return output;
}

}  // namespace quorvane::core
