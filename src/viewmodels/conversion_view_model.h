// The one controller behind the window: the list of images, the settings and
// their operations. Lives on the main thread; views read its state, follow its
// signals and change it only through its operations.
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "models/conversion_settings.h"
#include "models/image_item.h"
#include "services/bookmark_service.h"
#include "services/image_converter.h"
#include "services/settings_persistence.h"
#include "viewmodels/desktop_integration.h"

namespace quorvane::core {

class ConversionViewModel : public QObject {
  Q_OBJECT

 public:
  using ItemList = std::vector<std::shared_ptr<ImageItem>>;

  // Does not read saved settings: settings hold the defaults until
  // loadSavedSettings(). Without a persistence and a bookmark service (the
  // command line) nothing is read or saved. `desktop` must outlive the
  // controller.
  ConversionViewModel(std::unique_ptr<SettingsPersistence> persistence,
                      std::unique_ptr<BookmarkService> bookmarks, DesktopIntegration& desktop,
                      ImageConverter converter = ImageConverter(), QObject* parent = nullptr);
  // Cancels a running batch and waits for its conversions to end.
  ~ConversionViewModel() override;

  const ItemList& items() const { return m_items; }
  const ConversionSettings& settings() const { return m_settings; }
  bool isConverting() const { return m_isConverting; }
  bool isCancelling() const { return m_isCancelling; }

  bool hasItems() const { return !m_items.empty(); }
  int completedCount() const;
  // Every item's input size, converted or not.
  qint64 totalOriginalSize() const;
  // The output sizes of the items that have one.
  qint64 totalCompressedSize() const;
  bool canStartConversion() const { return hasItems() && !m_isConverting; }

  // Adds an item for every image found in the files and folders given,
  // skipping paths already listed (compared byte for byte). Reads each new
  // file's size and header on this thread.
  void addFiles(const std::vector<std::filesystem::path>& locations);
  // Removes every item with this item's id; its output file stays on disk.
  void removeItem(const ImageItem& item);
  void clearItems();
  // Shows the chosen output folder, else the folder of the first converted
  // item, in the file manager; does nothing when there is neither.
  void openOutputFolder();

  void updateOutputFormat(OutputFormat format);
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
  void loadSavedSettings();
  void setOutputDirectory(const std::filesystem::path& folder);
  void resetOutputDirectory();

  // The cleaning rules of the two text settings, for views that echo them.
  static QString sanitizedNamePrefix(const QString& prefix);
  static QString numericPrefix(const QString& text, int maxCharacters);

  // Converts every item not yet completed (failed and cancelled ones again),
  // several at a time on worker threads; returns at once. Does nothing
  // without items or while a batch runs. conversionFinished() tells the end.
  void startConversion();
  // Asks the running batch to stop: running tools are terminated, waiting
  // items end cancelled. Does nothing when no batch runs.
  void cancelConversion();
  // How many conversions run at once; by default the number of CPUs this
  // process may run on, read at each start.
  void setParallelLimit(std::optional<int> limit) { m_parallelLimitOverride = limit; }
  // How much memory the conversions running at once may take by their
  // estimates; by default half of what the system has available, read at
  // each start. A conversion over the budget runs alone.
  void setMemoryBudget(std::optional<qint64> bytes) { m_memoryBudgetOverride = bytes; }
  static int availableCpuCount();

 signals:
  // The list itself changed (added, removed, cleared); an item's own state
  // changes come from the item.
  void itemsChanged();
  void settingsChanged();
  void isConvertingChanged(bool converting);
  void isCancellingChanged(bool cancelling);
  // One conversion handed back its result (the item's state is set).
  void itemFinished(const std::shared_ptr<ImageItem>& item);
  // A batch has ended; `cancelled` when it was cancelled.
  void conversionFinished(bool cancelled);

 protected:
  void setIsConverting(bool converting);
  void setIsCancelling(bool cancelling);
  void setSettings(ConversionSettings settings);
  void setItems(ItemList items);
  // Assigns one field of the settings, notifying only on a real change.
  template <typename T>
  void changeSetting(T ConversionSettings::*field, T value) {
    if (m_settings.*field == value) return;
    m_settings.*field = std::move(value);
    emit settingsChanged();
  }

 private:
  struct Batch;
  struct Outcome;
  void performConversion();
  void scheduleConversions();
  void launchConversion(const std::shared_ptr<ImageItem>& item,
                        std::optional<std::filesystem::path> customOutputURL, qint64 memory);
  void conversionEnded(const std::weak_ptr<ImageItem>& item, const Outcome& outcome);
  void finishBatch();
  bool isListed(const ImageItem* item) const;

  ItemList m_items;
  ConversionSettings m_settings;
  bool m_isConverting = false;
  bool m_isCancelling = false;
  std::unique_ptr<SettingsPersistence> m_persistence;
  std::unique_ptr<BookmarkService> m_bookmarks;
  DesktopIntegration& m_desktop;
  ImageConverter m_converter;
  std::optional<int> m_parallelLimitOverride;
  std::optional<qint64> m_memoryBudgetOverride;
  std::unique_ptr<Batch> m_batch;  // set while a batch runs
  QThreadPool m_pool;
};

}  // namespace quorvane::core
