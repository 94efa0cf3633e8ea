// orvo-cli new FILE: writes a new, empty hypertext.
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

int RunNew(CliContext& context) {
    if (context.args.size() != 1) return FailWith(context, "Usage: orvo-cli new FILE");
    TKYTset set(context.environment, context.messages);
    set.NewDocument();
    if (!set.SaveToFile(Utf8ToCp1252(context.args[0]))) {
        for (const std::string& error : set.Errors()) FailWith(context, error);
        return 1;
    }
    return 0;
}

const CliRegistration kRegistration{
    {"new", "writes a new, empty hypertext",
     "Usage: orvo-cli new FILE\n"
     "Writes a new hypertext with no pages and the two built-in styles to FILE (.kyt).\n",
     &RunNew}};

}  // namespace
}  // namespace orvo::cli
