// The text form of dictionaries: a JSON document that holds everything a dictionary file
// holds, readable and writable by hand (docs/dictionary-text-form.md).
#pragma once

#include "model/DicFiles.h"
#include "platform/JsonReader.h"

#include <stdexcept>

namespace gs {

// A fault in a text form, with the JSON path of the value at fault.
class ETextForm : public std::runtime_error {
public:
  ETextForm(QString path, QString message)
      : std::runtime_error((path + QStringLiteral(": ") + message).toStdString()), m_path(std::move(path)),
        m_message(std::move(message)) {}
  const QString& Path() const { return m_path; }
  const QString& Message() const { return m_message; }
  QString Text() const { return m_path.isEmpty() ? m_message : m_path + QStringLiteral(": ") + m_message; }

private:
  QString m_path;
  QString m_message;
};

// The text form of a dictionary; paths are written relative to baseFolder.
QString DumpDictionary(const TDicFile& dic, const QString& baseFolder);

// Builds the dictionary described by a text form into dic; relative paths are resolved
// against baseFolder. Raises ETextForm for any fault and EWrongStructure should the result
// not load.
void BuildDictionary(const TJsonValue& document, const QString& baseFolder, TDicFile& dic);

// Names used by the text form.
QString NodeKindName(quint8 kind);
int NodeKindFromName(QStringView name);  // -1 when unknown
QString FunctionName(quint16 id);        // the English title; empty when there is none
int FunctionFromName(QStringView name);  // -1 when unknown
QString StyleName(TEditorStyle style);
int StyleFromName(QStringView name);
// The English name of a node's option (request code, order, logic or requisite kind, sign);
// empty when the value has none.
QString OptionName(quint8 kind, quint8 option);
int OptionFromName(quint8 kind, QStringView name);  // -1 when unknown

} // namespace gs
