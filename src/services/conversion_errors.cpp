#include "services/conversion_errors.h"

#include <QCoreApplication>
#include <QLocale>

#include "codec/image_codec.h"

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

ConversionError ConversionError::processExitedWithError(QString tool, int exitStatus, int signal,
                                                        QString toolOutput) {
  ConversionError error(Kind::ProcessExitedWithError);
  error.m_name = std::move(tool);
  error.m_exitStatus = exitStatus;
  error.m_signal = signal;
  error.m_detail = std::move(toolOutput);
  return error;
}

ConversionError ConversionError::imageTooLarge(std::int64_t width, std::int64_t height) {
  ConversionError error(Kind::ImageTooLarge);
  error.m_width = width;
  error.m_height = height;
  return error;
}

ConversionError ConversionError::sizeNotSupported(QString format, std::int64_t width,
                                                  std::int64_t height, QString limit) {
  ConversionError error(Kind::SizeNotSupported);
  error.m_name = std::move(format);
  error.m_width = width;
  error.m_height = height;
  error.m_limit = std::move(limit);
  return error;
}

ConversionError ConversionError::fromKind(Kind kind, const std::string& detail) {
  ConversionError error(kind);
  error.m_detail = QString::fromStdString(detail);
  return error;
}

ConversionError ConversionError::notSupported(Kind kind, QString container,
                                              const std::string& detail) {
  ConversionError error = fromKind(kind, detail);
  error.m_name = std::move(container);
  return error;
}

QString ConversionError::description() const {
  const QLocale locale;
  switch (m_kind) {
    case Kind::ProcessExitedWithError:
      if (m_signal != 0) {
        //: %1 is an encoder program such as cwebp, %2 a signal number, %3 its name
        return QCoreApplication::translate("ConversionError", "%1 was stopped by signal %2 (%3)")
            .arg(m_name, QString::number(m_signal), QString::fromLocal8Bit(::strsignal(m_signal)));
      }
      //: %1 is an encoder program such as cwebp, %2 its exit status
      return QCoreApplication::translate("ConversionError",
                                         "%1 could not convert the image (exit status %2)")
          .arg(m_name, QString::number(m_exitStatus));
    case Kind::ImageDecodingFailed:
      return QCoreApplication::translate("ConversionError", "Image decoding failed");
    case Kind::BmpExportFailed:
      return QCoreApplication::translate("ConversionError", "BMP export failed");
    case Kind::OutputFileNotCreated:
      return QCoreApplication::translate("ConversionError", "Output file was not created");
    case Kind::FileEmpty:
      return QCoreApplication::translate("ConversionError", "The file is empty");
    case Kind::FileMissing:
      return QCoreApplication::translate("ConversionError", "The file is no longer there");
    case Kind::NotAnImage:
      return QCoreApplication::translate("ConversionError",
                                         "Not an image, or a kind this program cannot read");
    case Kind::ImageDamaged:
      return QCoreApplication::translate("ConversionError", "The image data is damaged");
    case Kind::ImageTooLarge:
      //: %1 x %2 is the image's size in pixels, %3 the largest pixel count allowed
      return QCoreApplication::translate("ConversionError",
                                         "Image too large (%1 × %2 pixels; the limit is %3 pixels)")
          .arg(locale.toString(static_cast<qlonglong>(m_width)),
               locale.toString(static_cast<qlonglong>(m_height)),
               locale.toString(static_cast<qlonglong>(codec::kMaxPixels)));
    case Kind::OutOfMemory:
      return QCoreApplication::translate("ConversionError", "Not enough memory");
    case Kind::SizeNotSupported:
      //: %1 is a format such as WebP, %2 x %3 the output's size, %4 why it does not fit
      return QCoreApplication::translate("ConversionError",
                                         "%1 cannot hold an image of %2 × %3 pixels (%4)")
          .arg(m_name, locale.toString(static_cast<qlonglong>(m_width)),
               locale.toString(static_cast<qlonglong>(m_height)), m_limit);
    case Kind::SequenceNotSupported:
      //: %1 is HEIF or AVIF
      return QCoreApplication::translate("ConversionError", "%1 image sequences are not supported")
          .arg(m_name);
    case Kind::DerivedImageNotSupported:
      //: %1 is HEIF or AVIF. The image is put together from parts (turned, cropped, tiled).
      return QCoreApplication::translate(
                 "ConversionError",
                 "This %1 image is put together in a way the installed HEIF library cannot read")
          .arg(m_name);
    case Kind::OutputUnreadable:
      return QCoreApplication::translate("ConversionError",
                                         "The encoder wrote a file that cannot be read back");
  }
  Q_UNREACHABLE();
}

FileSystemError::FileSystemError(QString action, std::error_code error)
    : m_action(std::move(action)), m_error(error) {}

QString FileSystemError::description() const {
  return m_action + QStringLiteral(": ") + systemErrorText(m_error);
}

QString systemErrorText(const std::error_code& error) {
  if (error.category() == std::generic_category() || error.category() == std::system_category()) {
    switch (error.value()) {
      case ENOSPC:
        return QCoreApplication::translate("ConversionError", "No space left on the device");
      case EDQUOT:
        return QCoreApplication::translate("ConversionError", "The disk quota is used up");
      case EACCES:
      case EPERM:
        return QCoreApplication::translate("ConversionError", "Permission denied");
      case EROFS:
        return QCoreApplication::translate("ConversionError", "The disk is read-only");
      case ENOENT:
        return QCoreApplication::translate("ConversionError", "No such file or folder");
      case ENAMETOOLONG:
        return QCoreApplication::translate("ConversionError", "The name is too long");
      case EEXIST:
        return QCoreApplication::translate("ConversionError", "No free name is left");
      case ENOMEM:
        return QCoreApplication::translate("ConversionError", "Not enough memory");
      default:
        break;
    }
  }
  return QString::fromLocal8Bit(error.message());
}

void throwCodecFailure(const codec::CodecError& error, const QString& action) {
  using Kind = codec::CodecError::Kind;
  switch (error.kind) {
    case Kind::Cancelled:
      throw CancellationError();
    case Kind::Missing:
      throw ConversionError::fromKind(ConversionError::Kind::FileMissing);
    case Kind::Empty:
      throw ConversionError::fromKind(ConversionError::Kind::FileEmpty);
    case Kind::NotAnImage:
      throw ConversionError::fromKind(ConversionError::Kind::NotAnImage, error.detail);
    case Kind::Damaged:
      throw ConversionError::fromKind(ConversionError::Kind::ImageDamaged, error.detail);
    case Kind::TooLarge:
      throw ConversionError::imageTooLarge(error.width, error.height);
    case Kind::OutOfMemory:
      throw ConversionError::fromKind(ConversionError::Kind::OutOfMemory);
    case Kind::FileSystem:
      throw FileSystemError(QCoreApplication::translate("ConversionError", "Cannot read the file"),
                            std::error_code(error.systemError, std::generic_category()));
    case Kind::WriteFailed:
      if (error.systemError != 0) {
        throw FileSystemError(
            action.isEmpty()
                ? QCoreApplication::translate("ConversionError", "Cannot write the output file")
                : action,
            std::error_code(error.systemError, std::generic_category()));
      }
      throw ConversionError::outputFileNotCreated();
    case Kind::Unsupported:
      if (error.feature == codec::CodecError::Feature::ImageSequence) {
        throw ConversionError::notSupported(ConversionError::Kind::SequenceNotSupported,
                                            QString::fromStdString(error.container), error.detail);
      }
      if (error.feature == codec::CodecError::Feature::DerivedImage) {
        throw ConversionError::notSupported(ConversionError::Kind::DerivedImageNotSupported,
                                            QString::fromStdString(error.container), error.detail);
      }
      break;
  }
  throw ConversionError::imageDecodingFailed();
}

}  // namespace quorvane::core
