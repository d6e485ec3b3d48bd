#include "shell/LangFrm.h"

#include <QHash>
#include <QTextStream>
#include <mutex>

namespace gs {
namespace {

std::mutex g_lookupMutex;
TLangLookup g_lookup;
TMessageHandler g_messageHandler;

quint32 Key(TLangSection section, std::uint16_t id) {
  return (quint32(section) << 16) | id;
}

const QHash<quint32, const char16_t*>& BuiltinIndex() {
  static const QHash<quint32, const char16_t*> index = [] {
    QHash<quint32, const char16_t*> h;
    for (std::size_t i = 0; i < kBuiltinStringCount; ++i)
      h.insert(Key(kBuiltinStrings[i].section, kBuiltinStrings[i].id), kBuiltinStrings[i].text);
    for (std::size_t i = 0; i < kBuiltinMessageCount; ++i)
      h.insert(Key(TLangSection::Strings, kBuiltinMessages[i].id), kBuiltinMessages[i].text);
    return h;
  }();
  return index;
}

QString ExpandBreaks(QString text) {
  return text.replace(u'|', QStringLiteral("\r\n"));
}

} // namespace

void SetLangLookup(TLangLookup lookup) {
  std::lock_guard lock(g_lookupMutex);
  g_lookup = std::move(lookup);
}

QString GetLangString(TLangSection section, std::uint16_t id, const QString& fallback) {
  std::optional<QString> text;
  {
    std::lock_guard lock(g_lookupMutex);
    if (g_lookup) {
      try {
        text = g_lookup(section, id);
      } catch (...) {
        text.reset();  // a text that cannot be read keeps its default
      }
    }
  }
  return ExpandBreaks(text ? *text : fallback);
}

QString BuiltinText(TLangSection section, std::uint16_t id) {
  const char16_t* text = BuiltinIndex().value(Key(section, id), nullptr);
  return text ? QString::fromUtf16(text) : QString();
}

QString LangString(TLangSection section, std::uint16_t id) {
  return GetLangString(section, id, BuiltinText(section, id));
}

QString LangMessage(std::uint16_t id) {
  return LangString(TLangSection::Strings, id);
}

const TMsgData* FindMessage(std::uint16_t id) {
  for (std::size_t i = 0; i < kBuiltinMessageCount; ++i)
    if (kBuiltinMessages[i].id == id) return &kBuiltinMessages[i];
  return nullptr;
}

QString FormatLang(const QString& pattern, const QStringList& args) {
  QString out;
  out.reserve(pattern.size());
  qsizetype next = 0;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar ch = pattern[i];
    if (ch == u'%' && i + 1 < pattern.size()) {
      const QChar kind = pattern[i + 1];
      if (kind == u's' || kind == u'd') {
        if (next < args.size()) out += args[next];
        ++next;
        ++i;
        continue;
      }
      if (kind == u'%') {
        out += u'%';
        ++i;
        continue;
      }
    }
    out += ch;
  }
  return out;
}

void SetMessageHandler(TMessageHandler handler) {
  g_messageHandler = std::move(handler);
}

TMsgAnswer ShowMessageText(std::uint16_t id, const QString& text) {
  static const TMsgData kUnknown{0, u"", TMsgIcon::Information, TMsgButtons::Ok};
  const TMsgData* data = FindMessage(id);
  if (g_messageHandler) return g_messageHandler(data ? *data : kUnknown, text);
  QTextStream err(stderr);
  err << "glossmith: " << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << "\n";
  return data && data->buttons != TMsgButtons::Ok ? TMsgAnswer::No : TMsgAnswer::Ok;
}

TMsgAnswer ShowLangMessage(std::uint16_t id, const QStringList& args) {
  return ShowMessageText(id, FormatLang(LangMessage(id), args));
}

} // namespace gs
