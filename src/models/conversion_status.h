// The state of one image in the list.
#pragma once

#include <QString>

namespace quorvane::core {

struct ConversionStatus {
  enum class Kind { Waiting, Processing, Completed, Cancelled, Error };

  Kind kind = Kind::Waiting;
  QString message;  // the failure's description; empty unless kind is Error
  QString detail;   // what an encoder tool said about it, for those who ask

  static ConversionStatus waiting() { return {Kind::Waiting, {}, {}}; }
  static ConversionStatus processing() { return {Kind::Processing, {}, {}}; }
  static ConversionStatus completed() { return {Kind::Completed, {}, {}}; }
  static ConversionStatus cancelled() { return {Kind::Cancelled, {}, {}}; }
  static ConversionStatus error(QString message, QString detail = {}) {
    return {Kind::Error, std::move(message), std::move(detail)};
  }

  bool isError() const { return kind == Kind::Error; }
  // Equal when the same kind and, for errors, the same texts.
  bool operator==(const ConversionStatus&) const = default;
};

}  // namespace quorvane::core
