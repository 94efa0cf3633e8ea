// A page's text in its two forms: opening it (stored object codes become local link codes and
// page-object codes of working copies) and storing it back; and the markup host of an opened
// text, through which its paragraphs are read and written.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "model/Markup.h"
#include "model/uKYTogge.h"

namespace orvo {

class TKYTset;

/// Opens the text of `page` for editing: a working copy whose content (ending with one 0x00
/// byte; "<Z S0 >" for a page without text) is in working form. The objects of kinds
/// internetLink, tabellaHtml, speclink, shortObj, dbloc, immagineNew and 20..24 that its codes
/// name get working copies owned by the text: links in `links` (code 0x6F000000 + index), the
/// others in `pageObjects` (code 0xFF000000 + index). A secondary text is a header or footer:
/// its objects are marked as such.
std::unique_ptr<TKYTtesto> OpenText(TKYTset& set, const TKYToggetto& page, bool isSecondary);

/// Stores `workingMarkup` (the text's paragraphs as the writer writes them, with or without
/// the final 0x00) into `page`: the objects the page's previous text embedded are freed, every
/// working object named by a 0x6F or 0xFF code is registered with the hypertext (a web link
/// equal to an existing one becomes that one) and its code written in place; consecutive
/// character codes are neutralised; the page's text version becomes 2 and, when asked, its
/// version stamp the save counter. A page titled "Senza titolo" gets a title from its text.
void StoreText(TKYTset& set, TKYTtesto& text, std::string_view workingMarkup, TKYToggetto& page,
               bool raiseVersionStamp);

/// The title a page gets from its text (working or stored form): the characters of its first
/// paragraph, and of the second when the first gives at most 5, without codes.
std::string TitleFromText(std::string_view markup);

/// Table cells kept in memory for a table object, its size taken from the table's record
/// (at most 255 rows and 50 columns).
class MemoryTableCells final : public ITableCells {
public:
    MemoryTableCells(int rows, int columns);
    int Rows() const override { return rows_; }
    int Columns() const override { return columns_; }
    const Paragraphs& CellParagraphs(int row, int column) const override;
    void SetCellParagraphs(int row, int column, Paragraphs paragraphs) override;

private:
    int rows_;
    int columns_;
    std::vector<Paragraphs> cells_;
    Paragraphs none_;
};

/// The markup host of an opened text: the hypertext's styles and the text's page objects.
/// Tables keep their cells in memory unless `tables` gives them (the view that shows a table
/// keeps them in its cell boxes); an image takes its shown
/// size from its record, other objects the size `sizes` gives (none: 0 by 0).
class TextMarkupHost final : public IMarkupHost {
public:
    TextMarkupHost(TKYTset& set, TKYTtesto& text, ITextMeasurer& measurer);

    std::function<ITableCells*(const TKYToggetto&)> tables;
    std::function<ObjectSize(const TKYToggetto&)> sizes;

    ITextMeasurer& Measurer() override { return measurer_; }
    IMessages& Messages() override;
    const TKYToggetto* StyleByNumber(std::int32_t number) override;
    TKYToggetto* PageObject(std::int32_t identifier) override;
    std::int32_t PageObjectIdentifier(const TKYToggetto& object) override;
    ObjectSize SizeOf(const TKYToggetto& object) override;
    ITableCells* TableCells(const TKYToggetto& object) override;

private:
    TKYTset& set_;
    TKYTtesto& text_;
    ITextMeasurer& measurer_;
    std::map<const TKYToggetto*, std::unique_ptr<MemoryTableCells>> cells_;
};

/// Opens the page, reads its text into paragraphs and writes them back in working form: the
/// text as the writer writes it (with its final 0x00).
std::string WorkingMarkupOfPage(TKYTset& set, const TKYToggetto& page, ITextMeasurer& measurer);

/// Opens the page's text into paragraphs and stores them back (the path a page takes when it
/// is edited and saved).
void ReopenAndStorePage(TKYTset& set, TKYToggetto& page, ITextMeasurer& measurer);
/// ReopenAndStorePage for every page in use, in identifier order.
void ReopenAndStoreAllPages(TKYTset& set, ITextMeasurer& measurer);

}  // namespace orvo
