// The HTML of tables: TABLE, TR and TD with widths and backgrounds, cell texts through the text
// writer, nested tables, and markup that is cut short or names no table.
#include <gtest/gtest.h>

#include <string>

#include "convert/HtmlExport.h"
#include "model/uKYTset.h"
#include "objects/TableRules.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

class HtmlTablesTest : public ::testing::Test {
protected:
    HtmlTablesTest() : set_(environment_, messages_), html_(&set_) {}

    std::string Body(const std::string& markup) {
        TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, 0);
        if (!page) {
            auto made = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
            made->Clear();
            made->TakeIntoUse();
            set_.Register(std::move(made), 0);
            page = set_.ObjectByKind(TOggettiHel::testoHtml, 0);
        }
        page->SetContent(markup + '\0');
        TExportContext context;
        context.images = &images_;
        return html_.WriteBody(0, context, *page);
    }
    // A registered table of rows x columns; its code in markup.
    std::string Table(int rows, int columns, int style = 0) {
        auto made = NewObjectOfKind(TOggettiHel::tabellaHtml, &set_);
        made->Clear();
        made->TakeIntoUse();
        TKYToggetto* raw = made.get();
        const std::optional<std::string> list = ApplyNewTable(
            TableRecord(raw->View()), {rows, columns, style, 0x0000FF, 0x00FF00, false});
        if (list) raw->SetAuxiliary(*list);
        const std::int32_t id = set_.Register(std::move(made));
        table_ = set_.ObjectByKind(TOggettiHel::tabellaHtml, id);
        char code[16];
        std::snprintf(code, sizeof code, "<$08%06x>", unsigned(id));
        return code;
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoHtml html_;
    std::vector<TKYToggetto*> images_;
    TKYToggetto* table_ = nullptr;
};

TEST_F(HtmlTablesTest, TwoByTwoTableRowsCellsAndTheParagraphAround) {
    const std::string code = Table(2, 2);
    const std::string body =
        Body("<Z S0 >" + code + "<Z S0 >a<T><Z S0 >b<T><Z S0 >c<T><Z S0 >d<T><Z S0 >dopo");
    const std::string td = "<TD WIDTH=50% VALIGN=\"top\"  >\r\n";
    auto para = [](const char* text) {
        return std::string("<DIV class=s0 >\r\n") + text + "&nbsp;</DIV>\r\n";
    };
    const std::string expected =
        "<DIV class=s0 >\r\n"
        "<TABLE WIDTH=100% BORDER=0 CELLPADDING=2 CELLSPACING=2 >\r\n"
        "<TR>\r\n" +
        td + para("a") + "</TD>\r\n" + td + para("b") + "</TD></TR>\r\n<TR>\r\n" + td + para("c") +
        "</TD>\r\n" + td + "<DIV class=s0 >\r\nd\r\n&nbsp;</DIV>\r\n</TD></TR></TABLE></DIV>\r\n" +
        para("dopo");
    EXPECT_NE(body.find(expected), std::string::npos) << body;
}

TEST_F(HtmlTablesTest, BackgroundsNestedTablesAndBrokenMarkup) {
    // Style 2: even rows the first background (red), odd rows the second (green).
    const std::string outer = Table(2, 1, 2);
    const std::string inner = Table(1, 2);
    const std::string body =
        Body("<Z S0 >" + outer + "<Z S0 >" + inner + "<Z S0 >x<T><Z S0 >y<T><T><Z S0 >z<T>");
    EXPECT_NE(body.find("<TD WIDTH=100% VALIGN=\"top\"  BGCOLOR=#FF0000 >"), std::string::npos)
        << body;
    EXPECT_NE(body.find("<TD WIDTH=100% VALIGN=\"top\"  BGCOLOR=#00FF00 >"), std::string::npos);
    // The inner table sits in the outer's first cell, wholly.
    const std::size_t first = body.find("<TABLE"), second = body.find("<TABLE", first + 1);
    const std::size_t innerEnd = body.find("</TABLE>", second);
    const std::size_t outerEnd = body.find("</TABLE>", innerEnd + 1);
    ASSERT_NE(outerEnd, std::string::npos) << body;
    EXPECT_LT(body.find("\nx&nbsp;"), innerEnd);
    EXPECT_GT(body.find("\nz\r\n&nbsp;"), innerEnd);
    EXPECT_LT(body.find("\nz\r\n&nbsp;"), outerEnd);
    EXPECT_EQ(body.find("<TABLE", outerEnd), std::string::npos);

    // A "<T>" with no table is skipped; a text that ends inside a table closes it.
    const std::string stray = Body("<Z S0 >a<T>b");
    EXPECT_EQ(stray, Body("<Z S0 >ab"));
    const std::string cut = Body("<Z S0 >" + Table(2, 2) + "<Z S0 >a<T><Z S0 >b");
    std::size_t opened = 0, closed = 0;
    for (std::size_t p = cut.find("<TD"); p != std::string::npos; p = cut.find("<TD", p + 1))
        ++opened;
    for (std::size_t p = cut.find("</TD>"); p != std::string::npos; p = cut.find("</TD>", p + 1))
        ++closed;
    EXPECT_EQ(opened, closed) << cut;
    EXPECT_NE(cut.find("</TABLE>"), std::string::npos);
    // A table record with no cells writes an empty table, not a row without cells.
    TableRecord(table_->View()).SetRows(0);
    const std::string none = Body("<Z S0 >" + std::string("<$08") + [&] {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%06x", unsigned(table_->Identifier()));
        return std::string(hex);
    }() + "><Z S0 >after");
    EXPECT_NE(none.find("CELLSPACING=2 >\r\n</TABLE></DIV>"), std::string::npos) << none;
}

}  // namespace
}  // namespace orvo
