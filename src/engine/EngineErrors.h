// The engine's own failures. Each carries the text the error report shows.
#pragma once

#include <QString>
#include <exception>

namespace gs {

class EEngineError : public std::exception {
public:
  explicit EEngineError(QString message) : m_message(std::move(message)), m_bytes(m_message.toUtf8()) {}
  const QString& Message() const { return m_message; }
  const char* what() const noexcept override { return m_bytes.constData(); }

private:
  QString m_message;
  QByteArray m_bytes;
};

// A text read as a number that is none.
class EConvertError : public EEngineError {
public:
  explicit EConvertError(const QString& text);
};

// Nesting beyond MaxNestingDepth: blocks, evaluation and link calls together.
class ERecursionError : public EEngineError {
public:
  ERecursionError();
};

// Division or remainder by zero.
class EDivByZeroError : public EEngineError {
public:
  EDivByZeroError() : EEngineError(QStringLiteral("Division by zero")) {}
};

// An element index outside an existing list (zero-based in the message).
class EListIndexError : public EEngineError {
public:
  explicit EListIndexError(qint64 index)
      : EEngineError(QStringLiteral("List index out of bounds (%1)").arg(index)) {}
};

// The integer conversion of the engine; raises EConvertError.
qint32 ToInteger(const QString& text);
// The decimal text of a number; the small ones are made once and shared.
QString IntegerText(qint32 value);

} // namespace gs
