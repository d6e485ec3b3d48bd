// `glossmith generate DICTIONARY [options]`: lines on standard output, one per line.
#pragma once

#include "shell/Commands.h"

namespace gs {

int RunGenerate(const TParsedArgs& args, QTextStream& out, QTextStream& err);

} // namespace gs
