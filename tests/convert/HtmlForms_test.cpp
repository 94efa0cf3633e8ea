// Forms, buttons, media, markers, special links, window scripts, custom code and frame sets in
// the exported pages, byte for byte; hostile names and values stay inside their attributes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlScripts.h"
#include "model/ObjectRecord.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/FormRecords.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"
#include "textbox/FrameRecord.h"

namespace orvo {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using K = TOggettiHel;

std::string Code(TOggettiHel kind, std::int32_t id) {
    return "<$" + Hex8(std::uint32_t(MakeCode(kind, id))) + ">";
}

std::string CustomStream(std::string_view code) {
    return std::string(4, '\0') + std::string(code);
}

class HtmlForms : public ::testing::Test {
protected:
    HtmlForms() : set_(environment_, messages_), html_(&set_) {
        for (int i = 0; i < 30; ++i) Page(i, "<Z S0 >p" + std::to_string(i));
    }
    TKYToggetto& Page(std::int32_t identifier, const std::string& markup) {
        TKYToggetto* page = set_.ObjectByKind(K::testoHtml, identifier);
        if (!page) {
            auto made = NewObjectOfKind(K::testoHtml, &set_);
            made->Clear();
            made->TakeIntoUse();
            set_.Register(std::move(made), identifier);
            page = set_.ObjectByKind(K::testoHtml, identifier);
        }
        page->SetContent(markup + '\0');
        return *page;
    }
    // A new object in use of `kind` with `subtype`, filled by `fill`; its identifier.
    std::int32_t Add(TOggettiHel kind, int subtype,
                     const std::function<void(TKYToggetto&)>& fill = {}) {
        auto made = NewObjectOfKind(kind, &set_);
        made->Clear();
        made->TakeIntoUse();
        made->Record()[4] = std::uint8_t(subtype);
        if (fill) fill(*made);
        return set_.Register(std::move(made));
    }
    std::int32_t Input(FormInputKind kind, const std::string& name, const std::string& value,
                       const std::function<void(TKYToggetto&)>& more = {}) {
        return Add(K::inputStat, int(kind), [&](TKYToggetto& o) {
            o.View().SetPStr(kInputName, name);
            o.View().SetPStr(kInputValue, value);
            o.View().SetU8(kInputHasValue, value.empty() ? 0 : 1);
            o.View().SetU8(kInputChecked, 0);
            o.View().SetU8(kInputMultiple, 0);
            if (more) more(o);
        });
    }
    std::int32_t Special(int type, int action, std::int32_t page, const std::string& name,
                         bool asFrameSet = false, std::int32_t anchor = -1) {
        return Add(K::speclink, type, [&](TKYToggetto& o) {
            o.View().SetU8(kSpecAction, std::uint8_t(action));
            o.View().SetU8(kSpecFrame, asFrameSet ? 1 : 0);
            o.View().SetI32(kSpecTarget, page >= 0 ? MakeCode(K::testoHtml, page) : -1);
            o.View().SetI32(kSpecAnchor, anchor);
            o.View().SetPStr(kSpecName, name);
        });
    }
    std::string Write(std::int32_t page, const std::string& markup) {
        Page(page, markup);
        images_.clear();
        secondaries_.clear();
        return html_.WritePage(*set_.ObjectByKind(K::testoHtml, page), &secondaries_, images_, 0);
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoHtml html_;
    std::vector<TKYToggetto*> images_;
    std::vector<std::int32_t> secondaries_;
};

// Every form input, a button, the form around its paragraph, byte for byte.
TEST_F(HtmlForms, InputsButtonsAndFormsAsWritten) {
    const std::int32_t text = Input(FormInputKind::Text, "nome", "Mario",
                                    [](TKYToggetto& o) { o.View().SetU8(kInputSize, 20); });
    const std::int32_t password = Input(FormInputKind::Password, "pw", "",
                                        [](TKYToggetto& o) { o.View().SetU8(kInputSize, 8); });
    const std::int32_t check = Input(FormInputKind::CheckBox, "ok", "si",
                                     [](TKYToggetto& o) { o.View().SetU8(kInputChecked, 1); });
    const std::int32_t hidden = Input(FormInputKind::Hidden, "h", "7");
    const std::int32_t area = Input(FormInputKind::TextArea, "nota", "x", [](TKYToggetto& o) {
        o.View().SetU8(kInputRows, 3);
        o.View().SetU8(kInputColumns, 30);
        o.SetContent("riga 1\nriga <2>");
    });
    const std::int32_t list = Input(FormInputKind::List, "l", "", [](TKYToggetto& o) {
        o.View().SetU8(kInputSize, 4);
        o.View().SetU8(kInputMultiple, 1);
        o.SetContent("Uno\n1\nN\nDue\n2\ns\n");
        o.SetAuxiliary(CustomStream("class=x"));
    });
    const std::int32_t submit = Add(K::bottoneCGI, 1, [](TKYToggetto& o) {
        o.View().SetPStr(kButtonName, "invia");
        o.View().SetPStr(kButtonCaption, "Invia");
        o.View().SetI32(kButtonLink, -1);
        o.View().SetI32(kButtonPicture, -1);
    });
    const std::int32_t post = Add(K::inizioForm, 2, [](TKYToggetto& o) {
        o.View().SetPStr(kFormAction, "/cgi");
        o.View().SetU8(kFormHasEncoding, 0);
    });
    const std::int32_t mail =
        Add(K::inizioForm, 4, [](TKYToggetto& o) { o.View().SetPStr(kFormAction, "a@b.it"); });
    const std::string page = Write(
        1, "<Z S0 >prima<Z S0 >A" + Code(K::inizioForm, post) + Code(K::inputStat, text) +
               Code(K::inputStat, password) + Code(K::inputStat, check) +
               Code(K::inputStat, hidden) + Code(K::inputStat, area) + Code(K::inputStat, list) +
               Code(K::bottoneCGI, submit) + "<Z S0 >B" + Code(K::inizioForm, mail));
    const std::string expected =
        "<DIV class=s0 >\r\nprima&nbsp;</DIV>\r\n"
        "<FORM TARGET=_top METHOD=POST ACTION=\"/cgi\"  >\r\n<DIV class=s0 >\r\nA"
        "<INPUT NAME=\"nome\" VALUE=\"Mario\" SIZE=20 >\r\n"
        "<INPUT TYPE=password NAME=\"pw\" SIZE=8 >\r\n"
        "<INPUT TYPE=checkbox NAME=\"ok\" VALUE=\"si\" CHECKED  >\r\n"
        "<INPUT TYPE=hidden NAME=\"h\" VALUE=\"7\"  >\r\n"
        "<TEXTAREA NAME=\"nota\" ROWS=3 COLS=30 >\r\nriga 1\r\nriga &lt;2&gt;</TEXTAREA>"
        "<SELECT NAME=\"l\"  SIZE=4 MULTIPLE class=x >"
        "<OPTION VALUE=\"1\" >Uno\r\n<OPTION VALUE=\"2\" SELECTED >Due\r\n</SELECT>"
        "<INPUT TYPE=submit NAME=\"invia\"  VALUE=\"Invia\"  >\r\n"
        "&nbsp;</DIV>\r\n"
        "</FORM><FORM METHOD=POST ACTION=\"mailto:a@b.it\" ENCTYPE=\"text/plain\"  >\r\n"
        "<DIV class=s0 >\r\nB";
    EXPECT_THAT(page, HasSubstr(expected));
    EXPECT_THAT(page, Not(HasSubstr("oggetto")));
}

// Special links in text and on buttons: targets, windows, scripts in the head, secondary
// pages; a window script and a closing link.
TEST_F(HtmlForms, SpecialLinksAndWindowScripts) {
    const std::int32_t popup = Special(1, 2, 26, "w");
    const std::int32_t self = Special(1, 0, 26, "", false, 3);
    const std::int32_t named = Special(1, 1, 26, "destra");
    const std::int32_t anchor = Special(1, 6, -1, "", false, 5);
    const std::int32_t browser = Special(1, 3, 26, "", true);
    const std::int32_t close = Special(2, 0, -1, "w");
    const std::int32_t missing = Special(1, 0, 999, "");
    const std::int32_t button = Add(K::bottoneCGI, 1, [&](TKYToggetto& o) {
        o.View().SetPStr(kButtonCaption, "Vai");
        o.View().SetI32(kButtonLink, MakeCode(K::speclink, popup));
        o.View().SetI32(kButtonPicture, -1);
    });
    const std::int32_t script = Add(K::shortObj, kMarkerWindowScript, [&](TKYToggetto& o) {
        o.View().SetI32(kShortReference, MakeCode(K::speclink, popup));
    });
    // Width 300 and height 200 only: no position pairs, the eight flags.
    std::string features(22, '\0');
    for (std::size_t at : {0u, 2u, 8u, 10u})
        features[at] = char(0xE0), features[at + 1] = char(0xB1);
    features[4] = char(300 & 0xFF), features[5] = char(300 >> 8), features[6] = char(200);
    features[18] = 1;
    set_.ObjectByKind(K::speclink, popup)->SetContent(features);
    const std::string page =
        Write(3, "<Z S0 >" + Code(K::speclink, popup) + "a<%>" + Code(K::speclink, self) + "b<%>" +
                     Code(K::speclink, named) + "c<%>" + Code(K::speclink, anchor) + "d<%>" +
                     Code(K::speclink, browser) + "e<%>" + Code(K::speclink, close) + "f<%>" +
                     Code(K::speclink, missing) + "g<%>" + Code(K::bottoneCGI, button) +
                     Code(K::shortObj, script));
    const std::string call =
        "OrvoF_open('-00001a.html','w','height=200,width=300,dependent=0,fullscreen=0,"
        "location=0,menubar=0,resizable=1,scrollbars=0,status=0,toolbar=0','Pag3');";
    EXPECT_THAT(page, HasSubstr("<A class=s0 HREF=\"javascript:" + call + "\"  >a</A>"));
    EXPECT_THAT(page, HasSubstr("<A class=s0 TARGET=_self HREF=\"-00001a.html#an3\"  >b</A>"));
    EXPECT_THAT(page, HasSubstr("<A class=s0 TARGET=\"destra\" HREF=\"-00001a.html\"  >c</A>"));
    EXPECT_THAT(page, HasSubstr("<A class=s0 HREF=\"#an5\" TARGET=_self  >d</A>"));
    EXPECT_THAT(page,
                HasSubstr("<A class=s0 HREF=\"javascript:OrvoF_openB('_00001a.html');\"  >e"));
    EXPECT_THAT(page, HasSubstr("<A class=s0 HREF=\"javascript:OrvoF_close('w');\"   >f</A>"));
    EXPECT_THAT(page, HasSubstr("</A>g"));  // a link to a missing page is no link
    EXPECT_THAT(page, HasSubstr("<INPUT TYPE=submit VALUE=\"Vai\"   onClick=\"javascript:" + call +
                                "\" >\r\n"));
    EXPECT_THAT(page,
                HasSubstr("\r\n<SCRIPT>\r\n<!--//\r\n  w=" + call + "\r\n//-->\r\n</SCRIPT>\r\n"));
    // Open (8), plain open (16) and close (4) in the head; page 26 exported alone once.
    EXPECT_THAT(page, HasSubstr("function OrvoF_open(newURL"));
    EXPECT_THAT(page, HasSubstr("function OrvoF_openB(newURL)"));
    EXPECT_THAT(page, HasSubstr("function OrvoF_close(finName)"));
    EXPECT_EQ(secondaries_, std::vector<std::int32_t>{26});
}

TEST(WindowNames, CleanedAndMadeIdentifiers) {
    EXPECT_EQ(CleanWindowName("a\"b'c#d\\e\nf"),
              "a\x94"
              "b\x92"
              "c d e f");
    EXPECT_EQ(WindowIdentifier("finestra_2"), "finestra_2");
    EXPECT_EQ(WindowIdentifier("2 finestre"), "OrvoW_2_finestre");
    EXPECT_EQ(WindowIdentifier(""), "OrvoW_");
    EXPECT_EQ(WindowIdentifier("location"), "OrvoW_location");
    EXPECT_EQ(WindowIdentifier("x</SCRIPT>"), "OrvoW_x__SCRIPT_");
    std::uint8_t flags = 0;
    EXPECT_EQ(CloseWindowCall(true, "w", flags), "javascript:OrvoF_close('w');");
    EXPECT_EQ(flags, 4);
    EXPECT_EQ(CloseWindowCall(false, "new", flags),
              "\r\n<SCRIPT><!--//\r\n  OrvoW_new=open('','new' );\r\n  OrvoW_new.close( );"
              "\r\n//--></SCRIPT>\r\n");
    EXPECT_EQ(WindowFeaturesArgument(std::nullopt), ",''");
    EXPECT_EQ(CommentText("a--b-->c-"), "a- -b- ->c- ");
    EXPECT_EQ(CommentText("->x<!--y"), " ->x<! - -y");
}

// Media, anchors, annotations, custom code with its references, a page naming itself.
TEST_F(HtmlForms, MediaMarkersAndCustomCode) {
    const std::int32_t file = Add(K::genLink, 4, [](TKYToggetto& o) {
        o.SetFileName("suono.wav");
        o.SetContent("RIFF");
    });
    const std::int32_t sound = Add(K::multiMedia, 1, [&](TKYToggetto& o) {
        o.View().SetI32(kMediaSource, file);
        o.View().SetI32(kMediaPoster, -1);
        o.View().SetU8(kMediaAction, 0);
    });
    const std::int32_t loop = Add(K::multiMedia, 1, [&](TKYToggetto& o) {
        o.View().SetI32(kMediaSource, file);
        o.View().SetI32(kMediaPoster, -1);
        o.View().SetU8(kMediaAction, 1);
        o.View().SetI16(kMediaCycles, 2);
    });
    const std::int32_t applet = Add(K::multiMedia, 5, [](TKYToggetto& o) {
        o.View().SetI16(kMediaWidth, 50);
        o.View().SetI16(kMediaHeight, 40);
        o.View().SetU8(kMediaPercent, 1);
        o.SetAuxiliary(
            CustomStream("<OBJECT W=!RefX:18000000 H=!RefY:18000000 "
                         "D=!RefP:00000004 S=!RefP:00000005 Q=!RefQ:00000001>"));
    });
    const std::int32_t anchor = Add(K::shortObj, kMarkerAnchor,
                                    [](TKYToggetto& o) { o.View().SetI32(kShortReference, 2); });
    const std::int32_t note = Add(K::shortObj, kMarkerAnnotation, [](TKYToggetto& o) {
        o.View().SetU8(kAnnotationExported, 1);
        o.SetAuxiliary("Nota\r\nnon -->pubblicare");
    });
    Page(4, "<Z S0 >quattro");
    const std::string page =
        Write(5, "<Z S0 >" + Code(K::testoHtml, 4) + "x" + Code(K::shortObj, anchor) + "y<%>" +
                     Code(K::multiMedia, sound) + Code(K::multiMedia, loop) +
                     Code(K::multiMedia, applet) + Code(K::shortObj, note));
    const std::string link = "<A class=s0 HREF=\"_000004.html\"   >";
    EXPECT_THAT(page, HasSubstr(link + "x</A><A NAME=\"an2\"></A>" + link + "y</A>"));
    EXPECT_THAT(page, HasSubstr("<EMBED SRC=\"_g000000.wav\" CONTROLS=SMALLCONSOLE height=15>"
                                "\r\n</EMBED>\r\n"));
    EXPECT_THAT(page, HasSubstr("<EMBED SRC=\"_g000000.wav\" AUTOSTART=true HIDDEN=true LOOP=2>"
                                "\r\n</EMBED>\r\n"));
    // The size and unit, the page's text once (itself is not written into itself), an
    // unknown reference kept.
    EXPECT_THAT(page,
                HasSubstr("<OBJECT W=50% H=40% D=<DIV class=s0 >\r\nquattro&nbsp;</DIV>\r\n S= "
                          "Q=!RefQ:00000001>"));
    EXPECT_THAT(page, HasSubstr("<!--Nota\r\nnon - ->pubblicare-->"));
    ASSERT_EQ(images_.size(), 1u);  // the sound file once
    EXPECT_EQ(images_[0], set_.ObjectByKind(K::genLink, file));
}

// A page with a frame map is a frame set whose frames show the pages' frameless copies, and
// its text follows for readers without frames.
TEST_F(HtmlForms, FrameSetDocument) {
    FrameNode top;
    top.record.SetId(0);
    top.record.SetParent(-1);
    top.record.SetPlacement(0);
    top.record.SetBorder(0);
    FrameNode left, right;
    left.record.SetId(1);
    left.record.SetParent(0);
    left.record.SetName("indice");
    left.record.SetPage(7);
    left.record.SetSizeKind(FrameSizeKind::Pixels);
    left.record.SetPixels(150);
    left.record.SetBorder(0);
    right.record.SetId(2);
    right.record.SetParent(0);
    right.record.SetName("testo\"<x>");
    right.record.SetPage(6);
    right.record.SetSizeKind(FrameSizeKind::Rest);
    right.record.SetResizable(false);
    top.children = {left, right};
    const std::int32_t map = Add(K::mappaFrame, 2, [&](TKYToggetto& o) {
        o.View().SetI32(kFrameMapRecordSize, std::int32_t(kFrameRecordSize));
        o.SetAuxiliary(WriteFrameRecords(top));
    });
    PageRecord(*set_.ObjectByKind(K::testoHtml, 6)).SetFrameMap(map);
    const std::string page = Write(6, "<Z S0 >sei");
    EXPECT_THAT(page,
                HasSubstr("</HEAD>\r\n<FRAMESET COLS=150,* BORDER=0 FRAMESPACING=0 >\r\n"
                          "<FRAME NAME=\"indice\" SRC=\"-000007.html\" SCROLLING=auto "
                          "FRAMEBORDER=no >\r\n"
                          "<FRAME NAME=\"testo&quot;&lt;x\" SRC=\"-000006.html\" "
                          "SCROLLING=auto NORESIZE>\r\n</FRAMESET>\r\n\r\n<NOFRAME>\r\n<BODY"));
    EXPECT_TRUE(page.ends_with("</NOFRAME>\r\n</BODY></HTML>\r\n"));
    EXPECT_EQ(secondaries_, (std::vector<std::int32_t>{7, 6}));
}

}  // namespace
}  // namespace orvo
