#include "services/file_service.h"

#include <QFile>
#include <QLocale>
#include <algorithm>
#include <string>

#include "models/conversion_settings.h"

namespace quorvane::core::FileService {

namespace fs = std::filesystem;

namespace {

bool isHidden(const fs::path& path) {
  const std::string name = path.filename().native();
  return !name.empty() && name.front() == '.';
}

// The entries of one folder, sorted by name so a walk lists files in the
// same order every time, whatever order the file system keeps them in.
std::vector<fs::directory_entry> sortedEntries(const fs::path& directory) {
  std::vector<fs::directory_entry> entries;
  std::error_code error;
  fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) entries.push_back(*it);
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path().native() < b.path().native(); });
  return entries;
}

void walkFolder(const fs::path& root, std::vector<fs::path>& result) {
  // An explicit stack rather than recursion: a very deep tree cannot
  // exhaust the thread's stack.
  struct Level {
    std::vector<fs::directory_entry> entries;
    std::size_t next = 0;
  };
  std::vector<Level> stack;
  stack.push_back({sortedEntries(root)});
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.entries.size()) {
      stack.pop_back();
      continue;
    }
    const fs::directory_entry entry = level.entries[level.next++];
    if (isHidden(entry.path())) continue;
    if (ConversionSettings::isSupportedImage(entry.path())) result.push_back(entry.path());
    std::error_code error;
    // Links to folders are not followed: a link loop cannot trap the walk.
    if (entry.is_directory(error) && !entry.is_symlink(error)) {
      stack.push_back({sortedEntries(entry.path())});
    }
  }
}

bool isTaken(const fs::path& candidate) {
  std::error_code error;
  return fs::symlink_status(candidate, error).type() != fs::file_type::not_found;
}

std::string toFileNameBytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

// Decimal text of a 128-bit value: start + index can exceed 64 bits for a
// stored start number near the limit, and the name must still count on.
std::string decimal(__int128 value) {
  const bool negative = value < 0;
  unsigned __int128 magnitude =
      negative ? static_cast<unsigned __int128>(-(value + 1)) + 1 : static_cast<unsigned __int128>(value);
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits.push_back('-');
  std::reverse(digits.begin(), digits.end());
  return digits;
}

// Signed 64-bit decimal: an optional single sign and one or more ASCII digits.
std::optional<qint64> parseStartValue(const QString& text) {
  qsizetype i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  if (i == text.size()) return std::nullopt;
  for (qsizetype j = i; j < text.size(); ++j) {
    if (text[j] < u'0' || text[j] > u'9') return std::nullopt;
  }
  bool ok = false;
  const qint64 value = text.toLongLong(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

}  // namespace

std::vector<fs::path> collectImageFiles(const std::vector<fs::path>& locations) {
  std::vector<fs::path> result;
  for (const fs::path& location : locations) {
    std::error_code error;
    const fs::file_status status = fs::status(location, error);
    if (error || !fs::exists(status)) continue;
    if (fs::is_directory(status)) {
      walkFolder(location, result);
    } else if (ConversionSettings::isSupportedImage(location)) {
      result.push_back(location);
    }
  }
  return result;
}

fs::path uniqueOutputURL(const fs::path& directory, const fs::path& baseName, const QString& ext,
                         const NameFilter& alsoTaken) {
  const std::string base = baseName.native();
  const std::string suffix = "." + toFileNameBytes(ext);
  const auto taken = [&](const fs::path& p) { return isTaken(p) || (alsoTaken && alsoTaken(p)); };
  fs::path candidate = directory / (base + suffix);
  for (long long n = 1; taken(candidate); ++n) {
    candidate = directory / (base + "-" + std::to_string(n) + suffix);
  }
  return candidate;
}

QString sequentialNumberText(const QString& startNumber, qint64 index) {
  const __int128 number = __int128{parseStartValue(startNumber).value_or(1)} + index;
  const qsizetype width = std::max<qsizetype>(1, startNumber.toUcs4().size());
  std::string digits = decimal(number);
  // Like printf's "%0*d": zeros go after the sign, which counts toward the width.
  const std::size_t signLength = number < 0 ? 1 : 0;
  if (static_cast<qsizetype>(digits.size()) < width) {
    digits.insert(signLength, static_cast<std::size_t>(width) - digits.size(), '0');
  }
  return QString::fromLatin1(digits);
}

fs::path sequentialOutputURL(const fs::path& directory, const QString& prefix, qint64 index,
                             const QString& startNumber, const QString& ext,
                             const NameFilter& alsoTaken) {
  const QString number = sequentialNumberText(startNumber, index);
  const QString base = prefix.isEmpty() ? number : prefix + u'-' + number;
  return uniqueOutputURL(directory, fs::path(toFileNameBytes(base)), ext, alsoTaken);
}

std::error_code ensureDirectory(const fs::path& directory) {
  if (isTaken(directory)) return {};
  std::error_code error;
  fs::create_directories(directory, error);
  return error;
}

QString formatFileSize(qint64 bytes) {
  return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

std::optional<fs::path> localPathFromUrl(const QUrl& url) {
  if (!url.isLocalFile()) return std::nullopt;
  // QUrl::toLocalFile() would turn bytes that are not UTF-8 into U+FFFD;
  // decoding the percent-encoded path keeps them.
  const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  if (bytes.isEmpty()) return std::nullopt;
  return fs::path(bytes.toStdString());
}

QString displayPath(const fs::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

}  // namespace quorvane::core::FileService
