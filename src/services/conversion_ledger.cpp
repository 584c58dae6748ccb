#include "services/conversion_ledger.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "codec/image_codec.h"
#include "codec/unique_fd.h"
#include "services/file_service.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "# quorvane ledger 1";

// Paths and names as percent-encoded bytes: a tab or a newline in a file
// name cannot break a line.
std::string encode(const std::string& bytes) {
  return QByteArray::fromStdString(bytes).toPercentEncoding("/").toStdString();
}
std::string decode(const std::string& text) {
  return QByteArray::fromPercentEncoding(QByteArray::fromStdString(text)).toStdString();
}

std::optional<qint64> number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::size_t used = 0;
  try {
    const long long value = std::stoll(text, &used);
    if (used != text.size()) return std::nullopt;
    return value;
  } catch (...) {
    return std::nullopt;
  }
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

QByteArray ConversionLedger::settingsFingerprint(OutputFormat format, int quality,
                                                 std::optional<int> maxWidth,
                                                 std::optional<int> maxHeight,
                                                 const OutputOptions& options, bool autoFormat,
                                                 bool sameFormat) {
  QString text = QStringLiteral("%1;q%2;w%3;h%4;m%5;c%6%7")
                     .arg(rawValue(format))
                     .arg(quality)
                     .arg(maxWidth.value_or(0))
                     .arg(maxHeight.value_or(0))
                     .arg(options.keepMetadata)
                     .arg(options.keepColorProfile)
                     // Only what changes the bytes: older entries stay valid.
                     .arg(options.keepAlpha && format == OutputFormat::Png ? QStringLiteral(";a1")
                                                                           : QString());
  // Auto: the quality is a target, the format whichever won.
  if (autoFormat) text += QStringLiteral(";auto");
  // Same as Original: the format is each input's own.
  if (sameFormat) text += QStringLiteral(";same");
  if (options.lossless) text += QStringLiteral(";lossless");
  return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
}

QByteArray ConversionLedger::contentHash(const fs::path& file) {
  QFile in(QFile::decodeName(QByteArray::fromStdString(file.native())));
  if (!in.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&in)) return {};
  return hash.result().toHex();
}

std::vector<ConversionLedger::Entry> ConversionLedger::parse(const std::string& text,
                                                             bool& damaged) {
  std::vector<Entry> entries;
  std::istringstream in(text);
  std::string line;
  damaged = false;
  if (!std::getline(in, line) || line != kHeader) {
    damaged = !text.empty();
    return entries;
  }
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::istringstream columns(line);
    for (std::string field; std::getline(columns, field, '\t');) fields.push_back(field);
    const auto inputSize = fields.size() == 7 ? number(fields[1]) : std::nullopt;
    const auto modified = fields.size() == 7 ? number(fields[2]) : std::nullopt;
    const auto outputSize = fields.size() == 7 ? number(fields[6]) : std::nullopt;
    if (!inputSize || !modified || !outputSize || fields[3].empty() || fields[5].empty()) {
      damaged = true;  // a torn or foreign line: the rest still counts
      continue;
    }
    entries.push_back({decode(fields[0]), *inputSize, *modified,
                       QByteArray::fromStdString(fields[3]), QByteArray::fromStdString(fields[4]),
                       decode(fields[5]), *outputSize});
  }
  return entries;
}

std::string ConversionLedger::format(const std::vector<Entry>& entries) {
  std::string text(kHeader);
  text += '\n';
  for (const Entry& e : entries) {
    text += encode(e.input) + '\t' + std::to_string(e.inputSize) + '\t' +
            std::to_string(e.inputModifiedNs) + '\t' + e.contentHash.toStdString() + '\t' +
            e.settings.toStdString() + '\t' + encode(e.output) + '\t' +
            std::to_string(e.outputSize) + '\n';
  }
  return text;
}

ConversionLedger::Folder& ConversionLedger::load(const fs::path& folder) {
  const auto found = m_folders.find(folder);
  if (found != m_folders.end()) return found->second;
  Folder& loaded = m_folders[folder];
  bool damaged = false;
  loaded.entries = parse(readFile(folder / kFileName), damaged);
  if (damaged) {
    m_warnings << QCoreApplication::translate("ConversionLedger",
                                              "The record of earlier conversions in %1 is damaged; "
                                              "what could not be read is ignored.")
                      .arg(FileService::displayPath(folder));
  }
  return loaded;
}

std::optional<ConversionLedger::Entry> ConversionLedger::find(const fs::path& folder,
                                                              const QByteArray& contentHash,
                                                              const QByteArray& settings) {
  if (contentHash.isEmpty()) return std::nullopt;
  std::lock_guard lock(m_mutex);
  for (const Entry& entry : load(folder).entries) {
    if (entry.contentHash != contentHash || entry.settings != settings) continue;
    std::error_code error;
    const auto size = fs::file_size(folder / entry.output, error);
    if (!error && static_cast<qint64>(size) == entry.outputSize) return entry;
  }
  return std::nullopt;
}

void ConversionLedger::record(const fs::path& folder, Entry entry) {
  std::lock_guard lock(m_mutex);
  Folder& ledger = load(folder);
  std::erase_if(ledger.entries, [&](const Entry& e) {
    return e.input == entry.input && e.settings == entry.settings;
  });
  ledger.entries.push_back(std::move(entry));
  ledger.changed = true;
}

QStringList ConversionLedger::save() {
  std::lock_guard lock(m_mutex);
  for (auto& [where, ledger] : m_folders) {
    if (!ledger.changed) continue;
    const fs::path& folder = where;  // Clang 14 cannot capture a structured binding
    // Locked against another process saving into the same folder; what it
    // wrote since we read is kept, ours replaces lines of the same inputs.
    codec::UniqueFd directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const bool locked = directory.valid() && ::flock(directory.get(), LOCK_EX) == 0;
    bool damaged = false;
    std::vector<Entry> merged = parse(readFile(folder / kFileName), damaged);
    for (const Entry& entry : ledger.entries) {
      std::erase_if(merged, [&](const Entry& e) {
        return e.input == entry.input && e.settings == entry.settings;
      });
    }
    merged.insert(merged.end(), ledger.entries.begin(), ledger.entries.end());
    // Entries whose output is gone are of no use any more.
    std::erase_if(merged, [&](const Entry& e) { return !fs::exists(folder / e.output); });
    const std::string text = format(merged);
    // Named like a staging file, so one left by a crash is swept like one.
    const fs::path temporary = folder / (".quorvane-" + std::to_string(::getpid()) + "-ledger.tmp");
    const bool written = locked && codec::writeBytes(temporary, text).ok() &&
                         ::rename(temporary.c_str(), (folder / kFileName).c_str()) == 0;
    if (!written) {
      ::unlink(temporary.c_str());
      m_warnings << QCoreApplication::translate(
                        "ConversionLedger", "The record of conversions in %1 could not be saved.")
                        .arg(FileService::displayPath(folder));
    }
    ledger.changed = false;
  }
  QStringList warnings;
  warnings.swap(m_warnings);
  return warnings;
}

}  // namespace quorvane::core
