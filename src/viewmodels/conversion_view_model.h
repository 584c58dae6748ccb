// The one controller behind the window: the list of images, the settings and
// their persistence, and the batch. Lives on the main thread; views read its
// state, follow its signals (row by row) and change it only through its
// operations. Finding files and converting them happen off the main thread,
// in an ImageIntake and a BatchRunner.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUuid>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "models/batch_pace.h"
#include "models/conversion_settings.h"
#include "models/image_item.h"
#include "services/batch_report.h"
#include "services/batch_runner.h"
#include "services/bookmark_service.h"
#include "services/image_converter.h"
#include "services/image_intake.h"
#include "services/preset_store.h"
#include "services/settings_persistence.h"
#include "viewmodels/desktop_integration.h"

namespace quorvane::core {

class ConversionViewModel : public QObject {
  Q_OBJECT

 public:
  // A deque: appending never moves the items already listed, so a list of
  // 100,000 grows without a pause.
  using ItemList = std::deque<ImageItem>;

  // Does not read saved settings: settings hold the defaults until
  // loadSavedSettings(). `desktop` (and `converter`, when given) must outlive
  // the controller; without one, it converts with an ImageConverter.
  ConversionViewModel(std::unique_ptr<SettingsPersistence> persistence,
                      std::unique_ptr<BookmarkService> bookmarks, DesktopIntegration& desktop,
                      const Converter* converter = nullptr, QObject* parent = nullptr);
  // Stops the walk, cancels a running batch and waits for its conversions.
  ~ConversionViewModel() override;

  const ItemList& items() const { return m_items; }
  const ConversionSettings& settings() const { return m_settings; }
  bool isConverting() const { return m_isConverting; }
  bool isCancelling() const { return m_isCancelling; }
  // A walk of dropped files and folders is still going on.
  bool isAddingFiles() const { return m_intake.isBusy(); }

  bool hasItems() const { return !m_items.empty(); }
  int completedCount() const { return m_totals.completed; }
  int failedCount() const { return m_totals.failed; }
  // Items not kept (too little saving) or left alone as converted before.
  int skippedCount() const { return m_totals.skipped; }
  // Items whose output would not have been smaller: the original stands.
  int keptOriginalCount() const { return m_totals.keptOriginal; }
  // Every item's input size, converted or not.
  qint64 totalOriginalSize() const { return m_totals.original; }
  // The input sizes of the completed items, to compare with their outputs.
  qint64 convertedOriginalSize() const { return m_totals.convertedOriginal; }
  // The output sizes of the items that have one.
  qint64 totalCompressedSize() const { return m_totals.compressed; }
  bool canStartConversion() const { return hasItems() && !m_isConverting; }
  // Why the settings cannot start a batch (lossless HEIC, …); absent: they can.
  std::optional<QString> startRefusal() const;
  // Every listed item is finished (see ConversionStatus::isFinished): a
  // start converts them all again.
  bool allFinished() const {
    return hasItems() && m_totals.finished == static_cast<int>(m_items.size());
  }

  // Where the running batch writes, else where the next one will: the
  // chosen folder, else "compressed" in the folder the first listed file was
  // found in (or beside it); empty without either.
  std::filesystem::path outputFolder() const;
  // Why the next batch could not write into outputFolder() (the system's
  // reason), checked as a start does.
  struct FolderProblem {
    std::filesystem::path folder;
    QString reason;
  };
  std::optional<FolderProblem> outputFolderProblem() const;
  // Why a folder the user chooses cannot take outputs; nothing when it can.
  static std::optional<QString> unwritableReason(const std::filesystem::path& folder);

  // The running batch: images ended and images in it, and how long it has
  // run (all 0 when none runs), and the time it still needs when a pace is
  // known. Each call moves the time left on: call it as the display
  // refreshes.
  struct Progress {
    int done = 0;
    int total = 0;
    qint64 elapsedMs = 0;
    std::optional<qint64> msLeft{};
  };
  Progress batchProgress() const;

  // Walks the files and folders given off the main thread and appends an
  // item for every image found, in chunks, skipping files listed before the
  // call (compared byte for byte). Returns at once; a second call during a
  // walk is walked after it.
  void addFiles(const std::vector<std::filesystem::path>& locations);
  // Removes the item; its output file stays on disk.
  void removeItem(const QUuid& id);
  // Empties the list and stops a walk that is still adding to it.
  void clearItems();
  // Removes every converted item.
  void removeFinished();
  // Shows the chosen output folder, else the folder of the first converted
  // item, in the file manager; does nothing when there is neither.
  void openOutputFolder();
  // Opens an item's output, or shows it in the file manager; nothing for
  // an item without one.
  void openOutput(const QUuid& id);
  void showOutputInFileManager(const QUuid& id);

  void updateOutputFormat(OutputFormat format);
  void updateAutoFormat();
  void updateSameFormat();
  void updateQuality(int quality);
  // Switching on with items listed fills both maximum sizes with the largest
  // width and height found among them.
  void updateResizeEnabled(bool enabled);
  void updateMaxWidth(std::optional<int> width);
  void updateMaxHeight(std::optional<int> height);
  void updateNamingMode(NamingMode mode);
  // Made safe for a file name first: "/", "\" and ".." become "_".
  void updateNamePrefix(const QString& prefix);
  // Keeps at most six numeric characters (any script); ignored when none.
  void updateNameStartNumber(const QString& text);
  // What is kept besides the pixels and which outputs are kept; saved at once.
  void updateOptions(const OutputOptions& options);
  void loadSavedSettings();
  void setOutputDirectory(const std::filesystem::path& folder);
  void resetOutputDirectory();
  // The output folders chosen last that are still there, newest first (the
  // chosen one among them); saved like the settings. Empty without a
  // bookmark holder.
  std::vector<std::filesystem::path> recentOutputFolders() const {
    return m_bookmarks ? m_bookmarks->recentFolders() : std::vector<std::filesystem::path>();
  }

  // Saved presets: the built-in ones, then the user's (none without a
  // settings store). Applying one sets and saves every setting it holds;
  // the output folder stays. The others are PresetStore's, and emit
  // presetsChanged() when they change what is saved.
  std::vector<Preset> presets() const;
  // The preset the current settings run as (see matchesPreset), the first
  // when several do.
  std::optional<Preset> matchingPreset() const;
  void applyPreset(const Preset& preset);
  PresetStore::Outcome saveCurrentAsPreset(const QString& name);
  PresetStore::Outcome renamePreset(const QString& from, const QString& to);
  PresetStore::Outcome deletePreset(const QString& name);

  // The cleaning rules of the two text settings, for views that echo them.
  static QString sanitizedNamePrefix(const QString& prefix);
  static QString numericPrefix(const QString& text, int maxCharacters);

  // What the window's main button does: converts the items waiting (and the
  // failed ones again), or, when every item is finished, all of them again.
  void startOrConvertAllAgain();
  // Converts every item waiting or failed, several at a time on worker
  // threads; returns at once. Does nothing without items or while a batch
  // runs. conversionFinished() tells the end. Every start first checks the
  // output folder: one that cannot be written starts nothing and is told by
  // outputFolderRefused(); it is never replaced by another.
  void startConversion();
  // After outputFolderRefused() (and a folder chosen since): makes the
  // start that was refused.
  void retryRefusedStart();
  // Asks the running batch to stop: running tools are terminated, waiting
  // items end cancelled. Does nothing when no batch runs.
  void cancelConversion();
  // Converts every item again with the current settings, finished ones
  // included: each row's earlier result is cleared first (the files written
  // stay on disk).
  void convertAllAgain();
  // Converts one image again, 10 above the quality it last had (at most
  // 100), keeping its earlier output; the other images are left as they are.
  void convertAgainAtHigherQuality(const QUuid& id);
  static constexpr int kHigherQualityStep = 10;
  // Converts one image again at `quality` (0..100), which that image keeps
  // from now on instead of the batch's (until Convert All Again); its
  // earlier output stays on disk. Refused as a start is.
  void convertAtQuality(const QUuid& id, int quality);
  // What converts the images: for a trial encode of one of them.
  const Converter& converter() const { return m_converter; }
  // How many conversions run at once; by default the number of CPUs this
  // process may run on, read at each start.
  void setParallelLimit(std::optional<int> limit) { m_parallelLimitOverride = limit; }
  // How much memory the conversions running at once may take by their
  // estimates; by default half of what the system has available, read at
  // each start. A conversion over the budget runs alone.
  void setMemoryBudget(std::optional<qint64> bytes) { m_memoryBudgetOverride = bytes; }
  static int availableCpuCount();

  // What the last batch (or the running one, so far) did with each image,
  // in the order they ended; written out as CSV or JSON by the extension.
  const std::vector<ReportRow>& lastReport() const { return m_report; }
  std::optional<QString> exportReport(const std::filesystem::path& file) const;

 signals:
  // The list, row by row: rows appended; rows about to go and gone; all of
  // them about to go and gone (clear); one row's state.
  void itemsInserted(int first, int count);
  void itemsAboutToBeRemoved(int first, int count);
  void itemsRemoved(int first, int count);
  void itemsAboutToBeCleared();
  void itemsCleared();
  void itemChanged(int row);
  // Counts and sizes changed.
  void totalsChanged();
  void settingsChanged();
  void presetsChanged();
  void isConvertingChanged(bool converting);
  void isCancellingChanged(bool cancelling);
  void isAddingFilesChanged(bool adding);
  // Locations a walk could not read.
  void unreadableFound(const std::vector<quorvane::core::UnreadablePath>& paths);
  // Images a walk left out because they lie in an output folder.
  void outputImagesSkipped(int count);
  // An image of the running batch ended, or one joined or left it.
  void batchProgressChanged();
  // A batch has ended; `cancelled` when it was cancelled.
  void conversionFinished(bool cancelled);
  // A line about the batch that is no image's failure (a ledger that could
  // not be read or written).
  void batchNotice(const QString& text);
  // A start was refused: nothing can be written into `folder` (shown as
  // text), for `reason` (the system's words).
  void outputFolderRefused(const QString& folder, const QString& reason);

 protected:
  void setIsConverting(bool converting);
  void setIsCancelling(bool cancelling);
  void setSettings(ConversionSettings settings);
  // Assigns one field of the settings, notifying only on a real change.
  template <typename T>
  void changeSetting(T ConversionSettings::*field, T value) {
    if (m_settings.*field == value) return;
    m_settings.*field = std::move(value);
    emit settingsChanged();
  }

 private:
  struct Totals {
    int finished = 0;
    int completed = 0;
    int failed = 0;
    int skipped = 0;
    int keptOriginal = 0;
    qint64 original = 0;
    qint64 convertedOriginal = 0;
    qint64 compressed = 0;
    void count(const ImageItem& item, int sign);
    bool operator==(const Totals&) const = default;
  };
  // A start to make once the output folder can be written.
  struct StartRequest {
    enum class Kind { Pending, AllAgain, HigherQuality, ChosenQuality };
    Kind kind;
    QUuid id{};       // the image, for HigherQuality and ChosenQuality
    int quality = 0;  // for ChosenQuality
  };
  // Emits outputFolderRefused() and remembers `request` when the output
  // folder cannot be written.
  bool refusedForItsFolder(StartRequest request);
  BatchSettings batchSettings() const;
  void runBatch();
  // Marks the item as one the running batch converts.
  bool joinBatch(ImageItem& item) const;
  void imagesFound(const std::vector<ImageFacts>& images);
  // Applies `change` to the item, then tells who needs to know.
  template <typename Change>
  void updateItem(std::size_t row, Change&& change);
  std::optional<std::size_t> rowOf(const QUuid& id) const;
  void conversionStarted(const QUuid& id);
  void conversionEnded(const QUuid& id, const ConversionOutcome& outcome);
  void finishBatch(bool cancelled);
  void setProgress(Progress progress);
  // An image joins the running batch (for its pace).
  void paceJoins(const BatchEntry& entry);
  // "webp", "auto", "same": batches of one kind share a pace.
  std::string paceKind() const;
  BatchEntry entryFor(const ImageItem& item) const;

  ItemList m_items;
  QHash<QUuid, std::size_t> m_rowOf;
  // How often each path is listed, and how often the walk request
  // `request` added it (a file named twice in one call is listed twice).
  // Ordered, not hashed: a hash table rehashes all its entries at once as
  // it grows, which held the GUI thread for 29 ms at 85,000 listed files
  // and twice that at twice as many.
  struct Listing {
    int count = 0;
    int addedByRequest = 0;
    std::uint64_t request = 0;
  };
  std::map<std::string, Listing, std::less<>> m_listed;
  std::uint64_t m_request = 1;  // the walk request whose images arrive now
  Totals m_totals;
  ConversionSettings m_settings;
  bool m_isConverting = false;
  bool m_isCancelling = false;
  std::unique_ptr<SettingsPersistence> m_persistence;
  std::optional<PresetStore> m_presets;  // on the persistence's store
  std::unique_ptr<BookmarkService> m_bookmarks;
  DesktopIntegration& m_desktop;
  std::unique_ptr<ImageConverter> m_ownConverter;
  const Converter& m_converter;
  std::optional<int> m_parallelLimitOverride;
  std::optional<qint64> m_memoryBudgetOverride;
  ImageIntake m_intake;
  std::unique_ptr<BatchRunner> m_batch;  // set while a batch runs
  std::unique_ptr<BatchRunner> m_finishedBatch;
  Progress m_progress;
  std::vector<ReportRow> m_report;
  QElapsedTimer m_batchClock;
  // The running batch's pace (its time left moves on as it is read), and
  // each kind of batch's pace in this session ("webp", "auto", "same").
  mutable BatchPace m_pace;
  std::unordered_map<std::string, double> m_paceByKind;
  // Folders batches of this session wrote into: a walk does not list them.
  std::set<std::filesystem::path> m_outputFolders;
  std::optional<StartRequest> m_refusedStart;
};

}  // namespace quorvane::core
