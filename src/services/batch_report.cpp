#include "services/batch_report.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "models/quality_verdict.h"
#include "services/atomic_file.h"
#include "services/conversion_errors.h"
#include "services/escaped_text.h"

namespace quorvane::core {

namespace {

// Every name as its own bytes: two names that differ only in bytes that are
// not UTF-8 still differ in the report.
QString pathText(const std::filesystem::path& path) {
  return escapedName(path.native());
}

// The saving in percent, one decimal; absent without both sizes.
std::optional<double> savingPercent(const ReportRow& row) {
  if (!row.outputSize || row.inputSize <= 0) return std::nullopt;
  const double saving = (1.0 - static_cast<double>(*row.outputSize) / row.inputSize) * 100.0;
  return std::round(saving * 10.0) / 10.0;
}

// A CSV field: quoted when it holds a separator, a quote or a line break;
// a leading =, +, - or @ is escaped so no spreadsheet runs it as a formula.
QString csvField(QString text) {
  if (!text.isEmpty() && QStringLiteral("=+-@").contains(text.front())) {
    text.prepend(u'\'');
  }
  if (text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r')) {
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + text + u'"';
  }
  return text;
}

QString formatText(const ReportRow& row) {
  if (row.autoUnchosen) return QStringLiteral("auto");
  return row.sameUnchosen ? QStringLiteral("same") : rawValue(row.format);
}

}  // namespace

ReportRow reportRowFor(const std::filesystem::path& input, qint64 inputSize,
                       const ConversionOutcome& outcome, const BatchSettings& settings) {
  using Kind = ConversionOutcome::Kind;
  using Status = ReportRow::Status;
  ReportRow row;
  row.input = input;
  row.format = outcome.chosenFormat.value_or(settings.encode.format);
  row.quality = outcome.chosenFormat ? outcome.chosenQuality
                                     : outcome.quality.value_or(settings.encode.quality);
  // An Auto image that chose nothing has no format of its own.
  row.autoUnchosen = settings.encode.autoFormat && !outcome.chosenFormat;
  row.sameUnchosen = settings.encode.sameFormat && !outcome.chosenFormat;
  row.lossless = settings.encode.options.lossless;
  row.inputSize = inputSize;
  row.reason = outcome.message;
  row.durationMs = outcome.durationMs;
  row.score = outcome.score;
  row.searchEncodes = outcome.searchEncodes;
  row.fits = outcome.fits;
  switch (outcome.kind) {
    case Kind::Completed:
      row.status = Status::Converted;
      break;
    case Kind::Skipped:
      row.status = Status::Skipped;
      break;
    case Kind::AlreadyConverted:
      row.status = Status::AlreadyConverted;
      break;
    case Kind::KeptOriginal:
      row.status = Status::KeptOriginal;
      break;
    case Kind::Failed:
      row.status = Status::Failed;
      break;
    case Kind::Cancelled:
      row.status = Status::Cancelled;
      break;
  }
  // A skipped image has the size of what was not kept, and no output.
  if (outcome.kind != Kind::Failed && outcome.kind != Kind::Cancelled) {
    row.output = outcome.output;
    row.outputSize = outcome.size;
  }
  return row;
}

QString reportStatusText(ReportRow::Status status) {
  switch (status) {
    case ReportRow::Status::Converted:
      return QStringLiteral("converted");
    case ReportRow::Status::Skipped:
      return QStringLiteral("skipped");
    case ReportRow::Status::AlreadyConverted:
      return QStringLiteral("already converted");
    case ReportRow::Status::KeptOriginal:
      return QStringLiteral("kept original");
    case ReportRow::Status::Failed:
      return QStringLiteral("failed");
    case ReportRow::Status::Cancelled:
      return QStringLiteral("cancelled");
  }
  return {};
}

QByteArray reportCsv(const std::vector<ReportRow>& rows) {
  QString text = QStringLiteral(
      "input,output,format,quality,input_bytes,output_bytes,saving_percent,status,reason,"
      "time_ms,score,looks,lossless,search_encodes,fits\r\n");
  for (const ReportRow& row : rows) {
    const auto saving = savingPercent(row);
    const QStringList fields = {
        csvField(pathText(row.input)),
        csvField(pathText(row.output)),
        formatText(row),
        QString::number(row.quality),
        QString::number(row.inputSize),
        row.outputSize ? QString::number(*row.outputSize) : QString(),
        saving ? QString::number(*saving, 'f', 1) : QString(),
        reportStatusText(row.status),
        csvField(row.reason),
        QString::number(row.durationMs),
        row.score ? QString::number(*row.score, 'f', 2) : QString(),
        row.score ? verdictText(verdictFor(*row.score)) : QString(),
        row.lossless ? QStringLiteral("yes") : QStringLiteral("no"),
        row.searchEncodes ? QString::number(*row.searchEncodes) : QString(),
        row.fits ? (*row.fits ? QStringLiteral("yes") : QStringLiteral("no")) : QString()};
    text += fields.join(u',') + QStringLiteral("\r\n");
  }
  return text.toUtf8();
}

QByteArray reportJson(const std::vector<ReportRow>& rows) {
  QJsonArray items;
  for (const ReportRow& row : rows) {
    QJsonObject item{{QStringLiteral("input"), pathText(row.input)},
                     {QStringLiteral("format"), formatText(row)},
                     {QStringLiteral("quality"), row.quality},
                     {QStringLiteral("input_bytes"), row.inputSize},
                     {QStringLiteral("status"), reportStatusText(row.status)},
                     {QStringLiteral("time_ms"), row.durationMs},
                     {QStringLiteral("lossless"), row.lossless}};
    item.insert(QStringLiteral("output"),
                row.output.empty() ? QJsonValue() : QJsonValue(pathText(row.output)));
    item.insert(QStringLiteral("output_bytes"),
                row.outputSize ? QJsonValue(*row.outputSize) : QJsonValue());
    const auto saving = savingPercent(row);
    item.insert(QStringLiteral("saving_percent"), saving ? QJsonValue(*saving) : QJsonValue());
    item.insert(QStringLiteral("score"),
                row.score ? QJsonValue(std::round(*row.score * 100) / 100) : QJsonValue());
    item.insert(QStringLiteral("looks"),
                row.score ? QJsonValue(verdictText(verdictFor(*row.score))) : QJsonValue());
    item.insert(QStringLiteral("search_encodes"),
                row.searchEncodes ? QJsonValue(*row.searchEncodes) : QJsonValue());
    item.insert(QStringLiteral("fits"), row.fits ? QJsonValue(*row.fits) : QJsonValue());
    item.insert(QStringLiteral("reason"),
                row.reason.isEmpty() ? QJsonValue() : QJsonValue(row.reason));
    items.append(item);
  }
  return QJsonDocument(QJsonObject{{QStringLiteral("images"), items}}).toJson();
}

std::optional<QString> writeReport(const std::filesystem::path& file,
                                   const std::vector<ReportRow>& rows) {
  const bool json = file.extension() == ".json" || file.extension() == ".JSON";
  const QByteArray bytes = json ? reportJson(rows) : reportCsv(rows);
  if (const auto error =
          writeFileAtomically(file, std::string_view(bytes.constData(), bytes.size()))) {
    return systemErrorText(error);
  }
  return std::nullopt;
}

}  // namespace quorvane::core
