// Small files for tests: images of a given pixel size written without any
// image library, and a scratch folder that cleans up after itself.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/numbered.h"

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace quorvane::test {

// An uncompressed 24-bit BMP of width x height, filled with one colour.
void writeBmp(const std::filesystem::path& path, int width, int height);
// A file holding exactly `bytes`.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// The names in a folder, sorted; none when it cannot be read.
std::vector<std::string> filesIn(const std::filesystem::path& folder);

// A fresh temporary folder as a path.
class ScratchDir {
 public:
  ScratchDir();
  // Removes the folder byte for byte: QTemporaryDir leaves behind names
  // that are not UTF-8.
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  QTemporaryDir m_dir;
  std::filesystem::path m_path;
};

}  // namespace quorvane::test
