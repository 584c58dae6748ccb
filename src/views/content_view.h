// The window's content: the large drop zone while the list is empty, else the
// settings bar, the list, the summary and the bottom bar with "Open in File
// Manager", "Clear" and Start/Cancel.
#pragma once

#include <QPointer>
#include <QUuid>
#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class CompareView;
class DropZoneView;
class FileListView;
class FilledButton;
class SettingsBar;
class Spinner;
class SummaryView;

class ContentView : public QWidget {
  Q_OBJECT

 public:
  explicit ContentView(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  // For tests and the shell.
  bool showsList() const;
  QPushButton* openFolderButton() const { return m_openFolder; }
  QPushButton* clearButton() const { return m_clear; }
  FilledButton* startButton() const { return m_start; }
  FilledButton* cancelButton() const { return m_cancel; }
  static QString startTitle();
  static QString convertAllAgainTitle();
  QString cancelText() const;
  QString noticeText() const;
  bool showsSummary() const;
  // The size at which the list shows `rows` whole rows, with the summary
  // and a notice under it.
  QSize sizeShowingRows(int rows) const;
  DropZoneView* dropZone() const { return m_dropZone; }
  SettingsBar* settingsBar() const { return m_settingsBar; }
  FileListView* fileList() const { return m_fileList; }
  SummaryView* summary() const { return m_summary; }
  QPushButton* compareButton() const { return m_compare; }
  // The compare view open now, or null.
  CompareView* compareView() const;
  // Opens the compare view of a converted image.
  void openCompare(const QUuid& id);

 signals:
  void settingsRequested();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QWidget* makeListPage();
  QWidget* makeBottomBar();
  void refresh();
  // As a batch starts or ends: focus on the main button that gave way, or
  // on a setting the batch locked, goes to the button shown now.
  void keepFocus(bool converting, bool onTheMainButton);
  void refreshCompare();
  void styleButtons();
  void start();
  void cancel();
  // Nothing started: the output folder cannot be written. Offers to choose
  // another, then makes the start that was refused.
  void showFolderRefusal(const QString& folder, const QString& reason);
  // A one-line notice under the list (what an intake left out); empty hides.
  void showNotice(const QString& text);

  core::ConversionViewModel& m_controller;
  QStackedWidget* m_pages = nullptr;
  DropZoneView* m_dropZone = nullptr;
  QWidget* m_listPage = nullptr;
  SettingsBar* m_settingsBar = nullptr;
  FileListView* m_fileList = nullptr;
  QWidget* m_summaryRow = nullptr;
  SummaryView* m_summary = nullptr;
  QPushButton* m_compare = nullptr;
  QPointer<CompareView> m_compareView;
  QPushButton* m_openFolder = nullptr;
  QPushButton* m_clear = nullptr;
  FilledButton* m_start = nullptr;
  bool m_wasConverting = false;
  FilledButton* m_cancel = nullptr;
  Spinner* m_cancelSpinner = nullptr;
  QLabel* m_cancelLabel = nullptr;
  QLabel* m_notice = nullptr;
};

}  // namespace quorvane::gui
