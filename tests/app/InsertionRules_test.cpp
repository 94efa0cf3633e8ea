// The objects "Inserisci" makes, read back by the HTML export byte for byte; their default
// names; the characters "Simbolo..." offers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/InsertionRules.h"
#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "model/FormFields.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using ::testing::HasSubstr;
using K = TOggettiHel;
using C = FormObjectChoice;

class InsertionRules : public ::testing::Test {
protected:
    InsertionRules() : set_(environment_, messages_), html_(&set_) {
        auto page = NewObjectOfKind(K::testoHtml, &set_);
        page->Clear();
        page->TakeIntoUse();
        set_.Register(std::move(page), 0);
    }
    // The object registered, as the page text refers to it.
    std::string Code(std::unique_ptr<TKYToggetto> object) {
        const K kind = object->Kind();
        return "<$" + Hex8(std::uint32_t(MakeCode(kind, set_.Register(std::move(object))))) + ">";
    }
    std::string Export(const std::string& markup) {
        TKYToggetto& page = *set_.ObjectByKind(K::testoHtml, 0);
        page.SetContent(markup + '\0');
        std::vector<TKYToggetto*> images;
        std::vector<std::int32_t> secondaries;
        return html_.WritePage(page, &secondaries, images, 0);
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoHtml html_;
};

TEST_F(InsertionRules, EveryFormObjectIsExportedAsTheAuthorFilledIt) {
    struct Case {
        C choice;
        FormObjectFields fields;
        const char* html;
    };
    const Case cases[] = {
        {C::Text,
         {"nome", "Mario", 300, 3, false, true},
         "<INPUT NAME=\"nome\" VALUE=\"Mario\" SIZE=255 >\r\n"},
        {C::Password,
         {"pw", "", 8, 3, false, true},
         "<INPUT TYPE=password NAME=\"pw\" SIZE=8 >\r\n"},
        {C::File,
         {"allegato", "", 30, 3, false, true},
         "<INPUT TYPE=file NAME=\"allegato\" SIZE=30 >\r\n"},
        {C::Hidden,
         {"h", "7", 20, 3, false, true},
         "<INPUT TYPE=hidden NAME=\"h\" VALUE=\"7\"  >\r\n"},
        {C::Radio,
         {"r", "si", 20, 3, true, true},
         "<INPUT TYPE=radio NAME=\"r\" VALUE=\"si\" CHECKED  >\r\n"},
        {C::CheckBox,
         {"c", "no", 20, 3, false, true},
         "<INPUT TYPE=checkbox NAME=\"c\" VALUE=\"no\"  >\r\n"},
        {C::TextArea,
         {"nota", "riga 1\nriga 2", 30, 4, false, true},
         "<TEXTAREA NAME=\"nota\" ROWS=4 COLS=30 >\r\nriga 1\r\nriga 2</TEXTAREA>"},
        {C::List,
         {"l", "Uno\r\n\nDue\n", 0, 3, false, true},
         "<SELECT NAME=\"l\"  SIZE=1  ><OPTION VALUE=\"Uno\" >Uno\r\n<OPTION VALUE=\"Due\" "
         ">Due\r\n</SELECT>"},
        {C::DropDown,
         {"d", "A\nB", 20, 3, false, true},
         "<SELECT NAME=\"d\"   ><OPTION VALUE=\"A\" >A\r\n<OPTION VALUE=\"B\" >B\r\n</SELECT>"},
        {C::Submit,
         {"invia", "Invia", 20, 3, false, true},
         "<INPUT TYPE=submit NAME=\"invia\"  VALUE=\"Invia\"  >\r\n"},
        {C::Reset,
         {"", "Annulla", 20, 3, false, true},
         "<INPUT TYPE=reset VALUE=\"Annulla\"  >\r\n"},
        {C::FormStart,
         {"", "/cgi-bin/x", 20, 3, false, false},
         "<FORM TARGET=_top METHOD=GET ACTION=\"/cgi-bin/x\"  >\r\n"},
    };
    for (const Case& c : cases) {
        const std::string page =
            Export("<Z S0 >" + Code(NewFormObject(set_, c.choice, c.fields)) + "x");
        EXPECT_THAT(page, HasSubstr(c.html)) << FormObjectCaption(c.choice);
    }
}

TEST_F(InsertionRules, NewNamesSkipThoseInUseAndAnchorsKeepTheirNumber) {
    EXPECT_EQ(DefaultFormFields(set_, C::Text).name, "campo1");
    Code(NewFormObject(set_, C::Text, {"campo1", "", 20, 3, false, true}));
    Code(NewFormObject(set_, C::Submit, {"campo2", "Invia", 20, 3, false, true}));
    const FormObjectFields radio = DefaultFormFields(set_, C::Radio);
    EXPECT_EQ(radio.name, "campo3");
    EXPECT_EQ(radio.value, "si");
    EXPECT_EQ(DefaultFormFields(set_, C::Reset).name, "");
    EXPECT_EQ(DefaultFormFields(set_, C::Reset).value, "Annulla");

    const std::string page = Export("<Z S0 >a" + Code(NewAnchor(set_, 7)) + "b");
    EXPECT_THAT(page, HasSubstr("a<A NAME=\"an7\"></A>b"));
}

TEST_F(InsertionRules, PlayersShowTheirButtonsAndVideosTheirPicture) {
    auto file = NewObjectOfKind(K::genLink, &set_);
    file->Clear();
    file->TakeIntoUse();
    file->SetFileName("campanello.wav");
    const std::int32_t id = set_.Register(std::move(file));
    const std::string sound = Export("<Z S0 >" + Code(NewPlayer(set_, id, false)));
    EXPECT_THAT(sound, HasSubstr(".wav\" CONTROLS=SMALLCONSOLE height=15>\r\n</EMBED>"));
    const std::string video = Export("<Z S0 >" + Code(NewPlayer(set_, id, true)));
    EXPECT_THAT(video, HasSubstr(".wav\" WIDTH=320 HEIGHT=240 CONTROLS=true  ></EMBED>"));
    for (const char* name : {"a.AVI", "b.mpeg", "c.mov", "d.dat", "e.mpg"})
        EXPECT_TRUE(IsVideoFile(name)) << name;
    for (const char* name : {"a.wav", "b.mid", "avi", "c.mpg.txt"})
        EXPECT_FALSE(IsVideoFile(name)) << name;
}

TEST_F(InsertionRules, EmbeddedCodeIsWrittenAsItIs) {
    const std::string code = "<object data=\"a.swf\" width=!RefX:00000000></object>";
    const std::string page =
        Export("<Z S0 >a" + Code(NewEmbeddedCode(set_, {code, 40000, 80})) + "b");
    EXPECT_THAT(page, HasSubstr("a<object data=\"a.swf\" width=32767></object>b"));
}

TEST_F(InsertionRules, SymbolsAreThePrintableCharactersOfTheCodePage) {
    const std::vector<unsigned char> symbols = SymbolCharacters();
    EXPECT_EQ(symbols.size(), 94u + 122u);
    EXPECT_EQ(symbols.front(), '!');
    EXPECT_EQ(symbols.back(), 0xFF);
    for (unsigned char gap : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xAD, 0x20})
        EXPECT_EQ(std::count(symbols.begin(), symbols.end(), gap), 0) << int(gap);
    EXPECT_EQ(std::count(symbols.begin(), symbols.end(), 0x80), 1);  // the euro sign
}

}  // namespace
}  // namespace orvo
