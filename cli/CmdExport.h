// The formats of orvo-cli export.
#pragma once

#include "CliCommand.h"

namespace orvo::cli {

/// orvo-cli export html FILE OUTDIR [--prefix P] [--ext htm|html] [--sep-images] [--orig-names]
int RunExportHtml(CliContext& context);

}  // namespace orvo::cli
