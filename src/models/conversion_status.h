// The state of one image in the list.
#pragma once

#include <QString>

namespace quorvane::core {

struct ConversionStatus {
  // Waiting: for the next batch, or for its turn in the running one (a
  // cancelled conversion is waiting again). Skipped: converted but not kept
  // (too little saving), or left alone as converted before; not a failure.
  // KeptOriginal: the output would not have been smaller, so the original
  // stands in for it (message says why).
  enum class Kind { Waiting, Processing, Completed, Error, Skipped, KeptOriginal };

  Kind kind = Kind::Waiting;
  QString message;  // why: the failure's description, or why it was skipped
  QString detail;   // what an encoder tool said about it, for those who ask

  static ConversionStatus waiting() { return {Kind::Waiting, {}, {}}; }
  static ConversionStatus processing() { return {Kind::Processing, {}, {}}; }
  static ConversionStatus completed() { return {Kind::Completed, {}, {}}; }
  static ConversionStatus error(QString message, QString detail = {}) {
    return {Kind::Error, std::move(message), std::move(detail)};
  }
  static ConversionStatus skipped(QString reason) { return {Kind::Skipped, std::move(reason), {}}; }
  static ConversionStatus keptOriginal(QString reason) {
    return {Kind::KeptOriginal, std::move(reason), {}};
  }

  bool isError() const { return kind == Kind::Error; }
  // The last batch gave this image a result it keeps: a start converts it
  // only when every image is finished ("Convert All Again"). Waiting and
  // failed images are what a start converts.
  bool isFinished() const {
    switch (kind) {
      case Kind::Completed:
      case Kind::Skipped:
      case Kind::KeptOriginal:
        return true;
      case Kind::Waiting:
      case Kind::Processing:
      case Kind::Error:
        return false;
    }
    return false;
  }
  // Equal when the same kind and, for errors, the same texts.
  bool operator==(const ConversionStatus&) const = default;
};

}  // namespace quorvane::core
