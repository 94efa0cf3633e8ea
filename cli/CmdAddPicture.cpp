// orvo-cli addpicture: adds picture files to a hypertext and saves it.
#include <charconv>
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/PagePlacement.h"
#include "platform/FixedMetrics.h"

namespace orvo::cli {
namespace {

bool ParseNumber(const std::string& text, int& value) {
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    return parsed.ec == std::errc() && parsed.ptr == text.data() + text.size() && value >= 0;
}

int RunAddPicture(CliContext& context) {
    std::vector<std::string> operands;
    int page = -1;
    TextPlace place;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        int* target = arg == "--page"   ? &page
                      : arg == "--para" ? &place.paragraph
                      : arg == "--char" ? &place.character
                                        : nullptr;
        if (!target) {
            operands.push_back(arg);
            continue;
        }
        if (i + 1 >= context.args.size() || !ParseNumber(context.args[i + 1], *target))
            return FailWith(context, arg + " takes a number (0 or more)");
        ++i;
    }
    if (page < 0 && (place.paragraph >= 0 || place.character >= 0))
        return FailWith(context, "--para and --char need --page");
    if (operands.size() < 2) return FailWith(context, "addpicture takes FILE.kyt and PICTURE...");
    const std::string document = Utf8ToCp1252(operands[0]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return FailWith(context, "cannot read " + operands[0]);
    TKYToggetto* pageObject = nullptr;
    if (page >= 0) {
        pageObject = set.ObjectByKind(TOggettiHel::testoHtml, page);
        if (!pageObject || pageObject->IsFree())
            return FailWith(context, "the hypertext has no page " + std::to_string(page));
    }
    FixedMetrics metrics;

    // Every picture must be taken before anything is saved: a failure leaves the file as it was.
    for (std::size_t i = 1; i < operands.size(); ++i) {
        const int before = set.KindCount(TOggettiHel::immagine);
        Result<TKYToggetto*> added = set.AddPictureFromFile(Utf8ToCp1252(operands[i]));
        if (!added)
            return FailWith(context, Utf8ToCp1252(operands[i]) + ": " + added.failure().text);
        const TKYToggetto& picture = **added;
        const RecordView record = picture.ReadView();
        context.out << (set.KindCount(TOggettiHel::immagine) > before ? "added" : "already held")
                    << " immagine " << picture.Identifier() << " \"" << Cp1252ToUtf8(picture.Name())
                    << "\" subtype " << int(picture.Subtype()) << ", " << record.I32(kPictureSize)
                    << " bytes, " << record.I16(kPictureWidth) << " x "
                    << record.I16(kPictureHeight) << '\n';
        if (!pageObject) continue;
        // Each further picture follows the one placed before it.
        Result<std::int32_t> image =
            PlaceObjectInPage(set, *pageObject, NewImageObject(set, &picture), place, metrics);
        if (!image)
            return FailWith(context, "page " + std::to_string(page) + ": " + image.failure().text);
        if (place.character >= 0) ++place.character;
        context.out << "placed immagineNew " << *image << " on page " << page << '\n';
    }
    if (!set.SaveToFile(document)) {
        std::string errors;
        for (const std::string& e : set.Errors()) errors += (errors.empty() ? "" : "\n") + e;
        return FailWith(context, errors.empty() ? "cannot save " + document : errors);
    }
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRegistration{
    {"addpicture", "adds pictures to a hypertext and saves it",
     "Usage: orvo-cli addpicture FILE.kyt PICTURE... [--page N [--para P] [--char C]]\n"
     "Reads the hypertext FILE.kyt, adds each PICTURE (.gif, .jpg, .jpeg, .wmf and .emf as they\n"
     "are; .bmp converted to GIF) as a stored picture, and saves the hypertext. A picture whose\n"
     "bytes the hypertext already holds is not added twice. Prints one line per picture: its\n"
     "identifier, name, subtype (0 GIF, 1 other), size in bytes, width and height. When a\n"
     "picture cannot be added, nothing is saved.\n"
     "With --page each picture is also shown in the text of page N as an image: in paragraph P\n"
     "(counted from 0; the last one unless given) before character C (counted from 0; the end\n"
     "of the paragraph unless given), the next picture after it. Prints the image's identifier\n"
     "(for orvo-cli zones). A place outside the text or in a table's paragraph is refused.\n",
     &RunAddPicture}};

}  // namespace
}  // namespace orvo::cli
