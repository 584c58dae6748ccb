#include "views/compare_view.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

#include "models/output_format.h"
#include "models/quality_verdict.h"
#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/compare_canvas.h"
#include "views/view_style.h"

namespace quorvane::gui {

namespace {

// The pixels as an image that shares them, and what keeps them alive.
QImage imageOf(const core::ComparePicture& picture) {
  if (picture.empty()) return {};
  const codec::RgbaImage& pixels = *picture.pixels;
  return QImage(pixels.data(), pixels.width(), pixels.height(), pixels.width() * 4,
                QImage::Format_RGBA8888);
}

QString sizeText(qint64 bytes) {
  return core::FileService::formatFileSize(bytes);
}

}  // namespace

CompareView::CompareView(core::ConversionViewModel& controller, const QUuid& id, QWidget* parent)
    : QDialog(parent), m_controller(controller), m_id(id), m_model(controller.converter()) {
  setWindowTitle(tr("Compare"));
  setAccessibleName(tr("Compare original and output"));
  setSizeGripEnabled(true);
  m_canvas = new CompareCanvas(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(makeToolBar());
  layout->addWidget(m_canvas, 1);
  m_originalText = new QLabel(this);
  m_outputText = new QLabel(this);
  m_status = new QLabel(this);
  m_status->setFont(style::captionFont(font()));
  for (QLabel* label : {m_originalText, m_outputText, m_status}) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
  }
  layout->addWidget(makeQualityRow());

  using Model = core::CompareViewModel;
  connect(&m_model, &Model::originalChanged, this, &CompareView::showOriginal);
  connect(&m_model, &Model::outputChanged, this, &CompareView::showOutput);
  connect(&m_model, &Model::differenceMapChanged, this, &CompareView::showDifference);
  connect(&m_model, &Model::isEncodingChanged, this, &CompareView::refreshStatus);
  connect(&m_model, &Model::isComputingDifferenceChanged, this, &CompareView::refreshStatus);
  connect(&m_model, &Model::problemChanged, this, &CompareView::refreshStatus);
  connect(m_canvas, &CompareCanvas::zoomChanged, this, &CompareView::refreshZoom);
  connect(&controller, &core::ConversionViewModel::isConvertingChanged, this,
          &CompareView::refreshUseQuality);

  // About the size of the screen's larger part; the reduced decode fits it.
  const QRect screen =
      (parent ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry();
  resize(screen.size() * 0.8);
  const auto subject = core::compareSubjectFor(controller, id);
  if (subject) {
    const qreal ratio = devicePixelRatioF();
    m_model.open(*subject, static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
    m_quality->setValue(subject->settings.quality);
    m_quality->setEnabled(subject->qualityApplies);
  }
  m_qualityDelay.setSingleShot(true);
  m_qualityDelay.setInterval(kQualityRest);
  connect(&m_qualityDelay, &QTimer::timeout, this, [this] {
    m_sinceQualityAsked.start();
    m_model.requestQuality(m_quality->value());
  });
  showOriginal();
  showOutput();
  refreshStatus();
  refreshZoom();
  m_canvas->setFocus();
}

QWidget* CompareView::makeToolBar() {
  auto* bar = new QWidget(this);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(0, 0, 0, 0);
  m_fit = new QPushButton(tr("&Fit"), bar);
  m_fit->setToolTip(tr("Show the whole picture (Ctrl+0)"));
  m_actual = new QPushButton(tr("&100 %"), bar);
  m_actual->setToolTip(tr("One pixel of the output per screen pixel (Ctrl+1)"));
  m_actual->setAccessibleName(tr("Zoom to 100 %"));
  m_double = new QPushButton(tr("&200 %"), bar);
  m_double->setToolTip(tr("Two screen pixels per pixel of the output (Ctrl+2)"));
  m_double->setAccessibleName(tr("Zoom to 200 %"));
  const auto zoomTo = [this](std::optional<double> zoom) { m_canvas->setZoom(zoom); };
  connect(m_fit, &QPushButton::clicked, this, [zoomTo] { zoomTo(std::nullopt); });
  connect(m_actual, &QPushButton::clicked, this, [zoomTo] { zoomTo(1.0); });
  connect(m_double, &QPushButton::clicked, this, [zoomTo] { zoomTo(2.0); });
  const std::pair<QPushButton*, QKeySequence> keys[] = {
      {m_fit, QKeySequence(Qt::CTRL | Qt::Key_0)},
      {m_actual, QKeySequence(Qt::CTRL | Qt::Key_1)},
      {m_double, QKeySequence(Qt::CTRL | Qt::Key_2)}};
  for (const auto& [button, key] : keys) {
    button->setAutoDefault(false);
    auto* shortcut = new QShortcut(key, this);
    connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    layout->addWidget(button);
  }
  m_zoomText = new QLabel(bar);
  m_zoomText->setMinimumWidth(
      m_zoomText->fontMetrics().horizontalAdvance(QStringLiteral("1600 %")));
  layout->addWidget(m_zoomText);
  layout->addStretch(1);

  m_sideBySide = new QCheckBox(tr("&Side by Side"), bar);
  m_sideBySide->setToolTip(tr("Both pictures beside each other instead of a split line"));
  connect(m_sideBySide, &QCheckBox::toggled, this, [this](bool on) {
    m_canvas->setLayout(on ? CompareCanvas::Layout::SideBySide : CompareCanvas::Layout::Split);
  });
  layout->addWidget(m_sideBySide);
  m_difference = new QCheckBox(tr("&Difference Map"), bar);
  m_difference->setToolTip(
      tr("Colours where the quality check sees the output differ: yellow a little, red most"));
  connect(m_difference, &QCheckBox::toggled, this, [this](bool on) {
    m_model.setDifferenceMapShown(on);
    showDifference();
    refreshStatus();
  });
  layout->addWidget(m_difference);
  return bar;
}

QWidget* CompareView::makeQualityRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(tr("&Quality:"), row);
  m_quality = new QSlider(Qt::Horizontal, row);
  m_quality->setRange(0, 100);
  m_quality->setPageStep(10);
  m_quality->setAccessibleName(tr("Quality to try"));
  m_quality->setToolTip(tr("Encodes this image again at another quality, to see it here"));
  label->setBuddy(m_quality);
  m_qualityValue = new QLabel(row);
  m_qualityValue->setMinimumWidth(
      m_qualityValue->fontMetrics().horizontalAdvance(QStringLiteral("100")));
  connect(m_quality, &QSlider::valueChanged, this, [this](int value) {
    m_qualityValue->setText(QString::number(value));
    refreshUseQuality();
    if (!m_quality->isSliderDown()) qualityChosen();
  });
  connect(m_quality, &QSlider::sliderReleased, this, &CompareView::qualityChosen);
  m_useQuality = new QPushButton(tr("&Use This Quality"), row);
  m_useQuality->setToolTip(
      tr("Converts this image again at the quality shown and keeps it "
         "for this image"));
  m_useQuality->setAutoDefault(false);
  connect(m_useQuality, &QPushButton::clicked, this, &CompareView::useQuality);
  m_close = new QPushButton(tr("Close"), row);
  m_close->setAutoDefault(false);
  connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(label);
  layout->addWidget(m_quality, 1);
  layout->addWidget(m_qualityValue);
  layout->addWidget(m_useQuality);
  layout->addWidget(m_close);
  return row;
}

void CompareView::showOriginal() {
  const core::ComparePicture& picture = m_model.original();
  m_canvas->setOriginal(imageOf(picture), QSize(picture.width, picture.height), picture.pixels);
  const core::CompareSubject& subject = m_model.subject();
  if (subject.original.empty()) return;
  const QString name = QString::fromStdString(subject.original.filename().string());
  m_originalText->setText(picture.empty()
                              ? tr("Original: %1, %2").arg(name, sizeText(subject.originalSize))
                              //: %1 the file name, %2 and %3 its pixel sides, %4 its size in bytes
                              : tr("Original: %1, %2 \u00d7 %3, %4")
                                    .arg(name)
                                    .arg(picture.width)
                                    .arg(picture.height)
                                    .arg(sizeText(subject.originalSize)));
  m_originalText->setAccessibleName(m_originalText->text());
  refreshStatus();
}

QString CompareView::outputText() const {
  return m_outputText->text();
}

QString CompareView::statusText() const {
  return m_status->text();
}

void CompareView::showOutput() {
  const core::CompareOutput& output = m_model.output();
  const core::ComparePicture& picture = output.picture;
  m_canvas->setOutput(imageOf(picture), QSize(picture.width, picture.height), picture.pixels);
  const core::CompareSubject& subject = m_model.subject();
  if (subject.original.empty()) return;
  const QString format = core::displayName(subject.settings.format);
  QString saving;
  if (subject.originalSize > 0) {
    const double ratio = 1.0 - static_cast<double>(output.size) / subject.originalSize;
    const int percent = static_cast<int>(std::lround(std::abs(ratio) * 100));
    saving = ratio >= 0 ? tr("%1 % smaller").arg(percent) : tr("%1 % larger").arg(percent);
  }
  const QString looks = output.score
                            //: %1 how alike it looks ("Very close"), %2 the score of 100
                            ? tr("%1 (score %2)")
                                  .arg(core::verdictText(core::verdictFor(*output.score)))
                                  .arg(*output.score, 0, 'f', 1)
                            : tr("quality not checked");
  m_outputText->setText(
      output.trial
          //: a trial encode: %1 the format, %2 the quality, %3 the size, %4 the saving, %5 the
          //: receipt
          ? tr("Trial: %1 at quality %2, %3, %4, %5")
                .arg(format)
                .arg(output.quality)
                .arg(sizeText(output.size), saving, looks)
          //: %1 the format, %2 the quality, %3 the size, %4 the saving, %5 the receipt
          : tr("Output: %1 at quality %2, %3, %4, %5")
                .arg(format)
                .arg(output.quality)
                .arg(sizeText(output.size), saving, looks));
  m_outputText->setAccessibleName(m_outputText->text());
  refreshStatus();
  refreshUseQuality();
}

void CompareView::showDifference() {
  const core::ComparePicture& map = m_model.differenceMap();
  const bool shown = m_difference->isChecked();
  m_canvas->setOverlay(shown ? imageOf(map) : QImage(), shown ? map.pixels : nullptr);
  refreshStatus();
}

void CompareView::refreshStatus() {
  QString text;
  if (!m_model.problem().isEmpty()) {
    text = m_model.problem();
  } else if (m_model.isEncoding()) {
    text = tr("Encoding at quality %1\u2026").arg(m_model.requestedQuality());
  } else if (m_model.original().empty() || m_model.output().picture.empty()) {
    text = tr("Decoding\u2026");
  } else if (m_difference->isChecked() && m_model.differenceMap().empty()) {
    text = tr("Measuring the difference\u2026");
  } else if (!m_model.original().full || !m_model.output().picture.full) {
    text = tr("Decoding at full size\u2026");
  }
  m_status->setText(text);
  m_status->setAccessibleName(text);
}

void CompareView::refreshZoom() {
  const int percent = static_cast<int>(std::lround(m_canvas->scale() * 100));
  m_zoomText->setText(tr("%1 %").arg(percent));
  m_zoomText->setAccessibleName(tr("Zoom %1 %").arg(percent));
}

void CompareView::refreshUseQuality() {
  const core::CompareSubject& subject = m_model.subject();
  const bool can = subject.qualityCanBeChosen && !m_controller.isConverting() &&
                   m_quality->value() != subject.settings.quality;
  m_useQuality->setEnabled(can);
  if (!subject.qualityCanBeChosen) {
    m_useQuality->setToolTip(
        tr("In Auto the quality is the look to reach: choose a format to set one for an image"));
  }
}

void CompareView::qualityChosen() {
  const bool resting = !m_sinceQualityAsked.isValid() ||
                       m_sinceQualityAsked.elapsed() >= kQualityRest || !m_model.isEncoding();
  if (resting && !m_qualityDelay.isActive()) {
    m_sinceQualityAsked.start();
    m_model.requestQuality(m_quality->value());
  } else {
    m_qualityDelay.start();  // asks once the steps rest
  }
}

void CompareView::useQuality() {
  m_controller.convertAtQuality(m_id, m_quality->value());
  accept();
}

}  // namespace quorvane::gui
