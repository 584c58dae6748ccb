// Widget tests of the window from the keyboard, on the offscreen platform:
// where Return starts a batch, the Tab order, the mnemonics, and where the
// focus shows.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <filesystem>
#include <map>
#include <memory>

#include "codec/libvips_runtime.h"
#include "views/drop_zone_compact.h"
#include "views/file_list_view.h"
#include "views/filled_button.h"
#include "views/options_button.h"
#include "views/output_folder_button.h"
#include "views/presets_button.h"
#include "views/settings_bar.h"
#include "views/settings_button.h"
#include "window_fixture.h"

namespace fs = std::filesystem;
using namespace quorvane;
using test::writeImage;

class KeyboardWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(m_window.setUp());
    m_files = m_window.files;
    m_converter = m_window.converter.get();
    m_vm = m_window.vm.get();
    m_view = m_window.view.get();
  }
  void cleanup() {
    m_window.tearDown();
    if (m_translator) QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
  }
  void testReturnStartsOnlyFromTheMainButtonOrTheList();
  void testTabReachesEveryControlInReadingOrderWithUniqueMnemonics_data();
  void testTabReachesEveryControlInReadingOrderWithUniqueMnemonics();
  void testTheListShowsWhereTheFocusIs();
  void testTheFocusFollowsTheMainButtonAndLeavesLockedSettings();

 private:
  bool add(const std::vector<fs::path>& locations) { return m_window.add(locations); }
  void openGate() { m_window.openGate(); }

  test::WindowFixture m_window;
  std::unique_ptr<QTranslator> m_translator;
  fs::path m_files;
  test::FakeConverter* m_converter = nullptr;
  core::ConversionViewModel* m_vm = nullptr;
  gui::ContentView* m_view = nullptr;
};

void KeyboardWindowTest::testReturnStartsOnlyFromTheMainButtonOrTheList() {
  writeImage(m_files / "a.png");
  QVERIFY(add({m_files / "a.png"}));
  gui::SettingsBar* bar = m_view->settingsBar();
  for (QWidget* control :
       {static_cast<QWidget*>(bar->formatMenu()), static_cast<QWidget*>(bar->maxWidthField()),
        static_cast<QWidget*>(bar->qualityValue()), static_cast<QWidget*>(bar->qualitySlider()),
        static_cast<QWidget*>(bar->presets().balance),
        static_cast<QWidget*>(m_view->clearButton())}) {
    control->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY2(!m_vm->isConverting(), control->metaObject()->className());
  }
  // A Return held down as a dialog closed on it: its repeats start nothing.
  QPushButton* start = m_view->startButton();
  start->setFocus();
  QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
  QApplication::sendEvent(start, &repeated);
  QVERIFY(!m_vm->isConverting());
  QApplication::sendEvent(m_view->fileList(), &repeated);
  QVERIFY(!m_vm->isConverting());
  // In the list, on a row with nothing to open: the main button's action.
  m_view->fileList()->setFocus();
  QTest::keyClick(m_view->fileList(), Qt::Key_Return);
  QVERIFY(m_vm->isConverting());
}

void KeyboardWindowTest::testTabReachesEveryControlInReadingOrderWithUniqueMnemonics_data() {
  QTest::addColumn<QString>("language");
  for (const char* language : {"en", "de", "ja", "ko"}) QTest::newRow(language) << language;
}

void KeyboardWindowTest::testTabReachesEveryControlInReadingOrderWithUniqueMnemonics() {
  QFETCH(QString, language);
  if (language != QLatin1String("en")) {
    // A window made anew in that language.
    m_window.tearDown();
    m_translator = std::make_unique<QTranslator>();
    QVERIFY(m_translator->load(QStringLiteral("quorvane_") + language,
                               QStringLiteral(QUORVANE_QM_DIR)));
    QVERIFY(QCoreApplication::installTranslator(m_translator.get()));
    init();
  }
  writeImage(m_files / "a.png");
  QVERIFY(add({m_files / "a.png"}));
  m_converter->writeOutputOf("a.png", 10);
  openGate();
  QVERIFY(m_window.runToEnd());  // "Open in File Manager" is usable now
  gui::SettingsBar* bar = m_view->settingsBar();
  bar->resizeBox()->click();
  bar->customNaming()->click();
  auto* strip = bar->findChild<gui::DropZoneCompact*>();
  const QList<QPushButton*> adds = strip->findChildren<QPushButton*>();
  QCOMPARE(adds.size(), 2);
  const auto presets = bar->presets();
  gui::SettingsButton* gear = nullptr;  // the list page's, not the drop zone's
  for (auto* button : m_view->findChildren<gui::SettingsButton*>()) {
    if (button->isVisible()) gear = button;
  }
  // Compare is a stop while the current row has an output to compare.
  m_view->fileList()->setCurrentIndex(m_view->fileList()->model()->index(0, 0));
  QVERIFY(m_view->compareButton()->isEnabled());
  const std::vector<QWidget*> expected{m_view->compareButton(),
                                       gear,
                                       adds[0],
                                       adds[1],
                                       bar->formatMenu(),
                                       presets.webOptimal,
                                       presets.balance,
                                       presets.highQuality,
                                       bar->presetsButton(),
                                       bar->qualitySlider(),
                                       bar->qualityValue(),
                                       bar->resizeBox(),
                                       bar->maxWidthField(),
                                       bar->maxHeightField(),
                                       bar->originalNaming(),
                                       bar->customNaming(),
                                       bar->prefixField(),
                                       bar->startField(),
                                       bar->outputFolderButton(),
                                       bar->optionsButton(),
                                       m_view->fileList(),
                                       m_view->openFolderButton(),
                                       m_view->clearButton(),
                                       m_view->startButton()};
  expected.front()->setFocus();
  std::vector<QWidget*> reached{QApplication::focusWidget()};
  for (std::size_t i = 1; i < expected.size() + 1; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    reached.push_back(QApplication::focusWidget());
  }
  QCOMPARE(reached.back(), expected.front());  // round
  reached.pop_back();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QVERIFY2(reached[i] == expected[i],
             qPrintable(QStringLiteral("stop %1: %2, not %3")
                            .arg(i)
                            .arg(reached[i]->accessibleName(), expected[i]->accessibleName())));
  }

  // One mnemonic per key in the whole window.
  std::map<QKeySequence, QString> seen;
  for (QWidget* widget : m_view->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(m_view)) continue;
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy()) text = label->text();
    const QKeySequence key = QKeySequence::mnemonic(text);
    if (key.isEmpty()) continue;
    const auto [at, fresh] = seen.emplace(key, text);
    QVERIFY2(fresh, qPrintable(text + QStringLiteral(" and ") + at->second));
  }
  if (language != QLatin1String("en")) return;
  QVERIFY(seen.count(QKeySequence(QStringLiteral("Alt+C"))) == 1);

  // Alt+C is the main button's also where the Format list has the focus,
  // and Alt with another letter picks no format there.
  bar->formatMenu()->setFocus();
  QTest::keyClick(bar->formatMenu(), Qt::Key_A, Qt::AltModifier);
  QCOMPARE(bar->formatMenu()->currentText(), QStringLiteral("WebP"));
  QTest::keyClick(bar->formatMenu(), Qt::Key_Down, Qt::AltModifier);  // still opens the list
  QTRY_VERIFY(bar->formatMenu()->view()->isVisible());
  bar->formatMenu()->hidePopup();
  QTest::keyClick(bar->formatMenu(), Qt::Key_C, Qt::AltModifier);
  // The button is pressed after a short show; the batch converts a.png again.
  QTRY_COMPARE(m_converter->started().size(), std::size_t{2});
}

void KeyboardWindowTest::testTheListShowsWhereTheFocusIs() {
  writeImage(m_files / "a.png");
  writeImage(m_files / "b.png");
  QVERIFY(add({m_files / "a.png", m_files / "b.png"}));
  gui::FileListView* list = m_view->fileList();
  m_view->clearButton()->setFocus();
  const QImage unfocused = list->viewport()->grab().toImage();
  list->setFocus(Qt::TabFocusReason);
  QVERIFY(list->currentIndex().isValid());
  const QImage focused = list->viewport()->grab().toImage();
  // A ring in the text colour at the current row's edge.
  const QRect row = list->visualRect(list->currentIndex());
  const QPoint edge(1, row.center().y());
  QCOMPARE(focused.pixelColor(edge), list->palette().color(QPalette::Text));
  QVERIFY(unfocused.pixelColor(edge) != focused.pixelColor(edge));
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  KeyboardWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

void KeyboardWindowTest::testTheFocusFollowsTheMainButtonAndLeavesLockedSettings() {
  writeImage(m_files / "a.png");
  writeImage(m_files / "b.png");
  QVERIFY(add({m_files / "a.png", m_files / "b.png"}));
  // Return on Start: the focus goes to Cancel, which took its place, and
  // back to the main button when the batch ends.
  m_view->startButton()->setFocus();
  QTest::keyClick(m_view->startButton(), Qt::Key_Return);
  QVERIFY(m_vm->isConverting());
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_view->cancelButton()));
  openGate();
  QVERIFY(m_window.runToEnd());
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_view->startButton()));
  // Started while a setting the batch locks has the focus (its mnemonic,
  // pressed on the format list): the focus is not lost.
  m_converter->closeGate();
  m_view->settingsBar()->formatMenu()->setFocus();
  m_view->startButton()->click();
  QVERIFY(m_vm->isConverting());
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_view->cancelButton()));
  // The locked settings tell screen readers why.
  QCOMPARE(m_view->settingsBar()->formatMenu()->accessibleDescription(),
           QStringLiteral("Applies to the next batch"));
  openGate();
  QVERIFY(m_window.runToEnd());
  QCOMPARE(m_view->settingsBar()->formatMenu()->accessibleDescription(), QString());
  // Cancelled from the keyboard: the focus stays on Cancel while the batch
  // stops, then goes to the main button.
  m_converter->closeGate();
  m_view->startButton()->click();
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_view->cancelButton()));
  QTest::keyClick(m_view->cancelButton(), Qt::Key_Return);  // as Space does
  QVERIFY(m_vm->isCancelling() || !m_vm->isConverting());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_view->cancelButton()));
  openGate();
  QTRY_VERIFY(!m_vm->isConverting());
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_view->startButton()));
}

#include "keyboard_window_test.moc"
