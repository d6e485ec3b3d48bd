#include "FuzzSupport.h"
#include "documents/InsFiles.h"

#include <QDir>

// The header, then the payload unpacked into a scratch folder that nothing may leave.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gs::FuzzSetUp();
  const QString file = gs::FuzzFile(data, size, QStringLiteral("f.qpi"));
  static QTemporaryDir scratch;
  const QString target = scratch.filePath(QStringLiteral("t"));
  try {
    gs::TInsFile installer(file);
    (void)installer.Entries();
    installer.Extract(target);
  } catch (const gs::EWrongStructure&) {
  } catch (const gs::EWrongFormat&) {
  }
  // Anything written beside the target folder escaped it.
  const QStringList beside = QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  if (beside.size() > 1 || (beside.size() == 1 && beside.front() != u"t")) __builtin_trap();
  QDir(target).removeRecursively();
  return 0;
}
