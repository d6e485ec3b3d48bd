#include "shell/FileMessages.h"

#include "formats/Exceptions.h"
#include "formats/Info.h"
#include "platform/Paths.h"
#include "shell/LangFrm.h"

namespace gs {
namespace {

QString KindText(const TSignature& signature) {
  QString text = SignatureText(signature);
  text.remove(QChar(0));
  return text;
}

QString Format(std::uint16_t id, const QString& name, const QString& kind = {}) {
  return FormatLang(LangMessage(id), {ExtractFileName(name), kind});
}

} // namespace

QString FileErrorText(const std::exception& error, const QString& fileName, TFileErrorContext context) {
  const bool opening = context == TFileErrorContext::Opening;
  if (const auto* e = dynamic_cast<const EWrongFileName*>(&error)) {
    const QString name = e->FileName().isEmpty() ? fileName : e->FileName();
    if (opening) return Format(msgFileNotFound, name);
    return name.isEmpty() ? LangMessage(617) : Format(618, name);
  }
  if (const auto* e = dynamic_cast<const EWrongVersion*>(&error))
    return Format(opening ? msgWrongVersion : 619, fileName, KindText(e->Signature()));
  if (const auto* e = dynamic_cast<const EWrongFormat*>(&error))
    return Format(opening ? msgWrongFormat : 620, fileName, KindText(e->Signature()));
  if (dynamic_cast<const EWrongStructure*>(&error))
    return Format(opening ? msgWrongStructure : 621, fileName);
  if (const auto* e = dynamic_cast<const EFileAccess*>(&error)) {
    const QString name = e->FileName().isEmpty() ? fileName : e->FileName();
    return Format(e->Writing() ? msgFileWriteLocked : msgFileReadLocked, name);
  }
  return {};
}

} // namespace gs
