#include "viewmodels/conversion_view_model.h"

#include <QThread>
#include <algorithm>

#include "services/file_service.h"
#include "services/lossless_error.h"

namespace quorvane::core {

namespace fs = std::filesystem;

void ConversionViewModel::Totals::count(const ImageItem& item, int sign) {
  original += sign * item.originalSize();
  compressed += sign * item.compressedSize().value_or(0);
  if (item.status().isFinished()) finished += sign;
  switch (item.status().kind) {
    case ConversionStatus::Kind::Completed:
      completed += sign;
      convertedOriginal += sign * item.originalSize();
      break;
    case ConversionStatus::Kind::Error:
      failed += sign;
      break;
    case ConversionStatus::Kind::Skipped:
      skipped += sign;
      break;
    case ConversionStatus::Kind::KeptOriginal:
      keptOriginal += sign;
      convertedOriginal += sign * item.originalSize();
      break;
    case ConversionStatus::Kind::Waiting:
    case ConversionStatus::Kind::Processing:
      break;
  }
}

ConversionViewModel::ConversionViewModel(std::unique_ptr<SettingsPersistence> persistence,
                                         std::unique_ptr<BookmarkService> bookmarks,
                                         DesktopIntegration& desktop, const Converter* converter,
                                         QObject* parent)
    : QObject(parent),
      m_persistence(std::move(persistence)),
      m_presets(m_persistence ? std::optional<PresetStore>(m_persistence->store()) : std::nullopt),
      m_bookmarks(std::move(bookmarks)),
      m_desktop(desktop),
      m_ownConverter(converter ? nullptr : std::make_unique<ImageConverter>()),
      m_converter(converter ? *converter : *m_ownConverter) {
  connect(&m_intake, &ImageIntake::found, this, &ConversionViewModel::imagesFound);
  connect(&m_intake, &ImageIntake::unreadable, this, &ConversionViewModel::unreadableFound);
  connect(&m_intake, &ImageIntake::requestFinished, this, [this] { ++m_request; });
  connect(&m_intake, &ImageIntake::busyChanged, this, &ConversionViewModel::isAddingFilesChanged);
  connect(&m_intake, &ImageIntake::skipped, this, &ConversionViewModel::outputImagesSkipped);
}

ConversionViewModel::~ConversionViewModel() {
  // The batch first: its results would otherwise reach a half-destroyed
  // controller.
  m_batch.reset();
  m_finishedBatch.reset();
}

std::optional<std::size_t> ConversionViewModel::rowOf(const QUuid& id) const {
  const auto found = m_rowOf.constFind(id);
  if (found == m_rowOf.constEnd()) return std::nullopt;
  return *found;
}

BatchEntry ConversionViewModel::entryFor(const ImageItem& item) const {
  return {item.id(),
          item.url(),
          item.pixelWidth(),
          item.pixelHeight(),
          item.relativeFolder(),
          item.qualityBoost(),
          item.chosenQuality()};
}

std::optional<QString> ConversionViewModel::exportReport(const fs::path& file) const {
  return writeReport(file, m_report);
}

// --- The list ---------------------------------------------------------------

fs::path ConversionViewModel::outputFolder() const {
  if (m_batch) return m_batch->settings().folder;
  if (m_settings.outputDirectory) return *m_settings.outputDirectory;
  if (m_items.empty()) return {};
  const ImageItem& first = m_items.front();
  return FileService::defaultOutputFolder(fs::absolute(first.url()), first.root());
}

void ConversionViewModel::addFiles(const std::vector<fs::path>& locations) {
  Q_ASSERT(QThread::currentThread() == thread());
  if (locations.empty()) return;
  // A folder dropped again after a batch must not bring back its own
  // outputs: folders this program writes into are not walked. (A folder
  // named directly is always walked.) Runs on the walking thread: a copy.
  auto outputFolders = m_outputFolders;
  if (m_settings.outputDirectory) outputFolders.insert(*m_settings.outputDirectory);
  m_intake.enqueue(locations, [outputFolders = std::move(outputFolders)](const fs::path& folder) {
    return folder.filename() == "compressed" || outputFolders.count(folder) > 0;
  });
}

void ConversionViewModel::imagesFound(const std::vector<ImageFacts>& images) {
  const std::size_t first = m_items.size();
  std::vector<BatchEntry> joining;
  for (const ImageFacts& facts : images) {
    // Listed before this call: skipped. Named twice within it: listed twice.
    Listing& listing = m_listed.try_emplace(facts.url.native()).first->second;
    const int addedNow = listing.request == m_request ? listing.addedByRequest : 0;
    if (listing.count - addedNow > 0) continue;
    ++listing.count;
    listing.addedByRequest = addedNow + 1;
    listing.request = m_request;
    m_items.emplace_back(facts);
    m_rowOf.insert(m_items.back().id(), m_items.size() - 1);
    m_totals.count(m_items.back(), +1);
    // A running batch takes files added meanwhile into the same run.
    if (m_batch) {
      joinBatch(m_items.back());
      joining.push_back(entryFor(m_items.back()));
      paceJoins(joining.back());
    }
  }
  if (m_items.size() == first) return;
  emit itemsInserted(static_cast<int>(first), static_cast<int>(m_items.size() - first));
  emit totalsChanged();
  if (m_batch && !joining.empty()) {
    Progress progress = m_progress;
    progress.total += static_cast<int>(joining.size());
    m_batch->append(std::move(joining));
    setProgress(progress);
  }
}

void ConversionViewModel::removeItem(const QUuid& id) {
  const auto row = rowOf(id);
  if (!row) return;
  if (m_batch && m_batch->remove(id)) {
    m_pace.remove(id);
    Progress progress = m_progress;
    --progress.total;
    setProgress(progress);
  }
  emit itemsAboutToBeRemoved(static_cast<int>(*row), 1);
  const ImageItem& item = m_items[*row];
  m_totals.count(item, -1);
  const auto listing = m_listed.find(item.url().native());
  if (listing != m_listed.end() && --listing->second.count <= 0) m_listed.erase(listing);
  m_rowOf.remove(id);
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(*row));
  for (std::size_t i = *row; i < m_items.size(); ++i) m_rowOf[m_items[i].id()] = i;
  emit itemsRemoved(static_cast<int>(*row), 1);
  emit totalsChanged();
}

void ConversionViewModel::clearItems() {
  m_intake.cancel();
  if (m_batch) {
    m_batch->removeAll();
    for (const ImageItem& item : m_items) {
      if (item.status().kind == ConversionStatus::Kind::Waiting) m_pace.remove(item.id());
    }
    // What still converts stays counted until it ends.
    setProgress({m_progress.done, m_progress.done + m_batch->running(), m_progress.elapsedMs});
  }
  if (m_items.empty()) return;
  emit itemsAboutToBeCleared();
  m_items.clear();
  m_rowOf.clear();
  m_listed.clear();
  ++m_request;
  m_totals = {};
  emit itemsCleared();
  emit totalsChanged();
}

void ConversionViewModel::removeFinished() {
  std::vector<QUuid> finished;
  for (const ImageItem& item : m_items) {
    const auto kind = item.status().kind;
    if (kind == ConversionStatus::Kind::Completed || kind == ConversionStatus::Kind::KeptOriginal) {
      finished.push_back(item.id());
    }
  }
  for (const QUuid& id : finished) removeItem(id);
}

void ConversionViewModel::openOutput(const QUuid& id) {
  const auto row = rowOf(id);
  if (row && m_items[*row].outputURL()) m_desktop.openFile(*m_items[*row].outputURL());
}

void ConversionViewModel::showOutputInFileManager(const QUuid& id) {
  const auto row = rowOf(id);
  if (row && m_items[*row].outputURL()) m_desktop.showInFileManager(*m_items[*row].outputURL());
}

void ConversionViewModel::openOutputFolder() {
  std::optional<fs::path> folder = m_settings.outputDirectory;
  if (!folder) {
    for (const auto& item : m_items) {
      if (item.outputURL()) {
        folder = item.outputURL()->parent_path();
        break;
      }
    }
  }
  if (folder) m_desktop.openFolder(*folder);
}

}  // namespace quorvane::core
