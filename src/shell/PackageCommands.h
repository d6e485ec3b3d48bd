// `glossmith pack MAIN INSTALLER` and `glossmith install INSTALLER...`: the package jobs of the
// command line with a one-line report per file.
#pragma once

#include "shell/Commands.h"

namespace gs {

int RunPack(const TParsedArgs& args, QTextStream& out, QTextStream& err);
int RunInstall(const TParsedArgs& args, QTextStream& out, QTextStream& err);

} // namespace gs
