// A folder the code under test cannot write into, also where the tests run
// as root (a container, a CI root): root writes anywhere its mode says no,
// so while a NoRootRights is alive this process acts as "nobody".
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace quorvane::test {

// Makes `folder` (created when missing) readable but not writable, and each
// folder from `reachableFrom` down to it open to everyone, so that the one
// reason it cannot be written is its own mode.
inline void makeReadOnlyFolder(const std::filesystem::path& folder,
                               const std::filesystem::path& reachableFrom) {
  namespace fs = std::filesystem;
  fs::create_directories(folder);
  for (fs::path p = folder.parent_path(); !p.empty(); p = p.parent_path()) {
    ::chmod(p.c_str(), 0755);
    if (p == reachableFrom || p == p.parent_path()) break;
  }
  ::chmod(folder.c_str(), 0555);
}

class NoRootRights {
 public:
  static constexpr uid_t kNobody = 65534;
  NoRootRights() : m_wasRoot(::geteuid() == 0) {
    if (!m_wasRoot) return;
    m_dropped = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    if (!m_dropped) restore();
  }
  ~NoRootRights() {
    if (m_dropped) restore();
  }
  NoRootRights(const NoRootRights&) = delete;
  NoRootRights& operator=(const NoRootRights&) = delete;
  // False only when running as root could not be given up.
  bool ok() const { return !m_wasRoot || m_dropped; }

 private:
  // Back to root; a test that cannot get there must not go on.
  static void restore() {
    if (::seteuid(0) != 0 || ::setegid(0) != 0) std::abort();
  }
  bool m_wasRoot;
  bool m_dropped = false;
};

}  // namespace quorvane::test
