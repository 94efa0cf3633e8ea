// orvo-cli tree FILE: the page tree of a hypertext as indented text.
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

void Print(std::ostream& out, const TreeNode& node, int level) {
    out << std::string(std::size_t(level) * 2, ' ') << Cp1252ToUtf8(node.Text());
    if (node.Kind() == TreeNodeKind::Chapter) out << '/';
    if (node.Kind() == TreeNodeKind::Object) out << " [" << CodeIdentifier(node.Code()) << ']';
    out << '\n';
    for (const auto& child : node.Children()) Print(out, *child, level + 1);
}

int RunTree(CliContext& context) {
    if (context.args.size() != 1) return FailWith(context, "Usage: orvo-cli tree FILE");
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(context.args[0]))) return 1;
    TKYTorderedTree tree(&set);
    tree.LoadTree();
    for (const auto& node : tree.Nodes().TopLevel()) Print(context.out, *node, 0);
    return 0;
}

const CliRegistration kRegistration{
    {"tree", "prints the page tree of a hypertext",
     "Usage: orvo-cli tree FILE\n"
     "Prints the page tree of the hypertext FILE, one node a line, indented by two blanks a\n"
     "level: the root (the document's name), chapters followed by \"/\", and pages followed by\n"
     "their identifier in brackets. A document without a stored tree shows the tree it would\n"
     "get: the root and every page in identifier order. Lines of a stored tree that cannot be\n"
     "read are reported on standard error and left out.\n",
     &RunTree}};

}  // namespace
}  // namespace orvo::cli
