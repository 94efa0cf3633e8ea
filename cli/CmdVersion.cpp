// orvo-cli version: the program's version.
#include "CliCommand.h"

#include <ostream>

namespace orvo::cli {
namespace {

int RunVersion(CliContext& context) {
    if (!context.args.empty()) return FailWith(context, "version takes no arguments");
    context.out << "Orvo 3.0\n";
    return 0;
}

const CliRegistration kRegistration{{"version", "prints the program's version",
                                     "Usage: orvo-cli version\nPrints the program's version.\n",
                                     &RunVersion}};

}  // namespace
}  // namespace orvo::cli
