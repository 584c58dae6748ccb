#include "views/fit_under_menu.h"

#include <QActionGroup>
#include <QInputDialog>

#include "models/byte_size.h"
#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::gui {

namespace {

constexpr std::int64_t kNoLimit = -1;
constexpr std::int64_t kSavedSize = -2;

}  // namespace

const QList<std::int64_t>& FitUnderMenu::sizeChoices() {
  static const QList<std::int64_t> choices = {100'000, 200'000, 500'000, 1'000'000, 2'000'000};
  return choices;
}

FitUnderMenu::FitUnderMenu(core::ConversionViewModel& controller, QWidget* parent)
    : QMenu(parent), m_controller(controller) {
  const QString tip =
      tr("Each image is encoded at the highest quality, up to the one set, whose file is no "
         "larger. PNG and Lossless outputs have no quality to lower: they are only checked");
  menuAction()->setToolTip(tip);
  menuAction()->setStatusTip(tip);
  m_sizes = new QActionGroup(this);
  const auto addChoice = [&](const QString& text, std::int64_t bytes) {
    QAction* action = addAction(text);
    action->setCheckable(true);
    action->setData(QVariant::fromValue<qlonglong>(bytes));
    m_sizes->addAction(action);
    return action;
  };
  //: the size limit is off
  addChoice(tr("&No Limit"), kNoLimit);
  for (const std::int64_t bytes : sizeChoices()) {
    addChoice(core::FileService::formatFileSize(bytes), bytes);
  }
  m_savedSize = addChoice(QString(), kSavedSize);
  connect(m_sizes, &QActionGroup::triggered, this, [this](QAction* action) {
    const qlonglong bytes = action->data().toLongLong();
    if (bytes == kSavedSize) return;  // in force already
    setLimit(bytes == kNoLimit ? std::nullopt : std::optional<std::int64_t>(bytes));
  });
  addSeparator();
  m_otherSize = addAction(tr("&Other Size\u2026"));
  connect(m_otherSize, &QAction::triggered, this, &FitUnderMenu::askForSize);
  connect(&controller, &core::ConversionViewModel::settingsChanged, this, &FitUnderMenu::refresh);
  refresh();
}

void FitUnderMenu::askForSize() {
  const auto& limit = m_controller.settings().options.maxFileSize;
  QString text = limit ? QString::number(*limit / 1000.0, 'g', 6) + u'k' : QStringLiteral("200k");
  QString label =
      tr("Largest file size, in bytes or with k (1000 bytes) or M (1,000,000 "
         "bytes), e.g. 200k or 1.5M:");
  for (;;) {
    bool ok = false;
    text =
        QInputDialog::getText(parentWidget(), tr("Fit Under"), label, QLineEdit::Normal, text, &ok);
    if (!ok) return;
    if (const auto bytes = core::parseByteSize(text.toStdString())) {
      setLimit(*bytes);
      return;
    }
    //: shown again in the dialog after a size it cannot read
    label = tr("\u201c%1\u201d is not a size from 1 byte to 1G. Type e.g. 200k or 1.5M:").arg(text);
  }
}

void FitUnderMenu::setLimit(std::optional<std::int64_t> bytes) {
  core::OutputOptions options = m_controller.settings().options;
  if (options.maxFileSize == bytes) return;
  options.maxFileSize = bytes;
  m_controller.updateOptions(options);
}

void FitUnderMenu::refresh() {
  const auto& limit = m_controller.settings().options.maxFileSize;
  const bool offered = !limit || sizeChoices().contains(*limit);
  m_savedSize->setVisible(!offered);
  if (!offered) m_savedSize->setText(core::FileService::formatFileSize(*limit));
  for (QAction* action : m_sizes->actions()) {
    const QSignalBlocker block(action);
    const qlonglong value = action->data().toLongLong();
    action->setChecked(!limit    ? value == kNoLimit
                       : offered ? value == *limit
                                 : value == kSavedSize);
  }
  //: in the Options menu; %1 is the size limit in force ("200.0 kB")
  setTitle(limit ? tr("Fit &Under: %1").arg(core::FileService::formatFileSize(*limit))
                 : tr("Fit &Under"));
}

}  // namespace quorvane::gui
