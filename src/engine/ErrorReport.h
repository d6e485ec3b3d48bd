// The report of a failed try: what the generation error window and the command line show.
#pragma once

#include <QString>
#include <array>
#include <exception>
#include <vector>

namespace gs {

class TGenerator;

struct TErrorReport {
  QString heading;   // "File "x.qdx" raised generation time error."
  QString message;   // the context and the failure
  // The path of nodes from the request down to the current node: title or value, sign,
  // second value.
  std::vector<std::array<QString, 3>> path;
  bool fatal = false;  // only Terminate can follow (the recursion failure)
};

// Reads the context from the generator in which the failure happened.
TErrorReport BuildErrorReport(const TGenerator& generator, const std::exception& error);

} // namespace gs
