// The web-page import of form controls and embedded players: the sample's form page exported
// and read again, hostile controls, and the special links an import frees once its pages are
// linked.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlImport.h"
#include "model/FormFields.h"
#include "model/ObjectRecord.h"
#include "model/SampleForms.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FormRecords.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;
using K = TOggettiHel;

struct FormFixture {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};
    FormFixture() { set.NewDocument(); }
};

// The codes "<$" + 8 digits + ">" of a stored text, in order.
std::vector<std::int32_t> CodesOf(std::string_view text) {
    std::vector<std::int32_t> codes;
    for (std::size_t at = text.find("<$"); at != std::string_view::npos;
         at = text.find("<$", at + 2)) {
        std::uint32_t v = 0;
        if (at + 11 <= text.size() && text[at + 10] == '>' &&
            ParseHex(text.substr(at + 2, 8), 8, v) == 8)
            codes.push_back(std::int32_t(v));
    }
    return codes;
}

// What the export writes back of a form object, one line: kind, subtype, names, values, sizes,
// items and text. Sizes the export does not write (a drop-down's, a hidden or radio input's)
// are left out.
std::string FormLine(const TKYToggetto& o) {
    const RecordView r = o.ReadView();
    const int sub = o.Subtype();
    const std::string content = o.ContentBytes() ? *o.ContentBytes() : std::string();
    switch (o.Kind()) {
        case K::inizioForm:
            return "form " + std::to_string(sub) + " " + r.PStr(kFormAction) +
                   (r.U8(kFormHasEncoding) == 1 ? " enc " + r.PStr(kFormEncoding) : "");
        case K::bottoneCGI:
            return "button " + std::to_string(sub) + " " + r.PStr(kButtonName) + "|" +
                   r.PStr(kButtonCaption) + " pic" + std::to_string(r.I32(kButtonPicture)) + " " +
                   std::to_string(r.I16(kButtonWidth)) + "x" + std::to_string(r.I16(kButtonHeight));
        case K::inputStat: {
            // A text area or list has no value of its own.
            const std::string value = sub == 4 || sub == 8 || sub == 9 ? "" : r.PStr(kInputValue);
            std::string s = "input " + std::to_string(sub) + " " + r.PStr(kInputName) + "|" +
                            value + " has" + std::to_string(r.U8(kInputHasValue)) + " checked" +
                            std::to_string(r.U8(kInputChecked));
            if (sub <= 3) s += " size" + std::to_string(r.U8(kInputSize));
            if (sub == 4)
                s += " " + std::to_string(r.U8(kInputRows)) + "x" +
                     std::to_string(r.U8(kInputColumns)) + " [" + content + "]";
            if (sub == 8) s += " size" + std::to_string(r.U8(kInputSize));
            if (sub == 8 || sub == 9) {
                s += " rows" + std::to_string(r.U8(kInputRows)) + " multiple" +
                     std::to_string(r.U8(kInputMultiple));
                for (const FormListItem& item : ReadListItems(content))
                    s += " [" + item.text + "=" + item.value + (item.selected ? "*" : "") + "]";
            }
            return s;
        }
        case K::multiMedia:
            return "media " + std::to_string(sub) + " [" +
                   (o.Auxiliary() ? o.Auxiliary()->substr(4) : std::string("?")) + "]";
        case K::shortObj:
            return "marker " + std::to_string(sub);
        default:
            return {};
    }
}

// The form lines of the objects a text holds, in order.
std::vector<std::string> FormLines(const TKYTset& set, std::string_view text) {
    std::vector<std::string> lines;
    for (std::int32_t code : CodesOf(text)) {
        const TKYToggetto* o = set.ObjectByCode(code);
        if (!o || o->IsFree()) continue;
        if (o->Kind() == K::inizioForm || o->Kind() == K::bottoneCGI || o->Kind() == K::inputStat)
            lines.push_back(FormLine(*o));
    }
    return lines;
}

TEST(HtmlImportForms, SampleFormPageComesBackWithTheSameFormObjects) {
    FormFixture source;
    MakeSampleHypertext(source.set);
    TKYTtoHtml exporter(&source.set);
    const std::filesystem::path out = TestDir() / "formtrip";
    exporter.ExportPath = NameOfPath(out);
    std::vector<TKYToggetto*> images;
    ASSERT_TRUE(exporter.ExportAllPages(images));
    const TKYToggetto* page = source.set.ObjectByKind(K::testoHtml, SampleFormPage(source.set));
    ASSERT_NE(page, nullptr);
    const std::vector<std::string> before = FormLines(source.set, *page->ContentBytes());
    ASSERT_EQ(before.size(), 13u);

    FormFixture back;
    THt2Imp run(back.set, {false, 0xFFFFFF, -1, out});
    run.ImportFiles({NameOfPath(out / NativePath(exporter.ObjectFileName(*page, 0)))});
    ASSERT_EQ(run.ImportedPages.size(), 1u);
    const std::string text =
        *back.set.ObjectByKind(K::testoHtml, run.ImportedPages[0])->ContentBytes();
    EXPECT_EQ(FormLines(back.set, text), before);
    // The bell's player comes back as an applet whose code is what stood before "</EMBED>".
    std::vector<std::string> media;
    for (std::int32_t code : CodesOf(text))
        if (CodeKind(code) == KindIndex(K::multiMedia))
            media.push_back(FormLine(*back.set.ObjectByCode(code)));
    EXPECT_EQ(media, std::vector<std::string>{"media 5 [\r\n]"});
}

TEST(HtmlImportForms, HostileControlsMakeBoundedObjects) {
    const std::string longName(5000, 'n');
    struct Case {
        std::string html;
        std::vector<std::string> lines;  // of every object the text holds
        std::string words;               // the page text that is left, without codes
    };
    const Case cases[] = {
        {"<input>x", {"input 1 | has0 checked0 size20"}, "x"},
        {"<INPUT TYPE=Password NAME=p VALUE=\"a&amp;b\" SIZE=99999 CHECKED>",
         {"input 2 p|a&b has1 checked1 size255"},
         ""},
        {"<input name=" + longName + " value=" + longName + " size=-4>",
         {"input 1 " + std::string(79, 'n') + "|" + std::string(79, 'n') + " has1 checked0 size0"},
         ""},
        {"<input type=image>", {"button 2 | pic-1 100x100"}, ""},
        {"<input type=submit><input type=reset name=r value=Via>",
         {"button 1 |Submit pic-1 -1x-1", "button 3 r|Via pic-1 -1x-1"},
         ""},
        {"<input type=button value=Go>after", {"marker 11"}, "after"},
        {"<form method=PUT action=\"MAILTO:a@b.it\" enctype=text/plain>",
         {"form 4 a@b.it enc text/plain"},
         ""},
        {"<form method=get action=/cgi>", {"form 1 /cgi"}, ""},
        {"<select name=s><option value=a>Uno<option selected>Due\r\n<p>lost",
         {"input 9 s| has0 checked0 rows2 multiple0 [Uno=a] [Due=*]"},
         ""},
        {"<select size=3 multiple><option value='a\"b<c'>x#y&amp;z</select>z",
         {"input 8 | has0 checked0 size3 rows1 multiple1 [x y z=a\x94"
          "b c]"},
         "z"},
        {"<textarea rows=-5 cols=abc>\r\na<b>b</b>\r\nc&lt;",
         {"input 4 | has1 checked0 0x40 [ab\nc<]"},
         ""},
        {"<textarea name=t></textarea>after", {"input 4 t| has0 checked0 8x40 []"}, "after"},
        {"<embed src=a.mid>after", {"media 5 []"}, "after"},
        {"<embed src=a.mid>inner</embed>after", {"media 5 [inner]"}, "after"},
        {"<iframe src=a.html>inner</iframe>after", {"marker 11"}, "after"},
    };
    for (const Case& c : cases) {
        FormFixture f;
        THt2Imp run(f.set);
        const std::string markup = run.Scan(c.html, "/none/p.html").markup;
        std::vector<std::string> lines;
        for (std::int32_t code : CodesOf(markup)) {
            const TKYToggetto* o = f.set.ObjectByCode(code);
            ASSERT_NE(o, nullptr) << c.html.substr(0, 80);
            lines.push_back(FormLine(*o));
        }
        EXPECT_EQ(lines, c.lines) << c.html.substr(0, 80);
        std::string words;
        for (std::size_t i = 0; i < markup.size(); ++i) {
            if (markup[i] == '<') {
                i = markup.find('>', i);
                if (i == std::string::npos) break;
                continue;
            }
            words += markup[i];
        }
        EXPECT_EQ(words, c.words) << c.html.substr(0, 80);
    }
}

TEST(HtmlImportForms, LinksReplacedByImportedPagesAreFreed) {
    const std::filesystem::path dir = TestDir() / "freedlinks";
    WriteFile(dir / "a.html", "<a href=b.html>B</a><a href=b.html>B2</a><a href=c.html>C</a>");
    WriteFile(dir / "b.html", "<a href=a.html>A</a>");
    FormFixture f;
    auto live = [&] {
        std::vector<std::int32_t> ids;
        for (const auto& l : f.set.KindList(K::speclink))
            if (l && !l->IsFree()) ids.push_back(l->Identifier());
        return ids;
    };
    THt2Imp run(f.set, {false, 0xFFFFFF, -1, dir});
    run.ImportFiles({NameOfPath(dir / "a.html"), NameOfPath(dir / "b.html")});
    ASSERT_EQ(live().size(), 4u);
    ResolveImportedLinks(f.set);
    // Only the link to c.html, which was not imported, is left; it is what a's text names.
    const std::vector<std::int32_t> left = live();
    ASSERT_EQ(left.size(), 1u);
    const std::string text =
        *f.set.ObjectByKind(K::testoHtml, run.ImportedPages[0])->ContentBytes();
    EXPECT_NE(text.find("<$" + Hex8(std::uint32_t(MakeCode(K::speclink, left[0]))) + ">C<%>"),
              std::string::npos)
        << Escaped(text);
}

}  // namespace
}  // namespace orvo
