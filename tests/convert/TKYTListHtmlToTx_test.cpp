// The list of exported items over a real export of a small hypertext: the rows and every
// column's text, the four orders and their ties, ticks by stamp, stamps advanced and set, the
// files of a row, and renaming.
#include "convert/TKYTListHtmlToTx.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using namespace orvo::test;

std::string Hex6(std::int32_t n) {
    char b[8];
    std::snprintf(b, sizeof b, "%06x", unsigned(n));
    return b;
}

std::string Size(const std::filesystem::path& path) {
    return std::to_string(std::filesystem::file_size(path));
}

class ExportedItemsTest : public ::testing::Test {
protected:
    ExportedItemsTest() : set_(environment_, messages_), html_(&set_), list_(&html_) {
        folder_ = TestDir() / "sito";
        html_.ExportPath = NameOfPath(folder_);
        list_.OnReload = [this](TKYTListHtmlToTx& sender) {
            EXPECT_EQ(&sender, &list_);
            ++reloads_;
        };
    }

    TKYToggetto& Page(std::int32_t identifier, std::string_view title, std::string markup,
                      std::int32_t stamp) {
        auto made = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
        made->Clear();
        made->TakeIntoUse();
        set_.Register(std::move(made), identifier);
        TKYToggetto& page = *set_.ObjectByKind(TOggettiHel::testoHtml, identifier);
        PageRecord record(page);
        record.SetTitle(title);
        record.SetHeader(kNoHeaderFooter);
        record.SetFooter(kNoHeaderFooter);
        page.SetContent(markup + '\0');
        page.SetVersionStamp(stamp);
        return page;
    }
    TKYToggetto& Object(TOggettiHel kind, std::string_view name, std::string_view file,
                        std::string content, std::int32_t stamp) {
        auto made = NewObjectOfKind(kind, &set_);
        made->Clear();
        made->TakeIntoUse();
        const std::int32_t id = set_.Register(std::move(made));
        TKYToggetto& object = *set_.ObjectByKind(kind, id);
        object.SetFileName(file);
        if (kind != TOggettiHel::genLink) object.SetName(name);
        object.SetContent(std::move(content));
        object.SetVersionStamp(stamp);
        return object;
    }

    // Home page 0 links a PDF; pages 1 and 2 have pictures as backgrounds; page 3 is
    // removed; one picture is used by no page.
    void MakeHypertext() {
        set_.SetExpPrefix("");
        guida_ = &Object(TOggettiHel::genLink, "", "C:\\doc\\guida.pdf", std::string(40, 'p'), 5);
        sfondo_ = &Object(TOggettiHel::immagine, "sfondo", "sfondo.gif", std::string(120, 'g'), 7);
        logo_ = &Object(TOggettiHel::immagine, "Logo", "logo.JPG", std::string(33, 'j'), 9);
        Object(TOggettiHel::immagine, "inutile", "inutile.gif", "xx", 1);
        const std::string pdf = Hex8(std::uint32_t(guida_->Code()));
        home_ = &Page(0, "Copertina", "<Z S0 >Leggi la <$" + pdf + ">guida<%>.", 6);
        bravo_ = &Page(1, "bravo", std::string("<Z S0 >Seconda pagina, un poco più lunga"_cp), 7);
        alfa_ = &Page(2, "Alfa", "<Z S0 >Terza", 8);
        PageRecord(*bravo_).SetBackgroundPicture(sfondo_->Identifier());
        PageRecord(*alfa_).SetBackgroundPicture(logo_->Identifier());
        Page(3, "Tolta", "<Z S0 >", 4).Clear();
    }
    void Export() {
        list_.ExportedImages.clear();
        ASSERT_TRUE(html_.ExportAllPages(list_.ExportedImages));
        ASSERT_TRUE(html_.WriteObjectFiles(list_.ExportedImages));
    }
    int RowOf(std::string_view caption) const {
        for (std::size_t i = 0; i < list_.Rows().size(); ++i)
            if (list_.Rows()[i].caption == caption) return int(i);
        ADD_FAILURE() << "no row " << caption;
        return -1;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (const TListHtmlRow& row : list_.Rows()) out.push_back(row.caption);
        return out;
    }
    std::vector<std::string> Checked() const {
        std::vector<std::string> out;
        for (const TListHtmlRow& row : list_.Rows())
            if (row.checked) out.push_back(row.caption);
        return out;
    }
    std::string Path(const std::string& name) const { return NameOfPath(folder_ / name); }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoHtml html_;
    TKYTListHtmlToTx list_;
    std::filesystem::path folder_;
    int reloads_ = 0;
    TKYToggetto* guida_ = nullptr;
    TKYToggetto* sfondo_ = nullptr;
    TKYToggetto* logo_ = nullptr;
    TKYToggetto* home_ = nullptr;
    TKYToggetto* bravo_ = nullptr;
    TKYToggetto* alfa_ = nullptr;
};

TEST_F(ExportedItemsTest, RowsOfARealExportShowEveryColumn) {
    MakeHypertext();
    Export();
    // A secondary file beside a page, as a page opened in a new window leaves it.
    WriteFile(folder_ / "-000001.html", "<HTML>secondaria</HTML>\r\n");
    list_.Rebuild();
    EXPECT_EQ(reloads_, 1);
    EXPECT_EQ(list_.FileSortType, TFileSortType::fsType);
    // By type ("CSS", "File", "Immagine", "Pagina"), ties by caption in character-code order;
    // the removed page and the picture no page uses are not listed.
    ASSERT_EQ(Captions(), (std::vector<std::string>{"Stili del testo", "C:\\doc\\guida.pdf", "Logo",
                                                    "sfondo", "Alfa", "Copertina", "bravo"}));
    const auto& rows = list_.Rows();
    using Texts = std::array<std::string, 6>;
    EXPECT_EQ(rows[0].texts,
              (Texts{Size(folder_ / "_style.css"), "CSS", "_style.css", "", "", ""}));
    EXPECT_FALSE(rows[0].code.has_value());
    EXPECT_TRUE(rows[0].checked);
    EXPECT_EQ(rows[0].iconExtension, ".ini");

    const std::string g = "_g" + Hex6(guida_->Identifier()) + ".pdf";
    EXPECT_EQ(rows[1].texts, (Texts{"40", "File", g, "", "", "5"}));
    EXPECT_EQ(rows[1].kind, TOggettiHel::genLink);
    EXPECT_EQ(rows[1].iconExtension, ".pdf");
    EXPECT_EQ(rows[1].code, guida_->Code());
    const std::string logo = "_i" + Hex6(logo_->Identifier()) + ".jpg";
    EXPECT_EQ(rows[2].texts, (Texts{"33", "Immagine", logo, "", "", "9"}));
    EXPECT_EQ(rows[2].iconExtension, ".jpg");
    EXPECT_EQ(rows[3].texts,
              (Texts{"120", "Immagine", "_i" + Hex6(sfondo_->Identifier()) + ".gif", "", "", "7"}));
    EXPECT_EQ(rows[3].kind, TOggettiHel::immagine);
    EXPECT_TRUE(std::filesystem::exists(folder_ / logo));

    EXPECT_EQ(rows[4].texts,
              (Texts{Size(folder_ / "_000002.html"), "Pagina", "_000002.html", "", "", "8"}));
    EXPECT_EQ(rows[5].texts,
              (Texts{Size(folder_ / "_index.html"), "Pagina", "_index.html", "", "", "6"}));
    EXPECT_EQ(rows[6].texts, (Texts{Size(folder_ / "_000001.html"), "Pagina", "_000001.html", "25",
                                    "-000001.html", "7"}));
    EXPECT_EQ(rows[6].code, bravo_->Code());
    EXPECT_EQ(rows[6].kind, TOggettiHel::testoHtml);
    EXPECT_EQ(rows[6].iconExtension, ".txt");
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_FALSE(rows[i].checked) << i;
    EXPECT_EQ(list_.ObjectOf(0), nullptr);
    EXPECT_EQ(list_.ObjectOf(6), bravo_);
    EXPECT_EQ(list_.ObjectOf(7), nullptr);
    EXPECT_EQ(list_.ObjectOf(-1), nullptr);

    // Before any export the folder holds nothing and no picture is listed; with a prefix the
    // names follow it.
    std::filesystem::remove_all(folder_);
    list_.ExportedImages.clear();
    set_.SetExpPrefix("guida");
    list_.Rebuild();
    EXPECT_EQ(reloads_, 2);
    ASSERT_EQ(Captions(),
              (std::vector<std::string>{"Stili del testo", "Alfa", "Copertina", "bravo"}));
    EXPECT_EQ(list_.Rows()[0].texts, (Texts{"", "CSS", "guida_style.css", "", "", ""}));
    EXPECT_EQ(list_.Rows()[2].texts, (Texts{"", "Pagina", "guida_index.html", "", "", "6"}));

    // Only the pages for the single-file and file-per-page formats, without files.
    for (TListType type : {TListType::ltOneFile, TListType::ltManyFiles}) {
        list_.ListType = type;
        list_.ExportedImages = {logo_, guida_};
        list_.Rebuild();
        ASSERT_EQ(Captions(), (std::vector<std::string>{"Alfa", "Copertina", "bravo"}));
        EXPECT_EQ(list_.Rows()[1].texts, (Texts{"", "Pagina", "", "", "", "6"}));
        std::string first = "x", second = "y";
        list_.ItemFiles(1, first, second);
        EXPECT_EQ(first, "");  // no file, and never the folder itself
        EXPECT_EQ(second, "");
    }
}

TEST_F(ExportedItemsTest, OrdersAndTheirTies) {
    MakeHypertext();
    Export();
    list_.FileSortType = TFileSortType::fsName;
    list_.Rebuild();
    // Plain character codes: capitals before small letters, "C:\\..." before "Copertina".
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Alfa", "C:\\doc\\guida.pdf", "Copertina",
                                                    "Logo", "Stili del testo", "bravo", "sfondo"}));
    // A header click sorts once and leaves the list's own order alone.
    list_.SortBy(TFileSortType::fsSize);
    EXPECT_EQ(list_.FileSortType, TFileSortType::fsName);
    long long last = -1;
    for (const TListHtmlRow& row : list_.Rows()) {
        const long long size = std::stoll(row.texts[0]);
        EXPECT_LE(last, size) << row.caption;
        last = size;
    }
    EXPECT_EQ(list_.Rows()[0].caption, "Logo");  // 33 bytes, the smallest file
    list_.Rebuild();
    EXPECT_EQ(list_.Rows()[0].caption, "Alfa");

    // Hand-made rows pin the ties: sizes as numbers, empty counting as 0, and kept in place
    // when equal.
    auto& rows = list_.MutableRows();
    auto row = [](std::string caption, std::string size, std::string type, std::string version) {
        TListHtmlRow r;
        r.caption = std::move(caption);
        r.texts = {std::move(size), std::move(type), "", "", "", std::move(version)};
        return r;
    };
    rows = {row("b", "10", "Pagina", "7"), row("a", "9", "Pagina", "7"),
            row("c", "", "CSS", ""),       row("d", "9", "Immagine", "7"),
            row("e", "9", "Pagina", "x7"), row("A", "9", "Pagina", "7")};
    list_.SortBy(TFileSortType::fsSize);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"c", "a", "d", "e", "A", "b"}));
    list_.SortBy(TFileSortType::fsType);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"c", "d", "A", "a", "b", "e"}));
    // By version, then the size as text ("10" before "9"), then caption; an unreadable
    // version sorts as 0xF00000.
    list_.SortBy(TFileSortType::fsVersion);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"b", "A", "a", "d", "c", "e"}));

    EXPECT_EQ(TKYTListHtmlToTx::SortForColumn(0), TFileSortType::fsName);
    EXPECT_EQ(TKYTListHtmlToTx::SortForColumn(1), TFileSortType::fsSize);
    EXPECT_EQ(TKYTListHtmlToTx::SortForColumn(2), TFileSortType::fsType);
    EXPECT_EQ(TKYTListHtmlToTx::SortForColumn(6), TFileSortType::fsVersion);
    for (int column : {3, 4, 5, 7, -1}) EXPECT_FALSE(TKYTListHtmlToTx::SortForColumn(column));
}

TEST_F(ExportedItemsTest, TicksAndStamps) {
    MakeHypertext();
    Export();
    list_.Rebuild();
    // Stamps: guida 5, Copertina 6, bravo 7, sfondo 7, Alfa 8, Logo 9; the style sheet has
    // none and is always newer.
    list_.CheckNewerThan(6);
    EXPECT_EQ(Checked(),
              (std::vector<std::string>{"Stili del testo", "Logo", "sfondo", "Alfa", "bravo"}));
    list_.CheckNewerThan(7);
    EXPECT_EQ(Checked(), (std::vector<std::string>{"Stili del testo", "Logo", "Alfa"}));
    list_.CheckNewerThan(8);
    EXPECT_EQ(Checked(), (std::vector<std::string>{"Stili del testo", "Logo"}));
    list_.MutableRows()[std::size_t(RowOf("Copertina"))].texts[5] = "6a";
    list_.CheckNewerThan(9);
    EXPECT_EQ(Checked(), (std::vector<std::string>{"Stili del testo", "Copertina"}));
    list_.CheckNewerThan(0xF00000);
    EXPECT_TRUE(Checked().empty());
    list_.CheckNewerThan(-1);
    EXPECT_EQ(Checked().size(), list_.Rows().size());
    list_.SetAllChecked(false);
    EXPECT_TRUE(Checked().empty());
    list_.SetAllChecked(true);
    EXPECT_EQ(Checked().size(), list_.Rows().size());

    // Only a page whose stamp is at least the version advances; the row shows the new stamp
    // once refreshed.
    const int bravo = RowOf("bravo");
    EXPECT_FALSE(list_.AdvanceStamp(bravo, 8));
    EXPECT_EQ(bravo_->VersionStamp(), 7);
    EXPECT_TRUE(list_.AdvanceStamp(bravo, 7));
    EXPECT_EQ(bravo_->VersionStamp(), 8);
    EXPECT_TRUE(list_.AdvanceStamp(bravo, 3));
    EXPECT_EQ(bravo_->VersionStamp(), 9);
    EXPECT_EQ(list_.Rows()[std::size_t(bravo)].texts[5], "7");
    EXPECT_FALSE(list_.AdvanceStamp(RowOf("sfondo"), 0));
    EXPECT_EQ(sfondo_->VersionStamp(), 7);
    EXPECT_FALSE(list_.AdvanceStamp(RowOf("Stili del testo"), 0));
    EXPECT_FALSE(list_.AdvanceStamp(99, 0));
    bravo_->SetVersionStamp(INT32_MAX);
    EXPECT_FALSE(list_.AdvanceStamp(bravo, 0));  // never wraps to a negative stamp

    list_.SetStamp(RowOf("sfondo"), 42);
    list_.SetStamp(RowOf("Alfa"), 3);
    list_.SetStamp(RowOf("Stili del testo"), 5);  // no object: nothing
    EXPECT_EQ(sfondo_->VersionStamp(), 42);
    EXPECT_EQ(alfa_->VersionStamp(), 3);
    EXPECT_EQ(list_.Rows()[std::size_t(RowOf("sfondo"))].texts[5], "7");
    list_.RefreshStamps();
    EXPECT_EQ(list_.Rows()[std::size_t(RowOf("sfondo"))].texts[5], "42");
    EXPECT_EQ(list_.Rows()[std::size_t(RowOf("Alfa"))].texts[5], "3");
    EXPECT_EQ(list_.Rows()[std::size_t(RowOf("bravo"))].texts[5], "2147483647");
    EXPECT_EQ(list_.Rows()[std::size_t(RowOf("Copertina"))].texts[5], "6");
    EXPECT_EQ(list_.Rows()[std::size_t(RowOf("Stili del testo"))].texts[5], "");
    // The stamps are the objects' own: a rebuilt list shows them too.
    list_.FileSortType = TFileSortType::fsVersion;
    list_.Rebuild();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Alfa", "C:\\doc\\guida.pdf", "Copertina",
                                                    "Logo", "sfondo", "Stili del testo", "bravo"}));
}

TEST_F(ExportedItemsTest, FilesOfARowAndRenaming) {
    MakeHypertext();
    Export();
    WriteFile(folder_ / "-000001.html", "<HTML></HTML>");
    list_.Rebuild();
    std::string first = "old", second = "old";
    list_.ItemFiles(RowOf("Stili del testo"), first, second);
    EXPECT_EQ(first, Path("_style.css"));
    EXPECT_EQ(second, "");
    list_.ItemFiles(RowOf("bravo"), first, second);
    EXPECT_EQ(first, Path("_000001.html"));
    EXPECT_EQ(second, Path("-000001.html"));
    list_.ItemFiles(RowOf("Copertina"), first, second);
    EXPECT_EQ(first, Path("_index.html"));
    EXPECT_EQ(second, "");
    list_.ItemFiles(RowOf("sfondo"), first, second);
    EXPECT_EQ(first, Path("_i" + Hex6(sfondo_->Identifier()) + ".gif"));
    EXPECT_EQ(second, "");
    // A picture's name is the same in every mode: a second name equal to the first is none.
    list_.MutableRows()[std::size_t(RowOf("sfondo"))].texts[3] = "120";
    list_.ItemFiles(RowOf("sfondo"), first, second);
    EXPECT_EQ(first, Path("_i" + Hex6(sfondo_->Identifier()) + ".gif"));
    EXPECT_EQ(second, "");
    list_.ItemFiles(-3, first, second);
    EXPECT_EQ(first, "");
    EXPECT_EQ(second, "");
    // Images in their own folder.
    html_.ExpSepImage = true;
    list_.Rebuild();
    list_.ItemFiles(RowOf("Logo"), first, second);
    EXPECT_EQ(first, Path("images/_i" + Hex6(logo_->Identifier()) + ".jpg"));

    // Renaming a row renames its object (a page's title, a picture's name); the style sheet
    // has none.
    const int bravo = RowOf("bravo");
    ASSERT_TRUE(list_.RenameRow(bravo, "Seconda \xE8 nuova"));
    EXPECT_EQ(PageRecord::Read(*bravo_).Title(), "Seconda \xE8 nuova");
    EXPECT_EQ(list_.Rows()[std::size_t(bravo)].caption, "Seconda \xE8 nuova");
    ASSERT_TRUE(list_.RenameRow(RowOf("Logo"), "Marchio"));
    EXPECT_EQ(logo_->Name(), "Marchio");
    const std::string longTitle(200, 't');
    ASSERT_TRUE(list_.RenameRow(bravo, longTitle));
    EXPECT_LT(list_.Rows()[std::size_t(bravo)].caption.size(), longTitle.size());
    EXPECT_EQ(list_.Rows()[std::size_t(bravo)].caption, bravo_->Name());
    Status refused = list_.RenameRow(RowOf("Stili del testo"), "x");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().text, "Questa riga non si può rinominare"_cp);
    EXPECT_EQ(list_.Rows()[0].caption, "Stili del testo");
    // A row whose object was removed after the rebuild stands for nothing.
    const int alfa = RowOf("Alfa");
    alfa_->Clear();
    EXPECT_EQ(list_.ObjectOf(alfa), nullptr);
    EXPECT_FALSE(list_.RenameRow(alfa, "y"));
    EXPECT_FALSE(list_.AdvanceStamp(alfa, 0));
}

TEST(ExportedItems, WithoutExporterOrHypertext) {
    TKYTListHtmlToTx list;
    int reloads = 0;
    list.OnReload = [&](TKYTListHtmlToTx&) { ++reloads; };
    list.Rebuild();
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(reloads, 1);
    std::string first = "x", second = "y";
    list.ItemFiles(0, first, second);
    EXPECT_EQ(first + second, "");
    TKYTtoHtml html;
    list.LinkedKYTtoHtml = &html;
    list.Rebuild();
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_TRUE(list.RightMouseSelect);
}

}  // namespace
}  // namespace orvo
