// orvo-cli page FILE PAGE [options]: sets a page's properties with the rules of the page
// properties window (title, alias name, colours, background picture, head code), saves the
// file when something was set, and prints the page's properties.
#include <charconv>
#include <cstdio>
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "app/PageProperties.h"
#include "base/Cp1252.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli page FILE PAGE [--title T] [--alias A] [--colours TEXT,LINK,VISITED,BACK]\n"
    "                     [--background PICTURE] [--head-code FILE]\n"
    "Sets properties of page PAGE of the hypertext FILE as the window \"Propriet\xC3\xA0 pagina\"\n"
    "does, saves FILE when an option was given, and prints the page's properties.\n"
    "  --title T          the page title (71 characters are kept)\n"
    "  --alias A          the second HTML name of the exported page (40 kept; blanks: none)\n"
    "  --colours T,L,V,B  text, link, visited-link and background colours (0xBBGGRR or\n"
    "                     decimal); an empty entry keeps that colour\n"
    "  --background P     background picture: identifier of a picture (immagine), or none\n"
    "  --head-code FILE   the HTML put in the page head, read from FILE; references such as\n"
    "                     !RefI:05000001 name objects of the hypertext\n";

std::optional<std::int32_t> Number(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < -1 || value > 0xFFFFFF) return std::nullopt;
    return std::int32_t(value);
}

std::string Colour(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", unsigned(value) & 0xFFFFFFu);
    return text;
}

std::string Choice(HeaderChoice choice, std::int32_t page) {
    switch (choice) {
        case HeaderChoice::None:
            return "nessuna";
        case HeaderChoice::Global:
            return "globale";
        default:
            return "definita qui " + std::to_string(page);
    }
}

void Print(CliContext& context, std::int32_t number, PageProperties& p) {
    std::ostream& out = context.out;
    out << "page: " << number << '\n';
    out << "title: " << Cp1252ToUtf8(p.title) << '\n';
    out << "alias: " << Cp1252ToUtf8(p.alias) << '\n';
    out << "revision: " << p.revision << '\n';
    out << "colours: text " << Colour(p.textColour) << ", link " << Colour(p.linkColour)
        << ", visited " << Colour(p.visitedColour) << ", background " << Colour(p.backgroundColour)
        << '\n';
    out << "background picture: ";
    if (p.useBackgroundPicture && p.BackgroundPicture())
        out << p.BackgroundPicture()->Identifier() << " "
            << Cp1252ToUtf8(p.BackgroundPicture()->Name()) << '\n';
    else
        out << "none\n";
    out << "fixed background: " << (p.fixedBackground ? "yes" : "no") << '\n';
    out << "sequence: " << (p.inSequence ? "yes" : "no") << ", group " << p.group << ", order "
        << p.order << '\n';
    out << "header: " << Choice(p.headerChoice, p.headerPage) << '\n';
    out << "footer: " << Choice(p.footerChoice, p.footerPage) << '\n';
    std::string code = p.Code().CodeText();
    out << "head code:";
    if (code.empty()) {
        out << " none\n";
        return;
    }
    out << '\n';
    if (code.back() != '\n') code += "\r\n";
    out << Cp1252ToUtf8(code);
}

int RunPage(CliContext& context) {
    const auto& args = context.args;
    if (args.size() < 2) return FailWith(context, kUsage.substr(0, kUsage.find('\n')));
    const std::string document = Utf8ToCp1252(args[0]);
    const std::optional<std::int32_t> number = Number(args[1]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return FailWith(context, "cannot read " + args[0]);
    TKYToggetto* page = number ? set.ObjectByKind(TOggettiHel::testoHtml, *number) : nullptr;
    if (!page || page->IsFree()) return FailWith(context, "the document has no page " + args[1]);

    PageProperties p(set, *page, nullptr, context.environment, context.messages);
    bool changed = false;
    for (std::size_t i = 2; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) return FailWith(context, option + " needs a value");
        const std::string value = Utf8ToCp1252(args[i + 1]);
        if (option == "--title") {
            p.title = value;
        } else if (option == "--alias") {
            p.alias = value;
        } else if (option == "--colours") {
            std::int32_t* targets[] = {&p.textColour, &p.linkColour, &p.visitedColour,
                                       &p.backgroundColour};
            std::size_t start = 0;
            for (int k = 0; k < 4; ++k) {
                const std::size_t end = k < 3 ? value.find(',', start) : value.size();
                if (end == std::string::npos) return FailWith(context, "--colours needs 4 entries");
                const std::string entry = value.substr(start, end - start);
                if (!entry.empty()) {
                    const auto colour = Number(entry);
                    if (!colour || *colour < 0) return FailWith(context, "not a colour: " + entry);
                    *targets[k] = *colour;
                }
                start = end + 1;
            }
            if (start <= value.size()) return FailWith(context, "--colours takes 4 entries");
        } else if (option == "--background") {
            if (value == "none" || value == "-1") {
                p.useBackgroundPicture = false;
            } else {
                const auto id = Number(value);
                TKYToggetto* picture = id ? set.ObjectByKind(TOggettiHel::immagine, *id) : nullptr;
                if (!picture || picture->IsFree())
                    return FailWith(context, "the document has no picture " + args[i + 1]);
                p.ChooseBackgroundPicture(picture);
            }
        } else if (option == "--head-code") {
            if (!p.Code().ChooseTemplate(value, {}))
                return FailWith(context, "cannot read " + args[i + 1]);
            p.Code().Editor().Commit();
        } else {
            return FailWith(context, "unknown option: " + option);
        }
        changed = true;
    }
    if (changed) {
        p.Apply({});
        if (!set.SaveToFile(document)) {
            std::string why = "cannot save " + document;
            for (const std::string& e : set.Errors()) why += "\n" + e;
            return FailWith(context, why);
        }
        // What was stored, as the file now holds it.
        TKYToggetto* saved = set.ObjectByKind(TOggettiHel::testoHtml, *number);
        if (!saved) return FailWith(context, "the saved document has no page " + args[1]);
        PageProperties again(set, *saved, nullptr, context.environment, context.messages);
        Print(context, *number, again);
    } else {
        Print(context, *number, p);
    }
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRegistration{
    {"page", "sets and prints a page's properties", kUsage, &RunPage}};

}  // namespace
}  // namespace orvo::cli
