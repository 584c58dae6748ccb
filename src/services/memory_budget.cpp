#include "services/memory_budget.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// "MemAvailable:  123456 kB"
std::optional<std::int64_t> availableMemory() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::int64_t kib = 0;
  std::string unit;
  while (meminfo >> key >> kib >> unit) {
    if (key == "MemAvailable:") return kib * 1024;
  }
  return std::nullopt;
}

// A number alone in a file; nothing when the file is missing or says "max".
std::optional<std::int64_t> readNumber(const fs::path& path) {
  std::ifstream in(path);
  std::int64_t value = 0;
  if (in >> value) return value;
  return std::nullopt;
}

// Mount points are written with octal escapes for space, tab, newline and
// backslash ("\040").
std::string unescapedMountField(const std::string& field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() &&
        std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                    field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                    [](char c) { return c >= '0' && c <= '7'; })) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

// Whether a comma-separated list ("rw,memory") holds `item`.
bool listHolds(std::string_view list, std::string_view item) {
  while (true) {
    const auto comma = list.find(',');
    if (list.substr(0, comma) == item) return true;
    if (comma == std::string_view::npos) return false;
    list.remove_prefix(comma + 1);
  }
}

// Where a cgroup hierarchy is mounted: the hierarchy's path at the mount
// point, and the mount point.
struct Mount {
  std::string root;
  fs::path point;
};

// The unified (v2) hierarchy, or the v1 hierarchy holding the memory
// controller, from /proc/self/mountinfo ("id parent dev root point options
// [optional…] - type source super-options").
std::optional<Mount> cgroupMount(const fs::path& mountinfo, bool unified) {
  std::ifstream in(mountinfo);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point, field;
    if (!(fields >> id >> parent >> device >> root >> point)) continue;
    while (fields >> field && field != "-") {
    }
    std::string type, source, options;
    if (!(fields >> type >> source >> options)) continue;
    const bool memoryV1 = type == "cgroup" && listHolds(options, "memory");
    if (unified ? type == "cgroup2" : memoryV1) {
      return Mount{unescapedMountField(root), unescapedMountField(point)};
    }
  }
  return std::nullopt;
}

// This process's path in the unified hierarchy ("0::/a/b"), or in the v1
// hierarchy whose controllers include memory ("4:memory:/a/b").
std::optional<std::string> cgroupPath(const fs::path& cgroupFile, bool unified) {
  std::ifstream in(cgroupFile);
  for (std::string line; std::getline(in, line);) {
    const auto first = line.find(':');
    const auto second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos) continue;
    const std::string_view id = std::string_view(line).substr(0, first);
    const std::string_view controllers =
        std::string_view(line).substr(first + 1, second - first - 1);
    const bool match =
        unified ? id == "0" && controllers.empty() : listHolds(controllers, "memory");
    if (match) return line.substr(second + 1);
  }
  return std::nullopt;
}

// The least headroom of a cgroup and its ancestors in one hierarchy.
std::optional<std::int64_t> hierarchyHeadroom(const fs::path& root, bool unified) {
  const auto mount = cgroupMount(root / "proc/self/mountinfo", unified);
  const auto path = cgroupPath(root / "proc/self/cgroup", unified);
  if (!mount || !path) return std::nullopt;
  // The path is relative to the hierarchy's root; the mount shows it from
  // mount.root on (a container sees its own cgroup as the root).
  std::string relative = *path;
  if (mount->root != "/" && relative.starts_with(mount->root) &&
      (relative.size() == mount->root.size() || relative[mount->root.size()] == '/')) {
    relative = relative.substr(mount->root.size());
  }
  // The mount point, then each cgroup below it down to this process's own.
  // A path outside what the mount shows ("/../x") leaves only the mount
  // point.
  const fs::path top = root / mount->point.relative_path();
  std::vector<fs::path> levels{top};
  for (const fs::path& part : fs::path(relative).relative_path()) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      levels.resize(1);
      break;
    }
    levels.push_back(levels.back() / part);
  }
  std::optional<std::int64_t> least;
  for (const fs::path& folder : levels) {
    std::optional<std::int64_t> limit;
    std::optional<std::int64_t> used;
    if (unified) {
      for (const char* name : {"memory.max", "memory.high"}) {
        if (const auto value = readNumber(folder / name)) {
          limit = limit ? std::min(*limit, *value) : *value;
        }
      }
      used = readNumber(folder / "memory.current");
    } else {
      limit = readNumber(folder / "memory.limit_in_bytes");
      // v1 says "no limit" with a number near 2^63.
      if (limit && *limit >= (std::int64_t{1} << 60)) limit.reset();
      used = readNumber(folder / "memory.usage_in_bytes");
    }
    if (limit) {
      const std::int64_t room = std::max<std::int64_t>(0, *limit - used.value_or(0));
      least = least ? std::min(*least, room) : room;
    }
  }
  return least;
}

}  // namespace

std::optional<std::int64_t> cgroupMemoryHeadroom(const fs::path& root) {
  const auto unified = hierarchyHeadroom(root, true);
  const auto v1 = hierarchyHeadroom(root, false);
  if (unified && v1) return std::min(*unified, *v1);
  return unified ? unified : v1;
}

std::int64_t defaultMemoryBudget() {
  std::optional<std::int64_t> room = availableMemory();
  if (const auto cgroup = cgroupMemoryHeadroom()) room = room ? std::min(*room, *cgroup) : *cgroup;
  return room ? *room / 2 : 0;
}

std::int64_t estimatedConversionBytes(OutputFormat format, std::int64_t width, std::int64_t height,
                                      bool receipt) {
  // Bytes per input pixel at the peak of each road, measured with
  // bench/peak_rss.py on 12 and 24 MP photos (process tree, encoder
  // included) and rounded up: the decoded RGBA buffer (4), the PNG road's
  // Oklab copy (12), and what each encoder keeps (cwebp holds the image it
  // reads from the pipe, and its own planes).
  double perPixel = 8;
  switch (format) {
    case OutputFormat::Webp:
      perPixel = 15;
      break;
    case OutputFormat::Jpeg:
      perPixel = 9;
      break;
    case OutputFormat::Png:
      perPixel = 17;
      break;
    case OutputFormat::Heic:
      perPixel = 26;
      break;
    case OutputFormat::Avif:
      perPixel = 28;
      break;
    case OutputFormat::Jxl:
      // cjxl 0.7 at effort 7 peaked at 1.0 GB for a 10.6 MP photo, lossy
      // and lossless alike (/usr/bin/time); recompressing a JPEG takes a
      // fifth of that.
      perPixel = 100;
      break;
  }
  // The receipt keeps the decoded input (4), decodes the output (4) and
  // compares (about 8): at most 16 more; on the WebP road, which decodes the
  // input anyway, 24 MP measured 403 MiB against 351 without.
  if (receipt) perPixel += 16;
  constexpr std::int64_t kPerConversion = 16 << 20;  // tool start-up, buffers
  const double pixels = static_cast<double>(std::max<std::int64_t>(0, width)) *
                        static_cast<double>(std::max<std::int64_t>(0, height));
  return kPerConversion + static_cast<std::int64_t>(pixels * perPixel);
}

}  // namespace quorvane::core
