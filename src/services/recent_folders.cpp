#include "services/recent_folders.h"

#include <QVariantList>
#include <algorithm>
#include <system_error>

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const QVariant& entry) {
  switch (entry.typeId()) {
    case QMetaType::QByteArray:
      return fs::path(entry.toByteArray().toStdString());
    case QMetaType::QString:
      return fs::path(entry.toString().toUtf8().toStdString());
    default:
      return {};
  }
}

// One spelling per folder: "/a/b/.", "/a/b/" and "/a//b" are all "/a/b".
fs::path normalFolder(const fs::path& folder) {
  fs::path normal = folder.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  return normal;
}

}  // namespace

RecentFolders::RecentFolders(std::shared_ptr<QSettings> store) : m_store(std::move(store)) {
  Q_ASSERT(m_store);
}

std::vector<fs::path> RecentFolders::stored() const {
  const QVariant value = m_store->value(QLatin1String(kKey));
  QVariantList entries;
  if (value.typeId() == QMetaType::QVariantList) {
    entries = value.toList();
  } else if (value.typeId() == QMetaType::QStringList) {
    for (const QString& text : value.toStringList()) entries.append(text);
  } else {
    entries.append(value);
  }
  std::vector<fs::path> folders;
  for (const QVariant& entry : entries) {
    const fs::path folder = normalFolder(pathOf(entry));
    if (!folder.is_absolute()) continue;
    if (std::find(folders.begin(), folders.end(), folder) != folders.end()) continue;
    folders.push_back(folder);
    if (folders.size() == kLimit) break;
  }
  return folders;
}

void RecentFolders::store(const std::vector<fs::path>& folders) {
  QVariantList entries;
  for (const fs::path& folder : folders) entries.append(QByteArray::fromStdString(folder.native()));
  m_store->setValue(QLatin1String(kKey), entries);
}

void RecentFolders::remember(const fs::path& folder) {
  if (!folder.is_absolute()) return;
  const fs::path normal = normalFolder(folder);
  std::vector<fs::path> folders = stored();
  folders.erase(std::remove(folders.begin(), folders.end(), normal), folders.end());
  folders.insert(folders.begin(), normal);
  if (folders.size() > kLimit) folders.resize(kLimit);
  store(folders);
}

std::vector<fs::path> RecentFolders::list() {
  std::vector<fs::path> folders = stored();
  const auto gone = [](const fs::path& folder) {
    std::error_code error;
    return !fs::is_directory(folder, error);
  };
  const auto kept = std::remove_if(folders.begin(), folders.end(), gone);
  if (kept != folders.end()) {
    folders.erase(kept, folders.end());
    store(folders);
  }
  return folders;
}

}  // namespace quorvane::core
