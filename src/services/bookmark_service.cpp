#include "services/bookmark_service.h"

#include <unistd.h>

namespace quorvane::core {

namespace fs = std::filesystem;

BookmarkService::BookmarkService(std::shared_ptr<QSettings> store)
    : m_store(std::move(store)), m_recent(m_store) {
  Q_ASSERT(m_store);
}

BookmarkService::~BookmarkService() { deactivate(); }

std::optional<QByteArray> BookmarkService::createBookmark(const fs::path& folder) {
  std::error_code error;
  if (!folder.is_absolute() || !fs::is_directory(folder, error)) return std::nullopt;
  const std::string bytes = folder.lexically_normal().native();
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<BookmarkService::Resolved> BookmarkService::resolveBookmark(const QByteArray& data) {
  const fs::path folder(data.toStdString());
  std::error_code error;
  if (!folder.is_absolute() || !fs::is_directory(folder, error)) return std::nullopt;
  return Resolved{folder, false};
}

bool BookmarkService::startAccessing(const fs::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

QByteArray BookmarkService::bookmarkData() const {
  const QVariant value = m_store->value(QLatin1String(kBookmarkKey));
  // The store writes bytes as @ByteArray(…); a hand-edited plain path reads
  // back as text, which is taken as its UTF-8 bytes.
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray();
  if (value.typeId() == QMetaType::QString) return value.toString().toUtf8();
  return {};
}

void BookmarkService::setBookmarkData(const QByteArray& data) {
  m_store->setValue(QLatin1String(kBookmarkKey), data);
}

void BookmarkService::deactivate() {
  // Nothing to release on Linux; forgetting the folder is the whole job.
  m_accessingScopedURL.reset();
}

void BookmarkService::saveBookmark(const fs::path& folder) {
  if (auto data = createBookmark(folder)) setBookmarkData(*data);
}

std::optional<fs::path> BookmarkService::activate() {
  deactivate();
  const QByteArray data = bookmarkData();
  if (data.isEmpty()) return std::nullopt;
  const auto resolved = resolveBookmark(data);
  if (!resolved || !startAccessing(resolved->folder)) return std::nullopt;
  m_accessingScopedURL = resolved->folder;
  if (resolved->stale) saveBookmark(resolved->folder);
  m_recent.remember(resolved->folder);
  return resolved->folder;
}

std::optional<fs::path> BookmarkService::setDirectory(const fs::path& folder) {
  const QByteArray previous = bookmarkData();
  saveBookmark(folder);
  if (auto result = activate()) return result;
  setBookmarkData(previous);
  return activate();
}

std::optional<fs::path> BookmarkService::rememberedFolder() const {
  const QByteArray data = bookmarkData();
  const fs::path folder(data.toStdString());
  if (data.isEmpty() || !folder.is_absolute()) return std::nullopt;
  return folder;
}

void BookmarkService::clear() {
  deactivate();
  setBookmarkData(QByteArray());
}

}  // namespace quorvane::core
