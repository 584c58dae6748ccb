// What a batch converted into each output folder, kept in a small hidden
// file there, so a later batch can leave alone an input it converted before
// with the same settings, as long as that output is still there.
//
// One object per batch, shared by its conversions (thread-safe). A folder's
// file is read the first time the batch asks about that folder, in one pass,
// and indexed. When the batch saves, its lines are appended to the file and
// flushed (each line is a fact of its own: content, settings, output), or,
// for a short ledger, a damaged one, or one a quarter of which is known to
// be of no use, the file is rewritten whole, merged with what is on disk by
// then, without lines whose output is gone: atomically (a crash leaves the
// old file or the new one). Both are locked against other processes through
// the folder, and reading waits for a batch appending. Lines that do not
// read are dropped, with a warning; a file that is not a regular file (a
// pipe, a link) is neither read nor replaced, with a warning.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "models/output_format.h"
#include "models/output_options.h"

namespace quorvane::core {

class ConversionLedger {
 public:
  static constexpr const char* kFileName = ".quorvane-ledger";
  // A larger file is not read (nor replaced): about five million lines.
  static constexpr std::int64_t kMaxFileBytes = std::int64_t{1} << 30;

  struct Entry {
    std::string input;  // the input's path, as bytes
    qint64 inputSize = 0;
    qint64 inputModifiedNs = 0;
    QByteArray contentHash;  // hex SHA-256 of the input's bytes
    QByteArray settings;     // settingsFingerprint() of its batch
    std::string output;      // the output's file name in the folder
    qint64 outputSize = 0;
  };

  // `lockWait`: how long save() waits for another process saving into the
  // same folder before it gives up on that folder, with a warning.
  explicit ConversionLedger(std::chrono::milliseconds lockWait = std::chrono::seconds(5));
  ~ConversionLedger();
  ConversionLedger(const ConversionLedger&) = delete;
  ConversionLedger& operator=(const ConversionLedger&) = delete;

  // The settings that shape an output's bytes, as a short hex text.
  static QByteArray settingsFingerprint(OutputFormat format, int quality,
                                        std::optional<int> maxWidth, std::optional<int> maxHeight,
                                        const OutputOptions& options, bool autoFormat = false,
                                        bool sameFormat = false);
  // Hex SHA-256 of a file's bytes; empty when it cannot be read.
  static QByteArray contentHash(const std::filesystem::path& file);

  // The entry of an earlier conversion of this content with these settings
  // whose output is still in `folder` with the size it had. Reads the
  // folder's file on the first call for that folder.
  std::optional<Entry> find(const std::filesystem::path& folder, const QByteArray& contentHash,
                            const QByteArray& settings);
  // Remembers a conversion into `folder` (replacing one of the same input
  // and settings). An entry that would not read back (an output that is not
  // a file name of the folder, a hash that is not hex) is not kept.
  void record(const std::filesystem::path& folder, Entry entry);
  // Writes every folder recorded into, dropping entries whose output is
  // gone. Blocks while another process saves there (at most `lockWait`), so
  // not for a GUI thread. Returns warnings: files that could not be read or
  // written, with the reason.
  QStringList save();

 private:
  struct Folder;
  Folder& load(const std::filesystem::path& folder);
  std::optional<QString> saveFolder(const std::filesystem::path& folder, Folder& ledger);

  const std::chrono::milliseconds m_lockWait;
  std::mutex m_mutex;
  std::map<std::filesystem::path, std::unique_ptr<Folder>> m_folders;
  QStringList m_warnings;
};

}  // namespace quorvane::core
