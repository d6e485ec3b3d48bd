// File-name masks: "*" any run of characters, "?" one character, "[...]" a set or range of
// characters, "[!...]" a negated set; letters compare without regard to case. Runs in
// O(name x mask) time whatever the input.
#pragma once

#include <QString>

namespace gs {

bool MatchesMask(QStringView name, QStringView mask);

} // namespace gs
