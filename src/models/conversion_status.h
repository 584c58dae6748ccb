// The state of one image in the list.
#pragma once

#include <QString>

namespace quorvane::core {

struct ConversionStatus {
  enum class Kind { Waiting, Processing, Completed, Cancelled, Error };

  Kind kind = Kind::Waiting;
  QString message;  // the failure's description; empty unless kind is Error

  static ConversionStatus waiting() { return {Kind::Waiting, {}}; }
  static ConversionStatus processing() { return {Kind::Processing, {}}; }
  static ConversionStatus completed() { return {Kind::Completed, {}}; }
  static ConversionStatus cancelled() { return {Kind::Cancelled, {}}; }
  static ConversionStatus error(QString message) { return {Kind::Error, std::move(message)}; }

  bool isError() const { return kind == Kind::Error; }
  // Equal when the same kind and, for errors, the same message.
  bool operator==(const ConversionStatus&) const = default;
};

}  // namespace quorvane::core
