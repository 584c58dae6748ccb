// The one controller behind the window: the list of images, the settings and
// their operations. Lives on the main thread; views read its state, follow its
// signals and change it only through its operations.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "models/conversion_settings.h"
#include "models/image_item.h"
#include "services/bookmark_service.h"
#include "services/settings_persistence.h"
#include "viewmodels/desktop_integration.h"

namespace quorvane::core {

class ConversionViewModel : public QObject {
  Q_OBJECT

 public:
  using ItemList = std::vector<std::shared_ptr<ImageItem>>;

  // Does not read saved settings: settings hold the defaults until
  // loadSavedSettings(). `desktop` must outlive the controller.
  ConversionViewModel(std::unique_ptr<SettingsPersistence> persistence,
                      std::unique_ptr<BookmarkService> bookmarks, DesktopIntegration& desktop,
                      QObject* parent = nullptr);
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

 signals:
  // The list itself changed (added, removed, cleared); an item's own state
  // changes come from the item.
  void itemsChanged();
  void settingsChanged();
  void isConvertingChanged(bool converting);
  void isCancellingChanged(bool cancelling);

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
  ItemList m_items;
  ConversionSettings m_settings;
  bool m_isConverting = false;
  bool m_isCancelling = false;
  std::unique_ptr<SettingsPersistence> m_persistence;
  std::unique_ptr<BookmarkService> m_bookmarks;
  DesktopIntegration& m_desktop;
};

}  // namespace quorvane::core
