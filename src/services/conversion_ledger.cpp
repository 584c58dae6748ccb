#include "services/conversion_ledger.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "codec/unique_fd.h"
#include "services/atomic_file.h"
#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/ledger_file.h"
#include "services/ledger_line.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// A ledger this short is rewritten whole at every save (cheap); a longer
// one gets the batch's lines appended, and is rewritten only once a quarter
// of it is known to be of no use.
constexpr std::size_t kAlwaysRewrittenLines = 10'000;

std::error_code lastError() {
  return {errno, std::generic_category()};
}

QString tr(const char* text) {
  return QCoreApplication::translate("ConversionLedger", text);
}

struct ContentKey {
  std::array<std::uint8_t, 32> hash;
  std::uint64_t settings;
  bool operator==(const ContentKey&) const = default;
};
// Every byte counts: the file is not ours alone, and hashes that share
// their first bytes (by hand, or on purpose) must not share a bucket.
std::uint64_t mixed(std::uint64_t value) {
  value ^= value >> 30;
  value *= 0xBF58476D1CE4E5B9ull;
  value ^= value >> 27;
  value *= 0x94D049BB133111EBull;
  return value ^ (value >> 31);
}
struct ContentKeyHash {
  std::size_t operator()(const ContentKey& key) const {
    std::uint64_t hash = mixed(key.settings);
    for (std::size_t at = 0; at < key.hash.size(); at += sizeof(std::uint64_t)) {
      std::uint64_t word = 0;
      std::memcpy(&word, key.hash.data() + at, sizeof word);
      hash = mixed(hash ^ word);
    }
    return static_cast<std::size_t>(hash);
  }
};

// The line an input replaces: same input, same settings.
struct InputKey {
  std::string_view input;
  std::uint64_t settings;
  bool operator==(const InputKey&) const = default;
};
struct InputKeyHash {
  std::size_t operator()(const InputKey& key) const {
    return std::hash<std::string_view>()(key.input) ^ (key.settings * 0x9E3779B97F4A7C15ull);
  }
};
std::string inputKeyText(const LedgerLine& line) {
  std::string key = line.input;
  key.push_back('\0');
  return key.append(std::to_string(line.settings));
}

// Why a folder's file is not used.
QString fileWarning(const QString& where, LedgerFile::State state, const std::error_code& error) {
  switch (state) {
    case LedgerFile::State::NotRegular:
      return tr("The record of earlier conversions in %1 is not a regular file; it is left "
                "alone.")
          .arg(where);
    case LedgerFile::State::TooLarge:
      return tr("The record of earlier conversions in %1 is too large to read; it is left "
                "alone.")
          .arg(where);
    default:
      return tr("The record of earlier conversions in %1 could not be read: %2")
          .arg(where, systemErrorText(error));
  }
}

std::optional<ContentKey> contentKey(const QByteArray& hash, const QByteArray& settings) {
  const auto bytes = parseContentHash(std::string_view(hash.constData(), hash.size()));
  const auto fingerprint =
      parseSettingsFingerprint(std::string_view(settings.constData(), settings.size()));
  if (!bytes || !fingerprint) return std::nullopt;
  return ContentKey{*bytes, *fingerprint};
}

}  // namespace

struct ConversionLedger::Folder {
  std::vector<LedgerLine> lines;  // [0, loaded) as read, then what this batch recorded
  std::size_t loaded = 0;
  // The last line of each content, and for every line the one before it of
  // the same content (kNone for the first): one lookup per line read.
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::unordered_map<ContentKey, std::size_t, ContentKeyHash> byContent;
  std::vector<std::size_t> earlierOfContent;
  std::unordered_map<std::string, std::size_t> recordedByInput;
  std::optional<LedgerFileIdentity> readFrom;  // the file read, when there was one
  bool leftAlone = false;                      // not ours to replace
  bool changed = false;                        // recorded into since the last save
  bool damaged = false;                        // lines that did not read, or foreign
  // Lines read that are known to be of no use: a second line of the same
  // content, one whose output is gone.
  std::size_t repeated = 0;
  std::unordered_set<std::size_t> stale;

  void index(std::size_t line) {
    const ContentKey key{lines[line].contentHash, lines[line].settings};
    const auto [last, fresh] = byContent.try_emplace(key, line);
    earlierOfContent.push_back(fresh ? kNone : last->second);
    if (!fresh) {
      if (line < loaded) ++repeated;
      last->second = line;
    }
  }
  bool rewriteAtSave() const {
    return !readFrom || damaged || loaded <= kAlwaysRewrittenLines ||
           (repeated + stale.size()) * 4 >= loaded;
  }
  // A recorded line that a later one of the same input replaced.
  static bool superseded(const LedgerLine& line) { return line.output.empty(); }
};

ConversionLedger::ConversionLedger(std::chrono::milliseconds lockWait) : m_lockWait(lockWait) {}
ConversionLedger::~ConversionLedger() = default;

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
  // Auto with JPEG XL among the candidates may choose differently.
  if (autoFormat && options.autoJpegXl) text += QStringLiteral(";jxl");
  // Best effort may publish a slower encode of the same quality.
  if (autoFormat && options.autoBestEffort) text += QStringLiteral(";best");
  // Same as Original: the format is each input's own.
  if (sameFormat) text += QStringLiteral(";same");
  if (options.lossless) text += QStringLiteral(";lossless");
  // A size limit may lower the quality.
  if (options.maxFileSize) text += QStringLiteral(";max%1").arg(*options.maxFileSize);
  return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
}

QByteArray ConversionLedger::contentHash(const fs::path& file) {
  QFile in(QFile::decodeName(QByteArray::fromStdString(file.native())));
  if (!in.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&in)) return {};
  return hash.result().toHex();
}

ConversionLedger::Folder& ConversionLedger::load(const fs::path& folder) {
  auto& slot = m_folders[folder];
  if (slot) return *slot;
  slot = std::make_unique<Folder>();
  Folder& loaded = *slot;
  const QString where = FileService::displayPath(folder);
  // Shared with other readers, not with a batch appending its lines; read
  // anyway when that takes too long (a torn last line is then ignored).
  codec::UniqueFd directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.valid()) lockFolder(directory.get(), LOCK_SH, m_lockWait);
  const LedgerFile file = openLedgerFile(folder / kFileName, O_RDONLY, kMaxFileBytes);
  std::error_code error = file.error;
  std::optional<std::string> text;
  if (file.state == LedgerFile::State::Regular) {
    text = readLedgerFile(file.fd.get(), file.identity.size, error);
  }
  directory.reset();
  if (file.state == LedgerFile::State::Absent) return loaded;
  if (file.state != LedgerFile::State::Regular || !text) {
    loaded.leftAlone = true;
    m_warnings << fileWarning(where, file.state, error);
    return loaded;
  }
  LedgerText parsed = parseLedgerText(*text);
  text.reset();
  loaded.damaged = parsed.foreign || parsed.malformedLines > 0;
  if (loaded.damaged) {
    m_warnings << tr("The record of earlier conversions in %1 is damaged; what could not be "
                     "read is ignored.")
                      .arg(where);
  }
  loaded.readFrom = file.identity;
  loaded.lines = std::move(parsed.lines);
  loaded.loaded = loaded.lines.size();
  loaded.byContent.reserve(loaded.lines.size());
  loaded.earlierOfContent.reserve(loaded.lines.size());
  for (std::size_t i = 0; i < loaded.lines.size(); ++i) loaded.index(i);
  return loaded;
}

std::optional<ConversionLedger::Entry> ConversionLedger::find(const fs::path& folder,
                                                              const QByteArray& contentHash,
                                                              const QByteArray& settings) {
  const auto key = contentKey(contentHash, settings);
  if (!key) return std::nullopt;
  std::lock_guard lock(m_mutex);
  Folder& ledger = load(folder);
  const auto last = ledger.byContent.find(*key);
  // The latest line first: its output is the likeliest to be there still.
  for (std::size_t at = last == ledger.byContent.end() ? Folder::kNone : last->second;
       at != Folder::kNone; at = ledger.earlierOfContent[at]) {
    const LedgerLine& line = ledger.lines[at];
    if (Folder::superseded(line)) continue;
    std::error_code error;
    const auto size = fs::file_size(folder / line.output, error);
    if (error || static_cast<std::int64_t>(size) != line.outputSize) {
      if (at < ledger.loaded) ledger.stale.insert(at);
      continue;
    }
    return Entry{line.input, line.inputSize, line.inputModifiedNs, contentHash,
                 settings,   line.output,    line.outputSize};
  }
  return std::nullopt;
}

void ConversionLedger::record(const fs::path& folder, Entry entry) {
  const auto key = contentKey(entry.contentHash, entry.settings);
  if (!key) return;
  LedgerLine line{std::move(entry.input), entry.inputSize,         entry.inputModifiedNs, key->hash,
                  key->settings,          std::move(entry.output), entry.outputSize};
  // Only what the next batch reads back as it was.
  std::string text;
  appendLedgerLine(text, line);
  text.pop_back();
  if (parseLedgerLine(text) != line) return;
  std::lock_guard lock(m_mutex);
  Folder& ledger = load(folder);
  const auto [earlier, fresh] = ledger.recordedByInput.try_emplace(inputKeyText(line));
  if (!fresh) ledger.lines[earlier->second].output.clear();
  earlier->second = ledger.lines.size();
  ledger.lines.push_back(std::move(line));
  ledger.index(ledger.lines.size() - 1);
  ledger.changed = true;
}

QStringList ConversionLedger::save() {
  std::lock_guard lock(m_mutex);
  for (auto& [folder, ledger] : m_folders) {
    if (!ledger->changed || ledger->leftAlone) continue;
    if (auto warning = saveFolder(folder, *ledger)) m_warnings << *warning;
    ledger->changed = false;  // saved or not, not tried again for the same lines
  }
  QStringList warnings;
  warnings.swap(m_warnings);
  return warnings;
}

std::optional<QString> ConversionLedger::saveFolder(const fs::path& folder, Folder& ledger) {
  const QString where = FileService::displayPath(folder);
  const auto failed = [&](const std::error_code& error) {
    return tr("The record of conversions in %1 could not be saved: %2")
        .arg(where, systemErrorText(error));
  };
  // Locked against another process saving into the same folder; what it
  // wrote since we read is kept, ours replaces lines of the same inputs.
  codec::UniqueFd directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!directory.valid()) return failed(lastError());
  switch (lockFolder(directory.get(), LOCK_EX, m_lockWait)) {
    case FolderLock::Taken:
      break;
    case FolderLock::Busy:
      return tr("The record of conversions in %1 could not be saved: another conversion kept "
                "it locked.")
          .arg(where);
    case FolderLock::Failed:
      return failed(lastError());
  }
  const LedgerFile current = openLedgerFile(folder / kFileName, O_RDWR | O_APPEND, kMaxFileBytes);
  if (current.state != LedgerFile::State::Regular && current.state != LedgerFile::State::Absent) {
    return fileWarning(where, current.state, current.error);
  }
  const std::span<const LedgerLine> recorded = std::span(ledger.lines).subspan(ledger.loaded);
  // The batch's lines go at the end of a file that ends a line, when it
  // needs no tidying: a long ledger is not rewritten for a few lines.
  char last = 0;
  if (current.state == LedgerFile::State::Regular && !ledger.rewriteAtSave() &&
      current.identity.size > 0 &&
      ::pread(current.fd.get(), &last, 1, current.identity.size - 1) == 1 && last == '\n') {
    std::string text;
    for (const LedgerLine& line : recorded) {
      struct stat info {};
      if (!Folder::superseded(line) &&
          ::fstatat(directory.get(), line.output.c_str(), &info, 0) == 0) {
        appendLedgerLine(text, line);
      }
    }
    const auto error = appendToLedgerFile(current.fd.get(), current.identity.size, text);
    return error ? std::optional(failed(error)) : std::nullopt;
  }
  std::vector<LedgerLine> reread;
  std::span<const LedgerLine> base;
  if (current.state == LedgerFile::State::Regular) {
    if (ledger.readFrom == current.identity) {
      base = std::span(ledger.lines).first(ledger.loaded);
    } else {
      std::error_code error;
      const auto text = readLedgerFile(current.fd.get(), current.identity.size, error);
      if (!text) return failed(error);  // not replaced: it may hold what we could not read
      reread = parseLedgerText(*text).lines;
      base = reread;
    }
  }
  std::unordered_set<InputKey, InputKeyHash> replaced;
  replaced.reserve(recorded.size());
  for (const LedgerLine& line : recorded) replaced.insert({line.input, line.settings});
  // Entries whose output is gone are of no use any more.
  const auto names = namesIn(directory.get());
  const auto present = [&](const LedgerLine& line) {
    return !Folder::superseded(line) && (!names || names->contains(line.output));
  };
  std::string text(kLedgerHeader);
  text += '\n';
  text.reserve(base.size() * 160);
  for (const LedgerLine& line : base) {
    if (present(line) && !replaced.contains({line.input, line.settings})) {
      appendLedgerLine(text, line);
    }
  }
  for (const LedgerLine& line : recorded) {
    if (present(line)) appendLedgerLine(text, line);
  }
  if (const auto error = replaceFileAtomically(folder / kFileName, text)) return failed(error);
  return std::nullopt;
}

}  // namespace quorvane::core
