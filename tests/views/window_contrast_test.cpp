// Contrast of the window's texts, read off screenshots of the real widgets on
// the offscreen platform, in a light and a dark appearance: every text must
// reach 4.5:1 on what is drawn behind it. The measured figures are printed.
#include <QApplication>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "codec/libvips_runtime.h"
#include "views/drop_zone_view.h"
#include "views/file_list_model.h"
#include "views/file_list_view.h"
#include "views/filled_button.h"
#include "views/settings_bar.h"
#include "views/summary_view.h"
#include "views/view_style.h"
#include "window_fixture.h"

namespace fs = std::filesystem;
using namespace quorvane;
using gui::FileListModel;

namespace {

// What a screenshot shows in an area: the background is its commonest
// colour, the text the pixel that stands out most from it (the core of a
// glyph stroke; antialiased edges lie between the two).
struct Reading {
  QColor background;
  QColor text;
  double ratio = 0;
};

Reading read(const QImage& shot, const QRect& area) {
  QHash<QRgb, int> counts;
  const QRect inside = area.intersected(shot.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) ++counts[shot.pixel(x, y) | 0xff000000u];
  }
  Reading reading;
  int most = 0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    if (it.value() > most) {
      most = it.value();
      reading.background = QColor::fromRgb(it.key());
    }
  }
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    const double ratio = gui::style::contrastRatio(QColor::fromRgb(it.key()), reading.background);
    if (ratio > reading.ratio) {
      reading.ratio = ratio;
      reading.text = QColor::fromRgb(it.key());
    }
  }
  return reading;
}

QPalette darkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2e));
  dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xea));
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x20));
  dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x29));
  dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xea));
  dark.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
  dark.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xea));
  dark.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  return dark;
}

}  // namespace

class WindowContrastTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QApplication::setPalette(QTest::currentDataTag() == QByteArray("dark")
                                 ? darkPalette()
                                 : QApplication::style()->standardPalette());
    QVERIFY(m_window.setUp());
  }
  void cleanup() {
    m_window.tearDown();
    QApplication::setPalette(QApplication::style()->standardPalette());
  }
  void testEveryTextReadsAtLeastFourAndAHalfToOne_data();
  void testEveryTextReadsAtLeastFourAndAHalfToOne();

 private:
  // Reads `area` of `widget` (in its own coordinates) off a screenshot of
  // it, and records it under `what`.
  void check(const QString& what, QWidget* widget, QRect area = {});
  // The text of a cell of the list: its rectangle, shrunk off the grid.
  void checkCell(const QString& what, int row, int column);
  // Every label with a text shown in `area`.
  void checkLabels(const QString& where, QWidget* area);

  test::WindowFixture m_window;
  QStringList m_failures;
};

void WindowContrastTest::check(const QString& what, QWidget* widget, QRect area) {
  QVERIFY2(widget->isVisible(), qPrintable(what));
  const QImage shot = widget->grab().toImage();
  // A button's frame is no text: only what lies inside it counts.
  if (area.isNull()) area = widget->rect().adjusted(4, 4, -4, -4);
  const qreal scale = shot.devicePixelRatio();
  const QRect pixels(QPoint(qRound(area.left() * scale), qRound(area.top() * scale)),
                     QSize(qRound(area.width() * scale), qRound(area.height() * scale)));
  const Reading reading = read(shot, pixels);
  qInfo("%-8s %-36s %s on %s  %5.2f:1", QTest::currentDataTag(), qPrintable(what),
        qPrintable(reading.text.name()), qPrintable(reading.background.name()), reading.ratio);
  if (reading.ratio < gui::style::kTextContrast) {
    m_failures << QStringLiteral("%1: %2:1").arg(what).arg(reading.ratio, 0, 'f', 2);
  }
}

void WindowContrastTest::checkCell(const QString& what, int row, int column) {
  gui::FileListView* list = m_window.view->fileList();
  const QRect cell = list->visualRect(list->model()->index(row, column)).adjusted(2, 2, -2, -2);
  check(what, list->viewport(), cell);
}

void WindowContrastTest::checkLabels(const QString& where, QWidget* area) {
  for (QLabel* label : area->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    check(where + QStringLiteral(": ") + label->text().left(24), label, label->rect());
  }
}

void WindowContrastTest::testEveryTextReadsAtLeastFourAndAHalfToOne_data() {
  QTest::addColumn<bool>("dark");
  QTest::newRow("light") << false;
  QTest::newRow("dark") << true;
}

void WindowContrastTest::testEveryTextReadsAtLeastFourAndAHalfToOne() {
  // One row per verdict and saving colour: identical and -50 %, very close
  // and -1 %, visible on a close look and +30 %, visibly changed.
  const struct {
    const char* name;
    qint64 size;
    double score;
  } rows[] = {{"a.png", 500, 95}, {"b.png", 990, 75}, {"c.png", 1300, 60}, {"d.png", 500, 30}};
  std::vector<fs::path> inputs;
  for (const auto& row : rows) {
    test::writeBytes(m_window.files / row.name, 1000);
    inputs.push_back(m_window.files / row.name);
    m_window.converter->writeOutputOf(row.name, static_cast<std::size_t>(row.size));
    m_window.converter->encodeAs(row.name, {.score = row.score});
  }
  gui::ContentView* view = m_window.view.get();
  checkLabels(QStringLiteral("drop zone"), view->dropZone());
  QVERIFY(m_window.add(inputs));
  gui::SettingsBar* bar = view->settingsBar();
  view->resize(900, 700);
  check(QStringLiteral("Start Conversion"), view->startButton());
  const auto presets = bar->presets();
  for (gui::FilledButton* preset : {presets.webOptimal, presets.balance, presets.highQuality}) {
    if (preset->isFilled()) check(QStringLiteral("selected preset ") + preset->text(), preset);
  }
  check(QStringLiteral("quality hint (secondary)"), bar->qualityHintLabel());
  checkCell(QStringLiteral("Waiting"), 0, FileListModel::StatusColumn);

  // During the batch.
  m_window.vm->updateOptions({.ifLarger = core::IfLarger::Write});  // the +30 % row too
  m_window.vm->startConversion();
  QTRY_COMPARE(m_window.converter->running(), 1);
  check(QStringLiteral("Cancel"), view->cancelButton());
  checkLabels(QStringLiteral("progress"), view->summary());
  m_window.openGate();
  QTRY_VERIFY_WITH_TIMEOUT(!m_window.vm->isConverting(), 10000);

  QCOMPARE(view->startButton()->text(), gui::ContentView::convertAllAgainTitle());
  check(QStringLiteral("Convert All Again"), view->startButton());
  checkLabels(QStringLiteral("summary"), view->summary());
  const char* verdicts[] = {"identical", "very close", "close look", "visibly changed"};
  const char* savings[] = {"saving -50%", "saving -1%", "saving +30%", "saving -50%"};
  for (int row = 0; row < 4; ++row) {
    checkCell(QStringLiteral("verdict ") + verdicts[row], row, FileListModel::QualityColumn);
    checkCell(QString::fromLatin1(savings[row]), row, FileListModel::SavingColumn);
    checkCell(QStringLiteral("sizes, ") + savings[row], row, FileListModel::SizeColumn);
  }
  // On the selected row, every text is in the selection's colours.
  gui::FileListView* list = view->fileList();
  list->selectRow(0);
  checkCell(QStringLiteral("selected: verdict identical"), 0, FileListModel::QualityColumn);
  checkCell(QStringLiteral("selected: saving -50%"), 0, FileListModel::SavingColumn);
  checkCell(QStringLiteral("selected: sizes"), 0, FileListModel::SizeColumn);
  checkCell(QStringLiteral("selected: conversion"), 0, FileListModel::ConversionColumn);
  QVERIFY2(m_failures.isEmpty(), qPrintable(m_failures.join(QStringLiteral("; "))));
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  WindowContrastTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "window_contrast_test.moc"
