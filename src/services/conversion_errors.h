// Why a conversion failed, as typed exceptions carrying the text the user sees
// in the item's row. Every failure a conversion reports derives from
// ConversionFailure; CancellationError marks a cancelled conversion, which the
// batch records as cancelled rather than failed.
#pragma once

#include <QString>
#include <cstdint>
#include <exception>
#include <string>
#include <system_error>

#include "codec/codec_result.h"

namespace quorvane::core {

class ConversionFailure : public std::exception {
 public:
  // The user-facing text, translated where it is one of ours: one line.
  virtual QString description() const = 0;
  // More for those who ask (--verbose, a report): what an encoder tool said.
  virtual QString detail() const { return {}; }
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
  enum class Kind {
    ProcessExitedWithError,
    ImageDecodingFailed,
    BmpExportFailed,
    OutputFileNotCreated,
    FileEmpty,
    FileMissing,
    NotAnImage,
    ImageDamaged,
    ImageTooLarge,
    OutOfMemory,
    SizeNotSupported,
    OutputUnreadable,
    SequenceNotSupported,
    DerivedImageNotSupported,
  };

  // `tool` ran and ended with a non-zero status (128 + n for signal n);
  // `toolOutput` is what it wrote to its error output.
  static ConversionError processExitedWithError(QString tool, int exitStatus, int signal,
                                                QString toolOutput);
  static ConversionError imageDecodingFailed() {
    return ConversionError(Kind::ImageDecodingFailed);
  }
  static ConversionError bmpExportFailed() { return ConversionError(Kind::BmpExportFailed); }
  static ConversionError outputFileNotCreated() {
    return ConversionError(Kind::OutputFileNotCreated);
  }
  static ConversionError outputUnreadable() { return ConversionError(Kind::OutputUnreadable); }
  static ConversionError imageTooLarge(std::int64_t width, std::int64_t height);
  // `format` cannot store an image of width x height; `limit` says why
  // ("its sides are at most 16,383 pixels").
  static ConversionError sizeNotSupported(QString format, std::int64_t width, std::int64_t height,
                                          QString limit);
  // The failure a decode reported, in the user's words; `detail` is what
  // the decoder said.
  static ConversionError fromKind(Kind kind, const std::string& detail = {});
  // A kind of image `container` ("HEIF") holds that cannot be read here.
  static ConversionError notSupported(Kind kind, QString container, const std::string& detail);

  Kind kind() const { return m_kind; }
  int exitStatus() const { return m_exitStatus; }
  QString description() const override;
  QString detail() const override { return m_detail; }

 private:
  explicit ConversionError(Kind kind) : m_kind(kind) {}
  Kind m_kind;
  int m_exitStatus = 0;
  int m_signal = 0;
  std::int64_t m_width = 0;
  std::int64_t m_height = 0;
  QString m_name;  // tool or format
  QString m_limit;
  QString m_detail;
};

// A failure of the file system (a folder that cannot be created, a write that
// does not complete), described by what we were doing and the system's reason.
class FileSystemError final : public ConversionFailure {
 public:
  FileSystemError(QString action, std::error_code error);
  const std::error_code& code() const { return m_error; }
  QString description() const override;

 private:
  QString m_action;
  std::error_code m_error;
};

// The system's reason for an error, in our words for the common ones ("No
// space left on the device"), else the system's own text.
QString systemErrorText(const std::error_code& error);

// Throws the failure a codec error stands for: CancellationError, a
// FileSystemError (`action` names what was being written) or a ConversionError.
[[noreturn]] void throwCodecFailure(const codec::CodecError& error, const QString& action = {});

}  // namespace quorvane::core
