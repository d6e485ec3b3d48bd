#include "engine/ErrorReport.h"

#include "engine/EngineErrors.h"
#include "engine/Generator.h"
#include "platform/Paths.h"
#include "shell/FileMessages.h"
#include "shell/LangFrm.h"

namespace gs {
namespace {

QString Shown(const TValue* value) {
  return value ? ShownForm(*value) : QString();
}

QString Context(const TGenerator& g) {
  if (const TFunction* f = g.CurrentFunction) {
    if (g.CurrentParam >= 0 && g.CurrentParam < f->ParamCount())
      return FormatLang(LangMessage(601), {f->ParamTitle(g.CurrentParam), f->DisplayName()});
    return FormatLang(LangMessage(602), {f->DisplayName()});
  }
  const TDicNode* node = g.CurrentNode;
  if (!node) return {};
  switch (node->Kind()) {
  case nkCase: return FormatLang(LangMessage(603), {Shown(g.CurrentValue), Shown(node->NearestSelectorValue())});
  case nkAnswer: return FormatLang(LangMessage(604), {Shown(g.CurrentValue), RequestTitle(node->NearestRequestCode())});
  case nkCondition: return FormatLang(LangMessage(605), {Shown(g.CurrentValue), SignText(node->Option())});
  default: return {};
  }
}

QString Failure(const std::exception& error, const TGenerator& g) {
  if (const auto* eo = dynamic_cast<const EEOException*>(&error)) return EOMessage(*eo);
  if (const auto* engine = dynamic_cast<const EEngineError*>(&error)) return engine->Message();
  const QString file = FileErrorText(error, g.DicFile(), TFileErrorContext::Generation);
  return file.isEmpty() ? QString::fromUtf8(error.what()) : file;
}

std::array<QString, 3> Row(const TDicNode& n) {
  std::array<QString, 3> row;
  switch (n.Kind()) {
  case nkRequest: row[0] = RequestTitle(n.Option()); break;
  case nkOrder: row[0] = OrderTitle(n.Option()); break;
  case nkLogic: row[0] = LogicTitle(n.Option()); break;
  case nkRequisite: row[0] = RequisiteTitle(n.Option()); break;
  default: if (n.Value1()) row[0] = CellText(*n.Value1()); break;
  }
  if (n.Kind() == nkSelector || n.Kind() == nkCondition) row[1] = SignText(n.Option());
  if (n.Kind() == nkCondition && n.Value2()) row[2] = CellText(*n.Value2());
  return row;
}

} // namespace

TErrorReport BuildErrorReport(const TGenerator& g, const std::exception& error) {
  TErrorReport report;
  report.heading = FormatLang(LangMessage(600), {ExtractFileName(g.DicFile())});
  const QString context = Context(g);
  const QString failure = Failure(error, g);
  report.message = context.isEmpty() ? failure : context + u' ' + failure;
  report.fatal = dynamic_cast<const ERecursionError*>(&error) != nullptr;
  for (const TDicNode* n = g.CurrentNode; n && n->Kind() != nkRoot; n = n->Parent())
    report.path.insert(report.path.begin(), Row(*n));
  return report;
}

} // namespace gs
