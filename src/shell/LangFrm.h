// Looking up the program's texts: the current language file's text for a section and id, or
// the built-in default. In every text "|" stands for a line break (CR LF). Safe from any
// thread.
#pragma once

#include "shell/LangTables.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace gs {

// Where translated texts come from: the language file, once it is loaded. Returns no text
// for a key it lacks.
using TLangLookup = std::function<std::optional<QString>(TLangSection, std::uint16_t)>;
void SetLangLookup(TLangLookup lookup);

// The text of id in section, or fallback; "|" becomes CR LF in either case.
QString GetLangString(TLangSection section, std::uint16_t id, const QString& fallback);
// The built-in English text (empty when the table has no such entry), unexpanded.
QString BuiltinText(TLangSection section, std::uint16_t id);
// GetLangString with the built-in default.
QString LangString(TLangSection section, std::uint16_t id);
// A message's text in the current language.
QString LangMessage(std::uint16_t id);
const TMsgData* FindMessage(std::uint16_t id);

// The answer to a message box.
enum class TMsgAnswer { Ok, Yes, No, Cancel };
// How messages reach the user: a message box once windows exist. Without a handler the text
// goes to standard error and the answer is OK, or No for a question.
using TMessageHandler = std::function<TMsgAnswer(const TMsgData&, const QString& text)>;
void SetMessageHandler(TMessageHandler handler);
// Looks the message up in "Strings", formats it with the arguments and shows it.
TMsgAnswer ShowLangMessage(std::uint16_t id, const QStringList& args = {});
// Shows a text already composed for message id, in that message's box.
TMsgAnswer ShowMessageText(std::uint16_t id, const QString& text);

// Replaces the placeholders %s and %d, in order, by the arguments; "%%" is a percent sign.
QString FormatLang(const QString& pattern, const QStringList& args);

} // namespace gs
