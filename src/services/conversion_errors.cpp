#include "services/conversion_errors.h"

#include <QCoreApplication>

namespace quorvane::core {

const char* ConversionFailure::what() const noexcept {
  try {
    m_what = description().toStdString();
  } catch (...) {
    return "conversion failed";
  }
  return m_what.c_str();
}

QString CancellationError::description() const {
  return QCoreApplication::translate("ConversionError", "Cancelled");
}

ConversionError ConversionError::processExitedWithError(int exitStatus, QString message) {
  ConversionError error(Kind::ProcessExitedWithError);
  error.m_exitStatus = exitStatus;
  error.m_message = std::move(message);
  return error;
}

QString ConversionError::description() const {
  switch (m_kind) {
    case Kind::ProcessExitedWithError:
      //: %1 is the tool's exit status, %2 what it wrote to its error output
      return QCoreApplication::translate("ConversionError", "Process exited with code %1: %2")
          .arg(QString::number(m_exitStatus), m_message);
    case Kind::ImageDecodingFailed:
      return QCoreApplication::translate("ConversionError", "Image decoding failed");
    case Kind::BmpExportFailed:
      return QCoreApplication::translate("ConversionError", "BMP export failed");
    case Kind::OutputFileNotCreated:
      return QCoreApplication::translate("ConversionError", "Output file was not created");
  }
  Q_UNREACHABLE();
}

FileSystemError::FileSystemError(QString action, std::error_code error)
    : m_action(std::move(action)), m_error(error) {}

QString FileSystemError::description() const {
  // The system's message, e.g. "Permission denied", after what we were doing.
  return m_action + QStringLiteral(": ") + QString::fromLocal8Bit(m_error.message());
}

}  // namespace quorvane::core
