// Stateless helpers for file names, folders and size texts. Paths stay
// std::filesystem::path (bytes) so names that are not UTF-8 survive; text is
// made only for display.
#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>
#include <vector>

namespace quorvane::core::FileService {

// What a walk reports, as it goes.
struct WalkVisitor {
  // An image file, and the folder named in `locations` it was found in
  // (empty for a file named itself); false stops the walk.
  std::function<bool(const std::filesystem::path& file, const std::filesystem::path& root)> image{};
  // A location that is not there, or a folder that cannot be read.
  std::function<void(const std::filesystem::path&, std::error_code)> unreadable{};
  // A folder found in a walk that is not to be entered (output folders).
  std::function<bool(const std::filesystem::path&)> skipFolder{};
};

// The image files named by `locations`, in order: a file is kept when its name
// has a supported extension; a folder is walked depth-first (each folder's
// entries in byte order of their names), passing over hidden entries and
// keeping every entry that is not a folder whose name passes (a dangling link
// too: it fails as an image). Locations that are not there and folders that
// cannot be read go to `unreadable`. Nothing is de-duplicated.
void walkImageFiles(const std::vector<std::filesystem::path>& locations, const WalkVisitor& visit);
// The same, collected; what cannot be read is passed over.
std::vector<std::filesystem::path> collectImageFiles(
    const std::vector<std::filesystem::path>& locations);

// Where a batch writes when no folder was chosen: "compressed" inside the
// folder the first image was found in when that was a dropped (or named)
// folder, however deep the image lies in it; else "compressed" beside the
// image. Walks pass over folders named "compressed".
std::filesystem::path defaultOutputFolder(const std::filesystem::path& firstImage,
                                          const std::filesystem::path& root);

// Why outputs cannot be written into `folder`, checked for this process's
// effective user before anything is converted: the system's error
// (permission, read-only file system, not a folder, not there). With
// `mayCreate`, a folder that is not there yet is fine when the nearest
// folder above it that is there lets it be made. Empty when it can be used.
[[nodiscard]] std::error_code outputFolderError(const std::filesystem::path& folder,
                                                bool mayCreate);

// "{base}.{ext}" in directory, or the first free "{base}-{n}.{ext}" for
// n = 1, 2, …. A name is taken when anything stands there, a folder or even a
// dangling link, so the result never writes through someone else's link.
// `alsoTaken`, when given, marks further names as taken (names reserved for
// other conversions of the same batch). A name longer than the file system
// allows keeps its number and extension and loses the end of its base, cut
// between characters. Throws FileSystemError when the folder cannot be looked
// into (the system's reason) or after 100,000 taken numbers.
using NameFilter = std::function<bool(const std::filesystem::path&)>;
std::filesystem::path uniqueOutputURL(const std::filesystem::path& directory,
                                      const std::filesystem::path& baseName, const QString& ext,
                                      const NameFilter& alsoTaken = {});

// "{prefix}-{number}.{ext}" (just "{number}.{ext}" for an empty prefix),
// made unique like uniqueOutputURL; a long prefix is cut before the number. number = start + index,
// where start is startNumber parsed as an optional sign and ASCII digits (1 when it does not
// parse), zero-padded to the length of startNumber.
std::filesystem::path sequentialOutputURL(const std::filesystem::path& directory,
                                          const QString& prefix, qint64 index,
                                          const QString& startNumber, const QString& ext,
                                          const NameFilter& alsoTaken = {});

// The zero-padded number text of sequentialOutputURL.
QString sequentialNumberText(const QString& startNumber, qint64 index);

// Creates the folder and its missing parents unless something (folder or
// file) already stands at the path. Returns the file system's error.
[[nodiscard]] std::error_code ensureDirectory(const std::filesystem::path& directory);

// A byte count as a file manager shows it: "512 bytes", "1.5 kB", "12.3 MB"
// (decimal units), in the default locale.
QString formatFileSize(qint64 bytes);

// The local path a file URL names, byte for byte (percent-encoded bytes that
// are not UTF-8 stay as they are). Nothing for URLs that are not local files.
std::optional<std::filesystem::path> localPathFromUrl(const QUrl& url);
// The file URL of an absolute path, every byte kept: localPathFromUrl() of
// the result gives the path back, whatever its encoding.
QUrl urlFromLocalPath(const std::filesystem::path& path);

// A path as text for display; undecodable bytes become U+FFFD.
QString displayPath(const std::filesystem::path& path);

}  // namespace quorvane::core::FileService
