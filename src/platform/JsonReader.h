// A JSON reader that keeps the order of object members (the text forms depend on it) and
// refuses documents nested deeper than a limit. Errors carry the line and column.
#pragma once

#include <QString>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace gs {

class TJsonValue {
public:
  enum TType { jtNull, jtBool, jtNumber, jtString, jtArray, jtObject };
  using TMember = std::pair<QString, TJsonValue>;

  TType Type() const { return m_type; }
  bool IsNull() const { return m_type == jtNull; }
  bool IsBool() const { return m_type == jtBool; }
  bool IsNumber() const { return m_type == jtNumber; }
  bool IsString() const { return m_type == jtString; }
  bool IsArray() const { return m_type == jtArray; }
  bool IsObject() const { return m_type == jtObject; }

  bool Bool() const { return m_bool; }
  double Number() const { return m_number; }
  const QString& String() const { return m_string; }
  const std::vector<TJsonValue>& Array() const { return m_array; }
  const std::vector<TMember>& Members() const { return m_members; }
  // The first member of that name, or null.
  const TJsonValue* Find(QStringView name) const;

  static TJsonValue MakeNull() { return TJsonValue(jtNull); }
  static TJsonValue MakeBool(bool v);
  static TJsonValue MakeNumber(double v);
  static TJsonValue MakeString(QString v);
  static TJsonValue MakeArray(std::vector<TJsonValue> items);
  static TJsonValue MakeObject(std::vector<TMember> members);

private:
  explicit TJsonValue(TType type) : m_type(type) {}
  TType m_type;
  bool m_bool = false;
  double m_number = 0;
  QString m_string;
  std::vector<TJsonValue> m_array;
  std::vector<TMember> m_members;
};

class EJsonSyntax : public std::runtime_error {
public:
  EJsonSyntax(const QString& message, int line, int column)
      : std::runtime_error(message.toStdString()), m_message(message), m_line(line), m_column(column) {}
  const QString& Message() const { return m_message; }
  int Line() const { return m_line; }
  int Column() const { return m_column; }

private:
  QString m_message;
  int m_line;
  int m_column;
};

constexpr int MaxJsonDepth = 4200;

// Parses a whole document (UTF-8 text already decoded). Raises EJsonSyntax.
TJsonValue ParseJson(QStringView text, int maxDepth = MaxJsonDepth);

} // namespace gs
