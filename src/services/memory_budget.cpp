#include "services/memory_budget.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>

namespace quorvane::core {

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

std::optional<std::int64_t> readNumber(const char* path) {
  std::ifstream in(path);
  std::int64_t value = 0;
  if (in >> value) return value;
  return std::nullopt;  // missing, or "max"
}

// What the cgroup this process runs in still allows (v2, then v1).
std::optional<std::int64_t> cgroupHeadroom() {
  const auto limit = readNumber("/sys/fs/cgroup/memory.max");
  const auto used = readNumber("/sys/fs/cgroup/memory.current");
  if (limit && used) return std::max<std::int64_t>(0, *limit - *used);
  const auto limitV1 = readNumber("/sys/fs/cgroup/memory/memory.limit_in_bytes");
  const auto usedV1 = readNumber("/sys/fs/cgroup/memory/memory.usage_in_bytes");
  // v1 reports "no limit" as a number near 2^63.
  if (limitV1 && usedV1 && *limitV1 < (std::int64_t{1} << 60)) {
    return std::max<std::int64_t>(0, *limitV1 - *usedV1);
  }
  return std::nullopt;
}

}  // namespace

std::int64_t defaultMemoryBudget() {
  std::optional<std::int64_t> room = availableMemory();
  if (const auto cgroup = cgroupHeadroom()) room = room ? std::min(*room, *cgroup) : *cgroup;
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
