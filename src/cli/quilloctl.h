#pragma once

// quilloctl as a function: arguments in, exit status out.

#include <QStringList>

#include "cli/context.h"

namespace quillo::cli {

// `arguments` without the program name.
int RunQuilloctl(const QStringList& arguments, CliContext& context);

}  // namespace quillo::cli
