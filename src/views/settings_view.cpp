#include "views/settings_view.h"

#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/elided_label.h"
#include "views/icons.h"
#include "views/view_style.h"

namespace quorvane::gui {

namespace {

// The inset, rounded box the form sits in.
class GroupedBox : public QFrame {
 public:
  using QFrame::QFrame;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::WindowText);
    fill.setAlphaF(style::isDark(palette()) ? 0.06f : 0.035f);
    QColor border = palette().color(QPalette::WindowText);
    border.setAlphaF(0.12f);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  }
};

}  // namespace

QString abbreviatedHomePath(const QString& path, const QString& homePath) {
  if (homePath.isEmpty() || homePath == QLatin1String("/")) return path;
  QString result = path;
  return result.replace(homePath, QStringLiteral("~"));
}

SettingsView::SettingsView(core::ConversionViewModel& controller, std::shared_ptr<QSettings> store,
                           QWidget* parent)
    : QDialog(parent), m_controller(controller), m_store(std::move(store)) {
  setWindowTitle(tr("Settings"));
  setModal(true);
  setFixedSize(kWidth, kHeight);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(20, 20, 20, 20);
  root->setSpacing(20);
  // The content sits centred in the fixed frame.
  root->addStretch(1);

  m_title = new QLabel(tr("Settings"), this);
  QFont titleFont = m_title->font();
  if (titleFont.pointSizeF() > 0) titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
  titleFont.setWeight(QFont::DemiBold);
  m_title->setFont(titleFont);
  m_title->setAlignment(Qt::AlignCenter);
  root->addWidget(m_title);

  auto* box = new GroupedBox(this);
  auto* form = new QFormLayout(box);
  form->setContentsMargins(12, 10, 12, 10);
  form->setVerticalSpacing(10);
  form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
  // Four language names do not leave room for the label beside them in a
  // 420-pixel dialog (less still in German): the label then goes above.
  form->setRowWrapPolicy(QFormLayout::WrapLongRows);

  // Language: one radio button per option, showing the name as stored.
  auto* languageRow = new QWidget(box);
  languageRow->setObjectName(QStringLiteral("languageGroup"));
  languageRow->setAccessibleName(tr("Language"));
  auto* languageLayout = new QHBoxLayout(languageRow);
  languageLayout->setContentsMargins(0, 0, 0, 0);
  languageLayout->setSpacing(12);
  m_languages = new QButtonGroup(this);
  m_languages->setExclusive(true);
  const QString current = currentLanguageTag(m_store->value(kSelectedLanguageKey).toString(),
                                             QLocale::system().uiLanguages());
  const auto& options = languageOptions();
  for (int index = 0; index < static_cast<int>(options.size()); ++index) {
    const LanguageOption& option = options[static_cast<std::size_t>(index)];
    auto* radio = new QRadioButton(option.displayName, languageRow);
    radio->setObjectName(QStringLiteral("language_") + option.tag);
    radio->setChecked(option.tag == current);
    m_languages->addButton(radio, index);
    languageLayout->addWidget(radio);
  }
  languageLayout->addStretch(1);
  auto* languageLabel = new QLabel(tr("Language"), box);
  languageLabel->setBuddy(m_languages->checkedButton());
  form->addRow(languageLabel, languageRow);
  // Only a real change of selection counts; clicking the checked one again
  // toggles nothing.
  connect(m_languages, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) chooseLanguage(languageOptions()[static_cast<std::size_t>(id)].tag);
  });

  // Output: the chosen folder, or the default, with the reset next to it.
  auto* outputRow = new QWidget(box);
  auto* outputLayout = new QHBoxLayout(outputRow);
  outputLayout->setContentsMargins(0, 0, 0, 0);
  outputLayout->setSpacing(6);
  m_outputCaption = new QLabel(tr("Output:"), outputRow);
  m_outputPath = new ElidedLabel(outputRow);
  m_outputPath->setObjectName(QStringLiteral("outputPath"));
  m_resetButton = new QPushButton(tr("Reset to Default"), outputRow);
  m_resetButton->setObjectName(QStringLiteral("resetOutputButton"));
  m_resetButton->setFont(style::captionFont(m_resetButton->font()));
  m_resetButton->setAutoDefault(false);
  //: Shown instead of the reset button while no output folder is chosen.
  m_defaultLabel = new QLabel(tr("Default"), outputRow);
  m_defaultLabel->setObjectName(QStringLiteral("defaultLabel"));
  outputLayout->addWidget(m_outputCaption);
  outputLayout->addWidget(m_outputPath, 1);
  outputLayout->addWidget(m_resetButton);
  outputLayout->addWidget(m_defaultLabel);
  form->addRow(outputRow);
  connect(m_resetButton, &QPushButton::clicked, &m_controller,
          &core::ConversionViewModel::resetOutputDirectory);
  connect(&m_controller, &core::ConversionViewModel::settingsChanged, this,
          &SettingsView::refreshOutputRow);
  root->addWidget(box);

  // The restart notice, hidden until a language is chosen.
  m_notice = new QWidget(this);
  m_notice->setObjectName(QStringLiteral("restartNotice"));
  auto* noticeLayout = new QHBoxLayout(m_notice);
  noticeLayout->setContentsMargins(0, 0, 0, 0);
  noticeLayout->setSpacing(4);
  m_noticeIcon = new QLabel(m_notice);
  m_noticeText =
      new QLabel(tr("Please restart Quorvane for the language change to take effect."), m_notice);
  m_noticeText->setFont(style::captionFont(m_noticeText->font()));
  m_noticeText->setWordWrap(true);
  // One line when it fits; a long translation wraps instead of being cut off.
  const int noticeRoom = kWidth - 2 * 20 - QFontMetrics(m_noticeText->font()).height() - 4;
  m_noticeText->setMinimumWidth(std::min(
      QFontMetrics(m_noticeText->font()).horizontalAdvance(m_noticeText->text()) + 2, noticeRoom));
  noticeLayout->addStretch(1);
  noticeLayout->addWidget(m_noticeIcon);
  noticeLayout->addWidget(m_noticeText);
  noticeLayout->addStretch(1);
  m_notice->hide();
  root->addWidget(m_notice);

  auto* close = new QPushButton(tr("Close"), this);
  close->setObjectName(QStringLiteral("closeButton"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  root->addWidget(close, 0, Qt::AlignHCenter);
  root->addStretch(1);

  applyColours();
  refreshOutputRow();
}

void SettingsView::chooseLanguage(const QString& tag) {
  if (!isSupportedLanguageTag(tag)) return;
  // The running interface keeps its language; the translation loader reads
  // this key at the next start.
  m_store->setValue(kSelectedLanguageKey, tag);
  m_store->sync();
  if (m_languageChanged) return;
  m_languageChanged = true;
  m_notice->show();
  setFixedSize(kWidth, kHeightWithNotice);
}

void SettingsView::refreshOutputRow() {
  const auto& folder = m_controller.settings().outputDirectory;
  if (folder) {
    m_outputPath->setFullText(
        abbreviatedHomePath(core::FileService::displayPath(*folder), QDir::homePath()));
  } else {
    m_outputPath->setFullText(tr("(compressed/ folder next to the first file)"));
  }
  m_resetButton->setVisible(folder.has_value());
  m_defaultLabel->setVisible(!folder.has_value());
}

void SettingsView::applyColours() {
  const QColor secondary = style::secondary(palette());
  style::setTextColor(m_outputCaption, secondary);
  style::setTextColor(m_defaultLabel, secondary);
  const QColor orange = style::orange(palette());
  style::setTextColor(m_noticeText, orange);
  const int iconSize = QFontMetrics(m_noticeText->font()).height();
  m_noticeIcon->setPixmap(
      icons::refresh(orange).pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
}

void SettingsView::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // Follow a switch between light and dark while the dialog is open.
  if (event->type() == QEvent::PaletteChange && m_noticeIcon) applyColours();
}

}  // namespace quorvane::gui
