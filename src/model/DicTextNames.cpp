// The names of the text form: node kinds, option vocabularies, functions and styles.
#include "model/DicTextForm.h"

#include "platform/Text.h"
#include "shell/LangFrm.h"

namespace gs {
namespace {

const char16_t* const kKindNames[NodeKindCount] = {u"root",  u"request",   u"order",    u"selector", u"case",
                                                   u"answer", u"logic",    u"condition", u"requisite", u"command"};
const char16_t* const kStyleNames[] = {u"string", u"integer", u"file", u"folder"};

} // namespace

QString NodeKindName(quint8 kind) {
  return kind < NodeKindCount ? QString::fromUtf16(kKindNames[kind]) : QString::number(kind);
}

int NodeKindFromName(QStringView name) {
  for (int i = 0; i < NodeKindCount; ++i)
    if (SameText(name, QStringView(kKindNames[i]))) return i;
  return -1;
}

QString FunctionName(quint16 id) {
  return id < 256 ? BuiltinText(TLangSection::Strings, quint16(2000 + id)) : QString();
}

int FunctionFromName(QStringView name) {
  for (int i = 0; i < StdFuncs().Count(); ++i) {
    const quint16 id = StdFuncs().Item(i)->Id();
    if (SameText(name, FunctionName(id))) return id;
  }
  return -1;
}

QString StyleName(TEditorStyle style) {
  return QString::fromUtf16(kStyleNames[style]);
}

int StyleFromName(QStringView name) {
  for (int i = 0; i < 4; ++i)
    if (SameText(name, QStringView(kStyleNames[i]))) return i;
  return -1;
}

QString OptionName(quint8 kind, quint8 option) {
  switch (kind) {
  case nkRequest: return BuiltinText(TLangSection::Strings, RequestTitleId(option));
  case nkOrder: return option <= 2 ? BuiltinText(TLangSection::Strings, quint16(1512 + option)) : QString();
  case nkLogic: return option <= 2 ? BuiltinText(TLangSection::Strings, quint16(1528 + option)) : QString();
  case nkRequisite: return option <= 1 ? BuiltinText(TLangSection::Strings, quint16(1546 + option)) : QString();
  case nkSelector:
  case nkCondition: return SignText(option);
  default: return {};
  }
}

int OptionFromName(quint8 kind, QStringView name) {
  const bool sign = kind == nkSelector || kind == nkCondition;
  for (int option = 0; option < 256; ++option) {
    const QString known = OptionName(kind, quint8(option));
    if (known.isEmpty()) continue;
    if (sign ? name == known : SameText(name, known)) return option;
  }
  return -1;
}

} // namespace gs
