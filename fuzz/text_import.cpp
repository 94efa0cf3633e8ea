// Feeds bytes to the text import as the content of a text file and as clipboard text (code
// mode), and to the text export as a stored page text. The import must give markup that holds
// no control byte and exports back to the same lines; the clipboard stream must read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ByteStream.h"
#include "convert/TextExport.h"
#include "convert/TextImport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace {

// What the export of an imported text must give: the lines joined by CR LF, a tab as eight
// blanks, no other byte below 0x20.
std::string ExpectedText(std::string_view bytes) {
    std::string out;
    bool firstLine = true;
    for (std::string_view line : orvo::SplitTextLines(bytes)) {
        if (!firstLine) out += "\r\n";
        firstLine = false;
        for (char c : line) {
            if (c == '\t')
                out += "        ";
            else if (static_cast<unsigned char>(c) >= 0x20)
                out += c;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static FixedEnvironment environment;
    static RecordingMessages messages;
    TKYTset set(environment, messages);

    // As a text file.
    const std::string text = TextFileToCp1252(bytes);
    if (text.size() > bytes.size()) __builtin_trap();
    std::string markup;
    for (std::string_view line : SplitTextLines(text)) markup += "<Z S0 >" + EscapeTextLine(line);
    if (markup.empty()) markup = "<Z S0 >";
    for (char c : markup)
        if (static_cast<unsigned char>(c) < 0x20) __builtin_trap();
    const std::int32_t page = NewImportedPage(set, markup, 0xFFFFFF, -1);
    if (PageText(set, page) != ExpectedText(text)) __builtin_trap();

    // As clipboard text in code mode: the stream reads back object by object.
    TKYTtoTxt txt(&set);
    MemoryStream stream;
    if (!txt.ImportText(bytes, stream, 1, 0)) __builtin_trap();
    if (!stream.Seek(0)) __builtin_trap();
    std::int32_t head[4] = {};
    if (!stream.ReadExact(head, sizeof head) || head[0] != 1 || head[3] < 0) __builtin_trap();
    for (std::int32_t i = 0; i < head[3]; ++i) {
        std::int32_t entry[2] = {};
        if (!stream.ReadExact(entry, sizeof entry) || entry[1] != i) __builtin_trap();
        auto object = NewObjectOfKind(TOggettiHel::shortObj, &set);
        if (!object->ReadFromStream(stream)) __builtin_trap();
        if (ReferenceText(*object).empty()) __builtin_trap();
    }

    // As a stored page text, with a table and a reference object to find.
    if (set.KindCount(TOggettiHel::tabellaHtml) == 0) {
        auto table = NewObjectOfKind(TOggettiHel::tabellaHtml, &set);
        table->Clear();
        table->TakeIntoUse();
        table->View().SetU8(kTableRows, std::uint8_t(size % 4));
        table->View().SetU8(kTableColumns, std::uint8_t(size % 3));
        set.Register(std::move(table));
        auto marker = NewObjectOfKind(TOggettiHel::shortObj, &set);
        marker->Clear();
        marker->View().SetU8(kRecSubtype, 21);
        set.Register(std::move(marker));
    }
    const std::string plain = PlainText(bytes, StoredTextLookup(set));
    // Every output byte comes from at least one input byte, a reference code (11 bytes) from
    // at most 15.
    if (plain.size() > bytes.size() * 2) __builtin_trap();
    return 0;
}
