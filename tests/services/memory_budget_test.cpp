#include "services/memory_budget.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;

// A copy of /proc/self and the cgroup file systems of one machine, as the
// kernel shows them to this process.
class CgroupTree {
 public:
  CgroupTree(const std::string& cgroup, const std::string& mountinfo) {
    write("proc/self/cgroup", cgroup);
    write("proc/self/mountinfo", mountinfo);
  }
  void write(const std::string& file, const std::string& text) {
    fs::create_directories((m_root / file).parent_path());
    test::writeFile(m_root / file, text + "\n");
  }
  const fs::path& root() const { return m_root.path(); }

 private:
  test::ScratchDir m_root;
};

constexpr std::int64_t kMiB = 1 << 20;

TEST(CgroupMemoryHeadroom, TheTightestOfItsOwnCgroupAndEveryAncestorCounts) {
  // systemd's user session: the limit sits on the slice above the service.
  CgroupTree tree("0::/user.slice/app.slice/quorvane.scope",
                  "24 1 0:22 / /sys/fs/cgroup rw,nosuid - cgroup2 cgroup2 rw,nsdelegate");
  const std::string slice = "sys/fs/cgroup/user.slice/";
  tree.write(slice + "memory.max", "max");
  tree.write(slice + "memory.high", std::to_string(2048 * kMiB));
  tree.write(slice + "memory.current", std::to_string(1500 * kMiB));
  tree.write(slice + "app.slice/memory.max", std::to_string(4096 * kMiB));
  tree.write(slice + "app.slice/memory.current", std::to_string(100 * kMiB));
  tree.write(slice + "app.slice/quorvane.scope/memory.max", "max");
  tree.write(slice + "app.slice/quorvane.scope/memory.high", "max");
  tree.write(slice + "app.slice/quorvane.scope/memory.current", std::to_string(50 * kMiB));
  EXPECT_EQ(cgroupMemoryHeadroom(tree.root()), 548 * kMiB);  // memory.high of the slice
  // Its own limit, when tighter; an ancestor already over its limit leaves 0.
  tree.write(slice + "app.slice/quorvane.scope/memory.max", std::to_string(80 * kMiB));
  EXPECT_EQ(cgroupMemoryHeadroom(tree.root()), 30 * kMiB);
  tree.write(slice + "memory.current", std::to_string(3000 * kMiB));
  EXPECT_EQ(cgroupMemoryHeadroom(tree.root()), 0);
}

TEST(CgroupMemoryHeadroom, FindsTheMemoryHierarchyWhereverItIsMounted) {
  // A container: its own cgroup is the root of what it sees.
  CgroupTree container("0::/", "600 500 0:40 / /sys/fs/cgroup ro - cgroup2 cgroup2 rw");
  container.write("sys/fs/cgroup/memory.max", std::to_string(2048 * kMiB));
  container.write("sys/fs/cgroup/memory.current", std::to_string(48 * kMiB));
  EXPECT_EQ(cgroupMemoryHeadroom(container.root()), 2000 * kMiB);

  // Version 1 beside an empty unified hierarchy; "no limit" is a huge number.
  CgroupTree hybrid("4:memory:/jobs/batch\n0::/jobs/batch",
                    "35 31 0:32 / /sys/fs/cgroup/memory rw - cgroup cgroup rw,memory\n"
                    "41 31 0:38 / /sys/fs/cgroup/unified rw - cgroup2 cgroup2 rw");
  const std::string jobs = "sys/fs/cgroup/memory/jobs/";
  hybrid.write(jobs + "memory.limit_in_bytes", std::to_string(1024 * kMiB));
  hybrid.write(jobs + "memory.usage_in_bytes", std::to_string(24 * kMiB));
  hybrid.write(jobs + "batch/memory.limit_in_bytes", "9223372036854771712");
  hybrid.write(jobs + "batch/memory.usage_in_bytes", std::to_string(20 * kMiB));
  EXPECT_EQ(cgroupMemoryHeadroom(hybrid.root()), 1000 * kMiB);

  // A mount point with a space in it (escaped in mountinfo); no limit at all.
  CgroupTree unlimited("0::/a", "24 1 0:22 / /cg\\040two rw - cgroup2 none rw");
  unlimited.write("cg two/a/memory.max", "max");
  unlimited.write("cg two/a/memory.current", "123");
  EXPECT_EQ(cgroupMemoryHeadroom(unlimited.root()), std::nullopt);
  unlimited.write("cg two/a/memory.high", "1123");
  EXPECT_EQ(cgroupMemoryHeadroom(unlimited.root()), 1000);
}

}  // namespace
}  // namespace quorvane::core
