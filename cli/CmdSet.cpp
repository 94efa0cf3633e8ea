// orvo-cli set FILE FIELD VALUE: edits one field of a hypertext's header, with the rules of the
// hypertext options window, and saves the file.
#include <charconv>
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "app/HypertextOptions.h"
#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

std::optional<std::int64_t> Number(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

bool Flag(std::string_view text, bool& value) {
    if (text == "1" || text == "on" || text == "yes") return value = true, true;
    if (text == "0" || text == "off" || text == "no") return value = false, true;
    return false;
}

int RunSet(CliContext& context) {
    if (context.args.size() != 3) return FailWith(context, "Usage: orvo-cli set FILE FIELD VALUE");
    const std::string document = Utf8ToCp1252(context.args[0]);
    const std::string field = context.args[1];
    const std::string value = Utf8ToCp1252(context.args[2]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return 1;
    // The language list stays empty: the document's language is set as given.
    HypertextOptions options(set, {});
    auto bad = [&] { return FailWith(context, "not a value for " + field + ": " + value); };
    const std::optional<std::int64_t> number = Number(value);
    auto page = [&](std::optional<std::int32_t>& target, bool noneAllowed) {
        if (noneAllowed && (value == "none" || value == "-1")) {
            target.reset();
            return true;
        }
        if (!number) return false;
        const TKYToggetto* object = set.ObjectByKind(TOggettiHel::testoHtml, std::int32_t(*number));
        if (!object || object->IsFree() || *number < 0 || *number > 0xFFFFFF) return false;
        target = std::int32_t(*number);
        return true;
    };
    auto colour = [&](std::int32_t& target) {
        if (!number || *number < 0 || *number > 0xFFFFFF) return false;
        target = std::int32_t(*number);
        return true;
    };
    bool ok = true;
    if (field == "title")
        options.title = value;
    else if (field == "authors")
        options.authors = value;
    else if (field == "company")
        options.company = value;
    else if (field == "copyright")
        options.copyright = value;
    else if (field == "information")
        options.information = value;
    else if (field == "prefix")
        options.prefix = value;
    else if (field == "password")
        options.password = value;
    else if (field == "readonly")
        ok = Flag(value, options.readOnly);
    else if (field == "cover")
        ok = page(options.coverPage, false);
    else if (field == "contents")
        ok = page(options.contentsPage, true);
    else if (field == "header")
        ok = page(options.headerPage, true);
    else if (field == "footer")
        ok = page(options.footerPage, true);
    else if (field == "background")
        ok = colour(options.backgroundColour);
    else if (field == "text")
        ok = colour(options.textColour);
    else if (field == "link")
        ok = colour(options.linkColour);
    else if (field == "visited")
        ok = colour(options.visitedColour);
    else if (field == "picture") {
        if (value == "none" || value == "-1") {
            options.useBackgroundPicture = false;
        } else {
            TKYToggetto* picture =
                number ? set.ObjectByKind(TOggettiHel::immagine, std::int32_t(*number)) : nullptr;
            ok = picture && !picture->IsFree();
            if (ok) options.ChooseBackgroundPicture(picture);
        }
    } else if (field != "language") {
        return FailWith(context, "unknown field: " + field);
    }
    if (field == "language") ok = number && *number > 0 && *number <= 0xFFFF;
    if (!ok) return bad();
    options.Apply({});
    if (field == "language") set.HeaderRecordView().SetU16(kHdrLanguage, std::uint16_t(*number));
    if (!set.SaveToFile(document)) {
        std::string why = "cannot save " + document;
        for (const std::string& e : set.Errors()) why += "\n" + e;
        return FailWith(context, why);
    }
    return 0;
}

const CliRegistration kRegistration{
    {"set", "edits a field of a hypertext's properties",
     "Usage: orvo-cli set FILE FIELD VALUE\n"
     "Sets one property of the hypertext FILE, as the window \"Opzioni dell'ipertesto\" does,\n"
     "and saves it. Fields:\n"
     "  title, authors, company, copyright  text (79 characters are kept)\n"
     "  information                         text (1256 characters are kept)\n"
     "  prefix, password                    export prefix, read-only password (16 kept)\n"
     "  readonly                            1 or 0: the read-only lock\n"
     "  language                            language identifier (1040 Italian, 1033 English)\n"
     "  cover                               page identifier of the cover page\n"
     "  contents, header, footer            page identifier, or none\n"
     "  background, text, link, visited     colours of new pages (0xBBGGRR or decimal)\n"
     "  picture                             background picture of new pages (identifier of an\n"
     "                                      immagine), or none\n",
     &RunSet}};

}  // namespace
}  // namespace orvo::cli
