#include "services/file_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <string>

#include "models/conversion_settings.h"
#include "services/conversion_errors.h"

namespace quorvane::core::FileService {

namespace fs = std::filesystem;

namespace {

bool isHidden(const fs::path& path) {
  const std::string name = path.filename().native();
  return !name.empty() && name.front() == '.';
}

// The entries of one folder, sorted by name so a walk lists files in the
// same order every time, whatever order the file system keeps them in.
std::vector<fs::directory_entry> sortedEntries(const fs::path& directory, std::error_code& error) {
  std::vector<fs::directory_entry> entries;
  fs::directory_iterator it(directory, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) entries.push_back(*it);
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path().native() < b.path().native(); });
  return entries;
}

// False once the walk was asked to stop.
bool walkFolder(const fs::path& root, const WalkVisitor& visit) {
  // An explicit stack rather than recursion: a very deep tree cannot
  // exhaust the thread's stack.
  struct Level {
    std::vector<fs::directory_entry> entries;
    std::size_t next = 0;
  };
  std::vector<Level> stack;
  const auto enter = [&](const fs::path& folder) {
    std::error_code error;
    stack.push_back({sortedEntries(folder, error)});
    if (error && visit.unreadable) visit.unreadable(folder, error);
  };
  enter(root);
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.entries.size()) {
      stack.pop_back();
      continue;
    }
    const fs::directory_entry entry = level.entries[level.next++];
    if (isHidden(entry.path())) continue;
    std::error_code error;
    // Links to folders are not followed: a link loop cannot trap the walk.
    // A folder is walked whatever its name ("trip.png/" holds images).
    if (entry.is_directory(error) && !entry.is_symlink(error)) {
      if (visit.skipFolder && visit.skipFolder(entry.path())) continue;
      enter(entry.path());
    } else if (ConversionSettings::isSupportedImage(entry.path()) &&
               !fs::is_directory(entry.path(), error)) {
      if (!visit.image(entry.path(), root)) return false;
    }
  }
  return true;
}

// Anything standing at the name, even a dangling link, takes it. "Not found"
// frees it; any other answer (no permission to look, a name the file system
// refuses) is no answer at all, so the caller fails rather than guess.
bool isTaken(const fs::path& candidate) {
  struct stat info {};
  if (::lstat(candidate.c_str(), &info) == 0) return true;
  if (errno == ENOENT) return false;
  throw FileSystemError(
      QCoreApplication::translate("ConversionError", "Cannot choose an output name"),
      std::error_code(errno, std::generic_category()));
}

// The longest name the folder's file system takes; 255 (every common Linux
// file system) when the folder cannot be asked, e.g. before it exists.
std::size_t maxNameBytes(const fs::path& directory) {
  const long limit = ::pathconf(directory.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

// `stem` cut to at most `budget` bytes without splitting a UTF-8 character
// (names that are not UTF-8 are cut at a byte that does not continue one).
std::string cutStem(const std::string& stem, std::size_t budget) {
  if (stem.size() <= budget) return stem;
  std::size_t end = budget;
  while (end > 0 && (static_cast<unsigned char>(stem[end]) & 0xC0) == 0x80) --end;
  return stem.substr(0, end);
}

// A search that ends: beyond this many numbered names the folder is treated
// as full rather than probed for ever.
constexpr long long kMaxCollisionNumber = 100'000;

std::string toFileNameBytes(const QString& text) {
  return QFile::encodeName(text).toStdString();
}

// Decimal text of a 128-bit value: start + index can exceed 64 bits for a
// stored start number near the limit, and the name must still count on.
std::string decimal(__int128 value) {
  const bool negative = value < 0;
  unsigned __int128 magnitude = negative ? static_cast<unsigned __int128>(-(value + 1)) + 1
                                         : static_cast<unsigned __int128>(value);
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

void walkImageFiles(const std::vector<fs::path>& locations, const WalkVisitor& visit) {
  for (const fs::path& location : locations) {
    std::error_code error;
    const fs::file_status status = fs::status(location, error);
    if (error || !fs::exists(status)) {
      // A dangling link or a link loop named like an image fails as an
      // image, with its reason; anything else that is not there is reported.
      if (!error) error = std::make_error_code(std::errc::no_such_file_or_directory);
      if (visit.unreadable) visit.unreadable(location, error);
      continue;
    }
    if (fs::is_directory(status)) {
      if (!walkFolder(location, visit)) return;
    } else if (ConversionSettings::isSupportedImage(location)) {
      if (!visit.image(location, {})) return;
    }
  }
}

std::vector<fs::path> collectImageFiles(const std::vector<fs::path>& locations) {
  std::vector<fs::path> result;
  walkImageFiles(locations, {.image = [&](const fs::path& file, const fs::path&) {
                   result.push_back(file);
                   return true;
                 }});
  return result;
}

fs::path defaultOutputFolder(const fs::path& firstImage, const fs::path& root) {
  if (!root.empty()) return fs::absolute(root) / "compressed";
  return fs::absolute(firstImage).parent_path() / "compressed";
}

std::error_code outputFolderError(const fs::path& folder, bool mayCreate) {
  const auto usable = [](const fs::path& path) -> std::error_code {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {errno, std::generic_category()};
    if (!S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::not_a_directory);
    // The effective user's rights, as the conversions will have them.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
      return {errno, std::generic_category()};
    }
    return {};
  };
  const std::error_code error = usable(folder);
  if (!error || !mayCreate || error != std::errc::no_such_file_or_directory) return error;
  fs::path above = folder.parent_path();
  while (usable(above) == std::errc::no_such_file_or_directory && above != above.parent_path()) {
    above = above.parent_path();
  }
  return usable(above);
}

fs::path uniqueOutputURL(const fs::path& directory, const fs::path& baseName, const QString& ext,
                         const NameFilter& alsoTaken) {
  const std::string& base = baseName.native();
  // Built by appending: GCC 12 at -O3 mistakes `"." + text` (an insert at
  // the front) for an overlapping copy (-Wrestrict).
  std::string extension(1, '.');
  extension += toFileNameBytes(ext);
  const std::size_t limit = maxNameBytes(directory);
  const auto taken = [&](const fs::path& p) { return (alsoTaken && alsoTaken(p)) || isTaken(p); };
  for (long long n = 0; n <= kMaxCollisionNumber; ++n) {
    // A long input name would give an output name the file system refuses:
    // the stem gives way, the number and the extension stay.
    std::string tail;
    if (n > 0) {
      tail += '-';
      tail += std::to_string(n);
    }
    tail += extension;
    const std::size_t budget = limit > tail.size() ? limit - tail.size() : 0;
    const fs::path candidate = directory / (cutStem(base, budget) + tail);
    if (!taken(candidate)) return candidate;
  }
  throw FileSystemError(
      QCoreApplication::translate("ConversionError", "Cannot choose an output name"),
      std::make_error_code(std::errc::file_exists));
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
  const std::string number = sequentialNumberText(startNumber, index).toStdString();
  if (prefix.isEmpty()) return uniqueOutputURL(directory, fs::path(number), ext, alsoTaken);
  // A long prefix gives way before the number does, leaving room for a
  // collision number of up to six digits.
  const std::size_t tail = 1 + number.size() + 7 + 1 + toFileNameBytes(ext).size();
  const std::size_t limit = maxNameBytes(directory);
  // Made safe here too: a prefix from a hand-edited settings file must not
  // lead out of the folder.
  const std::string cut =
      cutStem(toFileNameBytes(sanitizedNamePrefix(prefix)), limit > tail ? limit - tail : 0);
  return uniqueOutputURL(directory, fs::path(cut + "-" + number), ext, alsoTaken);
}

std::error_code ensureDirectory(const fs::path& directory) {
  struct stat info {};
  if (::lstat(directory.c_str(), &info) == 0) return {};
  if (errno != ENOENT) return {errno, std::generic_category()};
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

QUrl urlFromLocalPath(const fs::path& path) {
  Q_ASSERT(path.is_absolute());
  // Encoded by hand: QUrl::fromLocalFile() takes text, which cannot hold
  // bytes that are not UTF-8.
  const QByteArray encoded = QByteArray::fromStdString(path.native()).toPercentEncoding("/");
  return QUrl(QStringLiteral("file://") + QString::fromLatin1(encoded), QUrl::StrictMode);
}

QString displayPath(const fs::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

}  // namespace quorvane::core::FileService
