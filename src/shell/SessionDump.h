// The JSON forms of a session and of a parse, as `glossmith dump` and `generate --parse` print
// them.
#pragma once

#include <QString>

namespace gs {

class TJsonWriter;
class TParse;
class TSession;

// The groups in order, each with its elements and their figures.
void WriteParseJson(TJsonWriter& json, const TParse& parse);
// The statistics, the results as a collection and the parse.
QString DumpSession(const TSession& session);

} // namespace gs
