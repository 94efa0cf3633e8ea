// orvo-cli refs FILE KIND:ID and orvo-cli delete FILE KIND:ID... [--force]: where objects are
// used, and deleting them with every reference to them.
#include <algorithm>
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "app/ObjectDeletion.h"
#include "app/WhereUsed.h"
#include "base/Cp1252.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

void PrintLines(std::ostream& out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) out << Cp1252ToUtf8(line) << '\n';
}

// The codes of the arguments; false (with the message) for a malformed one.
bool ParseCodes(CliContext& context, std::size_t from, std::vector<std::int32_t>& codes) {
    for (std::size_t i = from; i < context.args.size(); ++i) {
        if (context.args[i] == "--force") continue;
        const auto code = ParseObjectCode(context.args[i]);
        if (!code) {
            FailWith(context, "not an object (KIND:ID): " + Utf8ToCp1252(context.args[i]));
            return false;
        }
        codes.push_back(*code);
    }
    return true;
}

std::string Label(std::int32_t code) {
    return std::string(KindName(CodeKind(code))) + ":" + std::to_string(CodeIdentifier(code));
}

// The kinds of the album's lists; the others (tables, form elements, ...) sit in a page's text
// with content of their own and leave it by editing the page.
bool DeletableKind(int kind) {
    using K = TOggettiHel;
    for (K k : {K::immagine, K::genLink, K::custom, K::testoHtml, K::internetLink, K::immagineNew,
                K::keyword})
        if (kind == KindIndex(k)) return true;
    return false;
}

bool InUse(const TKYTset& set, std::int32_t code) {
    const TKYToggetto* object = set.ObjectByCode(code);
    return object && !object->IsFree();
}

int RunRefs(CliContext& context) {
    if (context.args.size() != 2) return FailWith(context, "Usage: orvo-cli refs FILE KIND:ID");
    std::vector<std::int32_t> codes;
    if (!ParseCodes(context, 1, codes)) return 1;
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(context.args[0]))) return 1;
    if (!InUse(set, codes[0])) return FailWith(context, "no such object: " + Label(codes[0]));
    PrintLines(context.out, ReferenceLines(set, codes[0]));
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

int RunDelete(CliContext& context) {
    const bool force =
        std::find(context.args.begin(), context.args.end(), "--force") != context.args.end();
    std::vector<std::int32_t> codes;
    if (context.args.size() < 2 || context.args[0] == "--force")
        return FailWith(context, "Usage: orvo-cli delete FILE KIND:ID... [--force]");
    if (!ParseCodes(context, 1, codes)) return 1;
    if (codes.empty()) return FailWith(context, "Usage: orvo-cli delete FILE KIND:ID... [--force]");
    const std::string document = Utf8ToCp1252(context.args[0]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return 1;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == 0)
            return FailWith(context, "the first page (testoHtml:0) is never deleted");
        if (!InUse(set, codes[i])) return FailWith(context, "no such object: " + Label(codes[i]));
        if (!DeletableKind(CodeKind(codes[i])))
            return FailWith(context, "not deleted from here (edit its page): " + Label(codes[i]));
    }
    bool used = false;
    for (std::int32_t code : codes) {
        const std::vector<std::string> lines = ReferenceLines(set, code);
        used = used || lines.size() > 1;
        PrintLines(force ? context.out : context.err, lines);
    }
    if (used && !force) return FailWith(context, "in use: nothing deleted (--force deletes)");
    std::vector<std::string> selected;
    for (std::int32_t code : codes) selected.push_back(SelectedLine(set, code));
    const DeletionResult result = DeleteObjects(set, codes);
    for (std::string& line : selected) context.out << Cp1252ToUtf8(DeletedLine(line)) << '\n';
    for (std::size_t i = codes.size(); i < result.deleted.size(); ++i)
        context.out << "with it: " << Label(result.deleted[i]) << '\n';
    if (!set.SaveToFile(document)) {
        std::string why = "cannot save " + document;
        for (const std::string& e : set.Errors()) why += "\n" + e;
        return FailWith(context, why);
    }
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRefs{
    {"refs", "lists the pages and prototypes that use an object",
     "Usage: orvo-cli refs FILE KIND:ID\n"
     "Prints, as the deletion window lists them, the pages and then the prototypes of the\n"
     "hypertext FILE that refer to the object KIND:ID, each with the reason of the reference:\n"
     "  + \"NAME\" \xC3\xA8 presente in/collegato da /utilizzato in:\n"
     "      - page title   {reason}\n"
     "or the single line  - \"NAME\" sembra inutilizzato.\n"
     "KIND is a kind's name (testoHtml, internetLink, genLink, keyword, immagine, custom,\n"
     "immagineNew, ...) or number; ID the object's identifier. Example: immagine:2.\n",
     &RunRefs}};

const CliRegistration kDelete{
    {"delete", "deletes objects and every reference to them",
     "Usage: orvo-cli delete FILE KIND:ID... [--force]\n"
     "Deletes the objects KIND:ID of the hypertext FILE and saves it. When a page or a\n"
     "prototype refers to one of them, the references are printed on standard error and\n"
     "nothing is deleted, unless --force is given: then the references are printed on standard\n"
     "output and go with the objects (a link to a deleted object becomes plain text, an object\n"
     "sitting in a text leaves it, page and header fields naming it are reset, image objects\n"
     "showing a deleted picture are deleted too). The first page (testoHtml:0) is never\n"
     "deleted. Only the kinds the album lists are deleted here: testoHtml, internetLink, genLink,\n"
     "keyword, immagine, custom and immagineNew. Each deleted object's name is printed followed by "
     "\" [X] Cancellato\".\n",
     &RunDelete}};

}  // namespace
}  // namespace orvo::cli
