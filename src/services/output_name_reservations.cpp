#include "services/output_name_reservations.h"

#include "services/file_service.h"

namespace quorvane::core {

namespace fs = std::filesystem;

fs::path OutputNameReservations::reserveUnique(const fs::path& directory, const fs::path& baseName,
                                               const QString& ext) {
  std::lock_guard lock(m_mutex);
  const fs::path chosen = FileService::uniqueOutputURL(
      directory, baseName, ext,
      [this](const fs::path& candidate) { return m_reserved.count(candidate.native()) > 0; });
  m_reserved.insert(chosen.native());
  return chosen;
}

bool OutputNameReservations::reserve(const fs::path& path) {
  std::lock_guard lock(m_mutex);
  return m_reserved.insert(path.native()).second;
}

bool OutputNameReservations::isReserved(const fs::path& path) const {
  std::lock_guard lock(m_mutex);
  return m_reserved.count(path.native()) > 0;
}

bool OutputNameReservations::isFirstUseOf(const fs::path& directory) {
  std::lock_guard lock(m_mutex);
  return m_folders.insert(directory.native()).second;
}

}  // namespace quorvane::core
