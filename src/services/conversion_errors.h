// Why a conversion failed, as typed exceptions carrying the text the user sees
// in the item's row. Every failure a conversion reports derives from
// ConversionFailure; CancellationError marks a cancelled conversion, which the
// batch records as cancelled rather than failed.
#pragma once

#include <QString>
#include <exception>
#include <string>
#include <system_error>

namespace quorvane::core {

class ConversionFailure : public std::exception {
 public:
  // The user-facing text, translated where it is one of ours.
  virtual QString description() const = 0;
  const char* what() const noexcept override;

 private:
  mutable std::string m_what;
};

class CancellationError final : public ConversionFailure {
 public:
  QString description() const override;
};

// The converter's own failures.
class ConversionError final : public ConversionFailure {
 public:
  enum class Kind { ProcessExitedWithError, ImageDecodingFailed, BmpExportFailed, OutputFileNotCreated };

  static ConversionError processExitedWithError(int exitStatus, QString message);
  static ConversionError imageDecodingFailed() { return ConversionError(Kind::ImageDecodingFailed); }
  static ConversionError bmpExportFailed() { return ConversionError(Kind::BmpExportFailed); }
  static ConversionError outputFileNotCreated() { return ConversionError(Kind::OutputFileNotCreated); }

  Kind kind() const { return m_kind; }
  int exitStatus() const { return m_exitStatus; }
  const QString& message() const { return m_message; }
  QString description() const override;

 private:
  explicit ConversionError(Kind kind) : m_kind(kind) {}
  Kind m_kind;
  int m_exitStatus = 0;
  QString m_message;
};

// A failure of the file system (a folder that cannot be created, a write that
// does not complete), described by the system's own message.
class FileSystemError final : public ConversionFailure {
 public:
  FileSystemError(QString action, std::error_code error);
  const std::error_code& code() const { return m_error; }
  QString description() const override;

 private:
  QString m_action;
  std::error_code m_error;
};

}  // namespace quorvane::core
