// A small JSON writer that keeps keys in the order they are written (QJsonObject sorts them)
// and indents by two blanks. The caller writes a well-formed sequence of calls.
#pragma once

#include <QString>
#include <vector>

namespace gs {

class TJsonWriter {
public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  void Key(QStringView name);

  void String(QStringView text);
  void Integer(qint64 value);
  void Number(double value);
  void Bool(bool value);
  void Null();

  const QString& Text() const { return m_text; }

private:
  struct TLevel {
    bool array = false;
    bool empty = true;
  };
  void BeforeValue();
  void Close(char16_t bracket);
  void NewLine();

  QString m_text;
  std::vector<TLevel> m_levels;
  bool m_afterKey = false;
};

QString JsonQuote(QStringView text);

} // namespace gs
