// How the core reports a failure: a Result holds either the value of an
// operation or the message that says what failed, naming the file.
#pragma once

#include <QString>

#include <optional>
#include <utility>

// The failure side of a Result: "Cannot open file /path/to/x.hhc", ...
struct Failure {
  QString message;
};

inline Failure Fail(QString message) { return Failure{std::move(message)}; }

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T result) : value(std::move(result)) {}
  Result(Failure failure) : message(std::move(failure.message)) {}

  bool Ok() const { return value.has_value(); }
  explicit operator bool() const { return Ok(); }
  const T& Value() const& { return *value; }
  T& Value() & { return *value; }
  T&& Value() && { return std::move(*value); }
  const T& operator*() const& { return *value; }
  T& operator*() & { return *value; }
  const T* operator->() const { return &*value; }
  T* operator->() { return &*value; }
  // The message of a failure; empty on success.
  const QString& Message() const { return message; }

 private:
  std::optional<T> value;
  QString message;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : failed(true), message(std::move(failure.message)) {}

  bool Ok() const { return !failed; }
  explicit operator bool() const { return Ok(); }
  const QString& Message() const { return message; }

 private:
  bool failed = false;
  QString message;
};

using Status = Result<void>;
