// What a batch converted into each output folder, kept in a small hidden
// file there, so a later batch can leave alone an input it converted before
// with the same settings, as long as that output is still there.
//
// One object per batch, shared by its conversions (thread-safe). A folder's
// file is read the first time the batch asks about that folder and written
// back, merged with what is on disk by then, when the batch saves: the write
// is atomic (a crash leaves the old file or the new one) and locked against
// other processes. A damaged or foreign file is ignored, with a warning.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "models/output_format.h"
#include "models/output_options.h"

namespace quorvane::core {

class ConversionLedger {
 public:
  static constexpr const char* kFileName = ".quorvane-ledger";

  struct Entry {
    std::string input;  // the input's path, as bytes
    qint64 inputSize = 0;
    qint64 inputModifiedNs = 0;
    QByteArray contentHash;  // hex SHA-256 of the input's bytes
    QByteArray settings;     // settingsFingerprint() of its batch
    std::string output;      // the output's file name in the folder
    qint64 outputSize = 0;
  };

  // The settings that shape an output's bytes, as a short hex text.
  static QByteArray settingsFingerprint(OutputFormat format, int quality,
                                        std::optional<int> maxWidth, std::optional<int> maxHeight,
                                        const OutputOptions& options, bool autoFormat = false,
                                        bool sameFormat = false);
  // Hex SHA-256 of a file's bytes; empty when it cannot be read.
  static QByteArray contentHash(const std::filesystem::path& file);

  // The entry of an earlier conversion of this content with these settings
  // whose output is still in `folder` with the size it had.
  std::optional<Entry> find(const std::filesystem::path& folder, const QByteArray& contentHash,
                            const QByteArray& settings);
  // Remembers a conversion into `folder` (replacing one of the same input).
  void record(const std::filesystem::path& folder, Entry entry);
  // Writes every folder recorded into. Returns warnings: files that could
  // not be read or written.
  QStringList save();

  // The file's lines, for tests.
  static std::vector<Entry> parse(const std::string& text, bool& damaged);
  static std::string format(const std::vector<Entry>& entries);

 private:
  struct Folder {
    std::vector<Entry> entries;
    bool changed = false;
  };
  Folder& load(const std::filesystem::path& folder);

  std::mutex m_mutex;
  std::map<std::filesystem::path, Folder> m_folders;
  QStringList m_warnings;
};

}  // namespace quorvane::core
