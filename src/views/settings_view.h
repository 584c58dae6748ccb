// The preferences dialog: the interface language, applied at the next start,
// and the output folder with a way back to the default. Conversion settings
// live in the settings bar, not here.
#pragma once

#include <QDialog>
#include <QSettings>
#include <QString>
#include <memory>

#include "views/language_options.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QWidget;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class ElidedLabel;

// `path` with every occurrence of `homePath` replaced by "~" (plain text, so
// "/home/ann2" under home "/home/ann" reads "~2"). A home of "" or "/" is
// left alone: replacing it would turn every separator into "~".
QString abbreviatedHomePath(const QString& path, const QString& homePath);

class SettingsView : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 420;
  static constexpr int kHeight = 240;
  // While the restart notice is shown.
  static constexpr int kHeightWithNotice = 260;

  // Reads the output folder from `controller` and follows its changes; reads
  // and writes the chosen language in `store`. Both must outlive the dialog.
  // Create a new dialog for every showing: the restart notice belongs to one.
  SettingsView(core::ConversionViewModel& controller, std::shared_ptr<QSettings> store,
               QWidget* parent = nullptr);

  // True once a language was chosen in this dialog.
  bool languageChanged() const { return m_languageChanged; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void chooseLanguage(const QString& tag);
  void refreshOutputRow();
  void applyColours();

  core::ConversionViewModel& m_controller;
  std::shared_ptr<QSettings> m_store;
  bool m_languageChanged = false;

  QLabel* m_title = nullptr;
  QButtonGroup* m_languages = nullptr;
  QLabel* m_outputCaption = nullptr;
  ElidedLabel* m_outputPath = nullptr;
  QPushButton* m_resetButton = nullptr;
  QLabel* m_defaultLabel = nullptr;
  QWidget* m_notice = nullptr;
  QLabel* m_noticeIcon = nullptr;
  QLabel* m_noticeText = nullptr;
};

}  // namespace quorvane::gui
