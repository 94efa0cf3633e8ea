// orvo-cli info FILE: the header of a hypertext, one "name: value" line per field.
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

int RunInfo(CliContext& context) {
    if (context.args.size() != 1) return FailWith(context, "Usage: orvo-cli info FILE");
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(context.args[0]))) return 1;
    const RecordView h = set.HeaderView();
    for (const FieldSpec& field : kHeaderFields) {
        if (field.name == "reserved") continue;
        context.out << field.name << ": ";
        switch (field.cell) {
            case Cell::U8:
                context.out << int(h.U8(field));
                break;
            case Cell::I16:
                context.out << h.I16(field);
                break;
            case Cell::U16:
                context.out << h.U16(field);
                break;
            case Cell::I32:
                context.out << h.I32(field);
                break;
            case Cell::PStr:
                context.out << Cp1252ToUtf8(h.PStr(field));
                break;
            case Cell::Raw: {
                // The information text ends at its first 0x00.
                std::string_view raw = h.Raw(field);
                context.out << Cp1252ToUtf8(raw.substr(0, raw.find('\0')));
                break;
            }
        }
        context.out << '\n';
    }
    return 0;
}

const CliRegistration kRegistration{
    {"info", "prints the header of a hypertext",
     "Usage: orvo-cli info FILE\n"
     "Prints the header of the hypertext FILE, one \"name: value\" line per field (UTF-8).\n",
     &RunInfo}};

}  // namespace
}  // namespace orvo::cli
