// The windowed application. For now a plain list that takes dropped files and
// folders through the controller; the full window replaces it (#6).
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_desktop_integration.h"
#include "codec/libvips_runtime.h"
#include "services/file_service.h"
#include "services/settings_store.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::gui {
namespace {

std::vector<std::filesystem::path> localPaths(const QList<QUrl>& urls) {
  std::vector<std::filesystem::path> paths;
  for (const QUrl& url : urls) {
    if (auto path = core::FileService::localPathFromUrl(url)) paths.push_back(*path);
  }
  return paths;
}

class DropList : public QListWidget {
 public:
  explicit DropList(core::ConversionViewModel& controller) : m_controller(controller) {
    setAcceptDrops(true);
    setDropIndicatorShown(false);
  }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
  }
  void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
  void dropEvent(QDropEvent* event) override {
    m_controller.addFiles(localPaths(event->mimeData()->urls()));
    event->acceptProposedAction();
  }

 private:
  core::ConversionViewModel& m_controller;
};

class IntakeWindow : public QMainWindow {
 public:
  explicit IntakeWindow(core::ConversionViewModel& controller) : m_controller(controller) {
    setWindowTitle(tr("Quorvane"));
    setMinimumSize(600, 500);
    resize(700, 600);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* hint = new QLabel(tr("Drop images or folders here"), central);
    m_list = new DropList(controller);
    auto* add = new QPushButton(tr("Select Files"), central);
    m_summary = new QLabel(central);
    layout->addWidget(hint);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);
    layout->addWidget(add);
    setCentralWidget(central);
    connect(add, &QPushButton::clicked, this, &IntakeWindow::selectFiles);
    connect(&controller, &core::ConversionViewModel::itemsChanged, this, &IntakeWindow::refresh);
    refresh();
  }

 private:
  void selectFiles() {
    const QList<QUrl> urls = QFileDialog::getOpenFileUrls(
        this, tr("Select Files"), {},
        tr("Images (*.png *.jpg *.jpeg *.heic *.heif *.webp *.tiff *.tif *.gif *.bmp *.avif)"));
    m_controller.addFiles(localPaths(urls));
  }

  void refresh() {
    m_list->clear();
    for (const auto& item : m_controller.items()) {
      m_list->addItem(tr("%1 — %2 — %3 × %4")
                          .arg(item->fileName(),
                               core::FileService::formatFileSize(item->originalSize()))
                          .arg(item->pixelWidth())
                          .arg(item->pixelHeight()));
    }
    m_summary->setText(tr("%n image(s), %1", nullptr, static_cast<int>(m_controller.items().size()))
                           .arg(core::FileService::formatFileSize(m_controller.totalOriginalSize())));
  }

  core::ConversionViewModel& m_controller;
  QListWidget* m_list = nullptr;
  QLabel* m_summary = nullptr;
};

}  // namespace
}  // namespace quorvane::gui

int main(int argc, char** argv) {
  QApplication::setOrganizationName("Quorvane");
  QApplication::setApplicationName("Quorvane");
  QApplication app(argc, argv);
  quorvane::codec::LibvipsRuntime vips(argv[0]);

  quorvane::gui::QtDesktopIntegration desktop;
  auto store = quorvane::core::standardSettingsStore();
  quorvane::core::ConversionViewModel controller(
      std::make_unique<quorvane::core::SettingsPersistence>(store),
      std::make_unique<quorvane::core::BookmarkService>(store), desktop);
  quorvane::gui::IntakeWindow window(controller);
  desktop.setMainWindow(&window);
  controller.loadSavedSettings();
  window.show();
  return app.exec();
}
