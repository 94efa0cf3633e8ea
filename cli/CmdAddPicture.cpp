// orvo-cli addpicture: adds picture files to a hypertext and saves it.
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

int RunAddPicture(CliContext& context) {
    if (context.args.size() < 2)
        return FailWith(context, "addpicture takes FILE.kyt and PICTURE...");
    const std::string document = Utf8ToCp1252(context.args[0]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return FailWith(context, "cannot read " + context.args[0]);

    // Every picture must be taken before anything is saved: a failure leaves the file as it was.
    for (std::size_t i = 1; i < context.args.size(); ++i) {
        const int before = set.KindCount(TOggettiHel::immagine);
        Result<TKYToggetto*> added = set.AddPictureFromFile(Utf8ToCp1252(context.args[i]));
        if (!added) {
            return FailWith(context, Utf8ToCp1252(context.args[i]) + ": " + added.failure().text);
        }
        const TKYToggetto& picture = **added;
        const RecordView record = picture.ReadView();
        context.out << (set.KindCount(TOggettiHel::immagine) > before ? "added" : "already held")
                    << " immagine " << picture.Identifier() << " \"" << Cp1252ToUtf8(picture.Name())
                    << "\" subtype " << int(picture.Subtype()) << ", " << record.I32(kPictureSize)
                    << " bytes, " << record.I16(kPictureWidth) << " x "
                    << record.I16(kPictureHeight) << '\n';
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
     "Usage: orvo-cli addpicture FILE.kyt PICTURE...\n"
     "Reads the hypertext FILE.kyt, adds each PICTURE (.gif, .jpg, .jpeg, .wmf and .emf as they\n"
     "are; .bmp converted to GIF) as a stored picture, and saves the hypertext. A picture whose\n"
     "bytes the hypertext already holds is not added twice. Prints one line per picture: its\n"
     "identifier, name, subtype (0 GIF, 1 other), size in bytes, width and height. When a\n"
     "picture cannot be added, nothing is saved.\n",
     &RunAddPicture}};

}  // namespace
}  // namespace orvo::cli
