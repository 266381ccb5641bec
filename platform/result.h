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
  Result(T value) : m_value(std::move(value)) {}
  Result(Failure failure) : m_message(std::move(failure.message)) {}

  bool Ok() const { return m_value.has_value(); }
  explicit operator bool() const { return Ok(); }
  const T& Value() const& { return *m_value; }
  T& Value() & { return *m_value; }
  T&& Value() && { return std::move(*m_value); }
  const T& operator*() const& { return *m_value; }
  T& operator*() & { return *m_value; }
  const T* operator->() const { return &*m_value; }
  T* operator->() { return &*m_value; }
  // The message of a failure; empty on success.
  const QString& Message() const { return m_message; }

 private:
  std::optional<T> m_value;
  QString m_message;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : m_failed(true), m_message(std::move(failure.message)) {}

  bool Ok() const { return !m_failed; }
  explicit operator bool() const { return Ok(); }
  const QString& Message() const { return m_message; }

 private:
  bool m_failed = false;
  QString m_message;
};

using Status = Result<void>;
