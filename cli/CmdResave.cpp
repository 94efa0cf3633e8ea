// orvo-cli resave FILE OUT: reads a hypertext and saves it under another name.
#include <ostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "OpenPages.h"
#include "base/Cp1252.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

int RunResave(CliContext& context) {
    std::vector<std::string> args = context.args;
    const bool openPages = std::erase(args, std::string("--open-pages")) > 0;
    if (args.size() != 2)
        return FailWith(context, "Usage: orvo-cli resave FILE OUT [--open-pages]");
    TKYTset set(context.environment, context.messages);
    // A refused file has shown its message already.
    if (!set.LoadFromFile(Utf8ToCp1252(args[0]))) return 1;
    if (openPages) OpenAndCommitEveryPage(set);
    if (!set.SaveToFile(Utf8ToCp1252(args[1]))) {
        for (const std::string& error : set.Errors()) FailWith(context, error);
        return 1;
    }
    return 0;
}

const CliRegistration kRegistration{
    {"resave", "reads a hypertext and saves it as another file",
     "Usage: orvo-cli resave FILE OUT [--open-pages]\n"
     "Reads the hypertext FILE and saves it as OUT, as the program's Save As does: the save\n"
     "counter goes up by one and the screen resolution is written.\n"
     "  --open-pages  first shows every page in the editor's page surface (without a window)\n"
     "                and commits it, so each text is read and stored as editing does.\n",
     &RunResave}};

}  // namespace
}  // namespace orvo::cli
