#include "shell/FileFilter.h"

#include "shell/LangFrm.h"

namespace gs {
namespace {

QString Entry(const QString& name, const QString& patterns) {
  return FormatLang(QStringLiteral("%s (%s)|%s|"), {name, patterns, patterns});
}

// The names of the kinds are the strings 200 and up, in TFileType order.
QString TypeName(TFileType type) {
  return LangString(TLangSection::Strings, std::uint16_t(200 + int(type) - 1));
}

} // namespace

QString BuildFileFilter(std::initializer_list<TFileType> types, bool allSupported, bool allFiles) {
  QString filter;
  if (allSupported) {
    const QString patterns = u'*' + FileTypeExtension(ftCollection) + QStringLiteral("; *") +
                             FileTypeExtension(ftDictionary) + QStringLiteral("; *") + FileTypeExtension(ftContainer);
    filter += Entry(LangString(TLangSection::Strings, 211), patterns);
  }
  for (int t = ftCollection; t <= ftIcon; ++t)
    for (TFileType member : types)
      if (member == t) filter += Entry(TypeName(member), u'*' + FileTypeExtension(member));
  if (allFiles) filter += Entry(LangString(TLangSection::Strings, 210), QStringLiteral("*.*"));
  return filter;
}

} // namespace gs
