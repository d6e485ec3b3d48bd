// The user texts for the file exceptions, composed from the class and its fields.
#pragma once

#include <QString>
#include <exception>

namespace gs {

enum class TFileErrorContext {
  Opening,     // message box texts when a document is opened
  Generation,  // lines of the generation error report
};

// The text for a file exception (EWrongFileName, EWrongFormat, EWrongVersion, EWrongStructure,
// EFileAccess); fileName names the file when the exception carries none. The name is shown
// without its folder. Empty for any other exception.
QString FileErrorText(const std::exception& error, const QString& fileName, TFileErrorContext context);

} // namespace gs
