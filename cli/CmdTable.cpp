// orvo-cli table: lists a page's tables, makes a new one, adds or deletes rows and columns.
#include <charconv>
#include <optional>
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "convert/TextImport.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ObjectViews.h"
#include "objects/uKYTtable.h"
#include "platform/FixedMetrics.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTboxView.h"

namespace orvo::cli {
namespace {

bool ParseNumber(const std::string& text, int& value) {
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    return parsed.ec == std::errc() && parsed.ptr == text.data() + text.size() && value >= 0;
}

// A colour written as in HTML, RRGGBB in hexadecimal (a leading '#' allowed), into the stored
// 0x00BBGGRR; "none" for transparent.
bool ParseColour(std::string text, std::int32_t& value) {
    if (text == "none") {
        value = -1;
        return true;
    }
    if (!text.empty() && text.front() == '#') text.erase(0, 1);
    unsigned rgb = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
    if (text.size() != 6 || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size())
        return false;
    value = std::int32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    return true;
}

// The tables standing in the page's own paragraphs, in the order of the text.
std::vector<TMyyTable*> PageTables(TKYTbox& box, ObjectViewHost& views) {
    std::vector<TMyyTable*> tables;
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i)
        for (const TKYToggetto* object : box.Paragraph(i).objects)
            if (object && object->Kind() == TOggettiHel::tabellaHtml)
                if (auto* table = dynamic_cast<TMyyTable*>(views.ViewOf(*object)))
                    tables.push_back(table);
    return tables;
}

int RunTable(CliContext& context) {
    std::vector<std::string> operands;
    std::string action;
    std::vector<int> numbers;
    int para = -1, character = -1, style = 0;
    std::int32_t first = kNewTableFirstColour, second = kNewTableSecondColour;
    const std::vector<std::pair<std::string, int>> actions{
        {"--new", 2},         {"--add-rows", 3},    {"--add-cols", 3},
        {"--delete-rows", 3}, {"--delete-cols", 3}, {"--set-cell", 3}};
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        int* single = arg == "--para"    ? &para
                      : arg == "--char"  ? &character
                      : arg == "--style" ? &style
                                         : nullptr;
        if (arg == "--first" || arg == "--second") {
            if (i + 1 >= context.args.size() ||
                !ParseColour(context.args[i + 1], arg == "--first" ? first : second))
                return FailWith(context, arg + " takes a colour RRGGBB or none");
            ++i;
            continue;
        }
        if (single) {
            if (i + 1 >= context.args.size() || !ParseNumber(context.args[i + 1], *single))
                return FailWith(context, arg + " takes a number (0 or more)");
            ++i;
            continue;
        }
        int count = -1;
        for (const auto& [name, n] : actions)
            if (arg == name) count = n;
        if (count < 0) {
            operands.push_back(arg);
            continue;
        }
        if (!action.empty()) return FailWith(context, "one action at a time");
        action = arg;
        for (int k = 0; k < count; ++k) {
            int v = 0;
            if (i + 1 >= context.args.size() || !ParseNumber(context.args[i + 1], v))
                return FailWith(context, arg + " takes " + std::to_string(count) + " numbers");
            numbers.push_back(v);
            ++i;
        }
    }
    // --set-cell takes the cell's text after its three numbers.
    std::string cellText;
    if (action == "--set-cell") {
        if (operands.size() != 3)
            return FailWith(context, "--set-cell takes TABLE ROW COLUMN and the cell's text");
        cellText = Utf8ToCp1252(operands.back());
        operands.pop_back();
    }
    if (operands.size() != 2) return FailWith(context, "table takes FILE.kyt and PAGE");
    int pageId = 0;
    if (!ParseNumber(operands[1], pageId)) return FailWith(context, "PAGE must be a number");
    if (style > 11) return FailWith(context, "--style takes 0 to 11");

    const std::string document = Utf8ToCp1252(operands[0]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return FailWith(context, "cannot read " + operands[0]);
    const TKYToggetto* pageObject = set.ObjectByKind(TOggettiHel::testoHtml, pageId);
    if (!pageObject || pageObject->IsFree())
        return FailWith(context, "the hypertext has no page " + operands[1]);

    FixedMetrics metrics;
    RecordingBoxHost surface(600, 400);
    ManualScheduler scheduler;
    // The table commands report through the command's messages: a refusal fails the command.
    RecordingMessages messages;
    ObjectViewHost views(surface, set, messages, scheduler);
    views.SetReadOnly(false);
    TKYTboxViewFactory factory(metrics, views);
    HeadlessFrameSet frames;
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    TKYTpage page(set, frames, factory, undo, spell, scheduler);
    page.SetReadOnly(false);
    if (!page.ShowText(pageId) || !factory.Last())
        return FailWith(context, "cannot show page " + operands[1]);
    TKYTbox& box = factory.Last()->Box();
    views.SetBox(&box);

    bool changed = false;
    if (action == "--new") {
        const int rows = numbers[0], columns = numbers[1];
        if (rows < 1 || rows > kNewTableMaxRows || columns < 1 || columns > kTableMaxColumns)
            return FailWith(context, "a new table has 1 to 200 rows and 1 to 50 columns");
        const std::int32_t count = box.LastEditable() - box.FirstEditable() + 1;
        const std::int32_t p = para < 0 ? count - 1 : para;
        if (p >= count)
            return FailWith(context, "the page has " + std::to_string(count) + " paragraphs");
        const std::int32_t index = box.FirstEditable() + p;
        const std::int32_t length = std::int32_t(box.Paragraph(index).text.size());
        const std::int32_t c = character < 0 ? length : character;
        if (c > length)
            return FailWith(context, "paragraph " + std::to_string(p) + " has " +
                                         std::to_string(length) + " characters");
        TKYTTextPos caret;
        caret.paraIndex = index;
        caret.charIndex = c;
        box.SetCaret(caret);
        auto table = NewObjectOfKind(TOggettiHel::tabellaHtml, &set);
        table->Clear();
        table->TakeIntoUse();
        NewTableChoice choice;
        choice.rows = rows;
        choice.columns = columns;
        choice.style = style;
        choice.first = first;
        choice.second = second;
        if (std::optional<std::string> backgrounds =
                ApplyNewTable(TableRecord(table->View()), choice))
            table->SetAuxiliary(std::move(*backgrounds));
        const TKYToggetto* placed = table.get();
        EditContext edit(set, *const_cast<TKYTtesto*>(page.WorkingText()), messages);
        TKYTTextAttributes attributes(box, edit);
        if (!attributes.InsertObject(std::move(table), false))
            return FailWith(context, "the table could not be placed");
        auto* view = dynamic_cast<TMyyTable*>(views.ViewOf(*placed));
        if (!view) return FailWith(context, "the table could not be shown");
        view->AttachNew();
        view->ApplyBackgrounds();
        RelayoutObjectParagraph(box, *placed);
        changed = true;
    } else if (!action.empty()) {
        const std::vector<TMyyTable*> tables = PageTables(box, views);
        const int which = numbers[0], n = numbers[1], at = numbers[2];
        if (action == "--set-cell") {
            if (which >= int(tables.size()))
                return FailWith(context,
                                "the page has " + std::to_string(tables.size()) + " tables");
            TMyyTable& table = *tables[std::size_t(which)];
            if (!table.CellAt(n, at))
                return FailWith(context, "the table has no cell " + std::to_string(n) + " " +
                                             std::to_string(at));
            // One paragraph of style 1 holding the text.
            const std::string markup = "<Z S1 >" + EscapeForMarkup(cellText) + std::string(1, '\0');
            std::string stream("\x04\0\0\0", 4);
            for (int b = 0; b < 4; ++b) stream += char((markup.size() >> (8 * b)) & 0xFF);
            stream += markup + std::string(4, '\0');
            if (!table.ReadCellContents(stream, at, at, n, n))
                return FailWith(context, "the cell's text could not be read");
            table.LayoutCells(table.LastWidth(), true);
            RelayoutObjectParagraph(box, *table.Object());
            changed = true;
        }
    }
    if (!changed && action != "--new" && !action.empty()) {
        const std::vector<TMyyTable*> tables = PageTables(box, views);
        const int which = numbers[0], n = numbers[1], at = numbers[2];
        if (which >= int(tables.size()))
            return FailWith(context, "the page has " + std::to_string(tables.size()) + " tables");
        TMyyTable& table = *tables[std::size_t(which)];
        bool done = false;
        if (action == "--add-rows") done = table.AddRows(at, n);
        if (action == "--add-cols") done = table.AddColumns(at, n);
        if (action == "--delete-rows") done = n > 0 && table.RequestDeleteRows(at, at + n - 1);
        if (action == "--delete-cols") done = n > 0 && table.RequestDeleteColumns(at, at + n - 1);
        scheduler.RunPending();
        if (!done) {
            std::string why = "refused: " + action.substr(2) + " " + std::to_string(n) + " at " +
                              std::to_string(at) + " of a " + std::to_string(table.RowCount()) +
                              " x " + std::to_string(table.ColumnCount()) + " table";
            for (const Message& m : messages.Shown()) why += "\n" + m.text;
            return FailWith(context, why);
        }
        changed = true;
    }
    const std::vector<TMyyTable*> tables = PageTables(box, views);
    for (std::size_t t = 0; t < tables.size(); ++t)
        context.out << "table " << t << ": " << tables[t]->RowCount() << " x "
                    << tables[t]->ColumnCount() << '\n';
    if (!changed) return context.out.good() ? 0 : FailWith(context, "cannot write the output");
    if (!page.CommitText()) return FailWith(context, "the page could not be stored");
    views.Clear();
    if (!set.SaveToFile(document)) return FailWith(context, "cannot save " + document);
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRegistration{
    {"table", "lists, makes and changes the tables of a page",
     "Usage: orvo-cli table FILE.kyt PAGE [ACTION]\n"
     "Shows page PAGE of FILE.kyt, runs ACTION on it, stores the page and saves the hypertext;\n"
     "then prints one line per table of the page: its number (from 0, in the order of the\n"
     "text), rows and columns. Without an action only the list is printed.\n"
     "Actions:\n"
     "  --new ROWS COLS [--style S] [--first RRGGBB] [--second RRGGBB] [--para P] [--char C]\n"
     "      a new table of ROWS (1 to 200) by COLS (1 to 50) empty cells in a paragraph of its\n"
     "      own, before character C of paragraph P (from 0; the end of the last one unless\n"
     "      given); S is the new-table style 0 to 11 (0, plain, unless given); the styles 1\n"
     "      to 11 colour the cells with the first and second colours (hexadecimal as in HTML,\n"
     "      or none for transparent; a light blue C0E0F0 and a light grey E0E0E0 unless given)\n"
     "  --add-rows TABLE N AT, --add-cols TABLE N AT\n"
     "      N empty rows (columns) before row (column) AT; a table holds at most 255 rows and\n"
     "      50 columns\n"
     "  --delete-rows TABLE N AT, --delete-cols TABLE N AT\n"
     "      deletes N rows (columns) from AT; the last row or column is never deleted\n"
     "  --set-cell TABLE ROW COLUMN TEXT\n"
     "      the cell's text becomes one paragraph holding TEXT\n"
     "A refused change leaves the file as it was and fails with the reason.\n",
     &RunTable}};

}  // namespace
}  // namespace orvo::cli
