// The Summary page of a generation session as data: five groups of rows with a value, the
// remaining and the total, in the texts the window shows.
#pragma once

#include "platform/FileTimes.h"

#include <QString>
#include <vector>

namespace gs {

class TSession;

struct TSummaryRow {
  QString caption;
  QString value, remaining, total;  // empty where the row shows nothing
};

struct TSummaryGroup {
  TSummaryRow own;  // the group row's figures, shown while it is collapsed
  std::vector<TSummaryRow> rows;
};

// "hh:nn:ss:zzz" with hours, else "nn:ss:zzz" with minutes, else "ss:zzz".
QString SummaryTimeText(TDateTime days);

// tryCount: the try count setting of the job.
std::vector<TSummaryGroup> BuildSummary(const TSession& session, quint32 tryCount);

} // namespace gs
