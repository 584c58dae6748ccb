#include "services/tool_version.h"

#include <sys/stat.h>

#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

#include "services/conversion_errors.h"
#include "services/process_runner.h"

namespace quorvane::core {

namespace {

// A tool file as it is now: replacing it (another release, a test's fake)
// asks again.
using FileIdentity = std::tuple<std::string, dev_t, ino_t, off_t, std::int64_t>;

std::optional<QVersionNumber> probe(const std::filesystem::path& tool,
                                    const CancellationToken& token) {
  try {
    const std::string said = runProcess(tool, {"--version"}, token,
                                        {.captureStdout = true, .timeout = std::chrono::seconds(2)});
    static const QRegularExpression number(QStringLiteral("\\b(\\d+)\\.(\\d+)(?:\\.(\\d+))?\\b"));
    const auto found = number.match(QString::fromUtf8(said));
    if (!found.hasMatch()) return std::nullopt;
    return QVersionNumber::fromString(found.captured(0));
  } catch (const CancellationError&) {
    throw;
  } catch (const ConversionFailure&) {
    return std::nullopt;  // a tool that does not answer --version with 0
  }
}

}  // namespace

std::optional<QVersionNumber> toolVersion(const std::filesystem::path& tool,
                                          const CancellationToken& token) {
  struct stat info {};
  if (::stat(tool.c_str(), &info) != 0) return std::nullopt;
  const FileIdentity identity{tool.native(), info.st_dev, info.st_ino, info.st_size,
                              std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 +
                                  info.st_mtim.tv_nsec};
  static std::mutex mutex;
  static std::map<FileIdentity, std::optional<QVersionNumber>> known;
  {
    const std::lock_guard lock(mutex);
    if (const auto found = known.find(identity); found != known.end()) return found->second;
  }
  auto version = probe(tool, token);
  const std::lock_guard lock(mutex);
  return known.emplace(identity, std::move(version)).first->second;
}

std::vector<std::string> avifQuantizerArguments(int quantizer,
                                                const std::optional<QVersionNumber>& version) {
  quantizer = std::clamp(quantizer, 0, 63);
  if (!version || version->majorVersion() < 1) {
    const std::string q = std::to_string(quantizer);
    return {"--min", q, "--max", q};
  }
  // libavif turns quality q into the quantizer ((100 - q) * 63 + 50) / 100
  // (rounded down); it steps by 0.63 per q, so every quantizer has one.
  int quality = 100;
  while (quality > 0 && ((100 - quality) * 63 + 50) / 100 != quantizer) --quality;
  return {"-q", std::to_string(quality)};
}

}  // namespace quorvane::core
