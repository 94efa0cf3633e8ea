// Images in the exported pages: the image map of the sample's map page byte for byte, roll-over
// and low-resolution pictures with their scripts, every picture in the image list, and the
// internal error of a stored picture met in a text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlObjects.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class HtmlImages : public ::testing::Test {
protected:
    void SetUp() override {
        MakeSampleHypertext(set_, SampleOptions{});
        mapPage_ = set_.ObjectByKind(TOggettiHel::testoHtml, 9);
        image_ = set_.ObjectByKind(TOggettiHel::immagineNew, 0);
        ASSERT_NE(mapPage_, nullptr);
        ASSERT_NE(image_, nullptr);
        html_.ExportPath = test::TestDir().string();
    }
    std::string File(TOggettiHel kind, std::int32_t id) {
        return html_.ObjectFileName(*set_.ObjectByKind(kind, id), 0);
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
    TKYTtoHtml html_{&set_};
    TKYToggetto* mapPage_ = nullptr;
    TKYToggetto* image_ = nullptr;
};

TEST_F(HtmlImages, MapPageWritesItsMapAndImage) {
    std::vector<TKYToggetto*> images;
    const std::string page = html_.WritePage(*mapPage_, nullptr, images, 0);
    const std::string picture = File(TOggettiHel::immagine, 1);
    EXPECT_EQ(picture, "guida_i000001.gif");
    const std::string expected =
        "<MAP NAME=ma000000 >\r\n"
        "<AREA COORDS=16,20,106,104 HREF=\"" +
        File(TOggettiHel::testoHtml, 0) +
        "\"   ALT=\"Copertina\" TITLE=\"Copertina\">\r\n"
        "<AREA COORDS=134,28,224,100 HREF=\"" +
        File(TOggettiHel::testoHtml, 3) +
        "\"   ALT=\"Che cos'&egrave; un ipertesto\" TITLE=\"Che cos'&egrave; un ipertesto\">\r\n"
        "</MAP>\r\n"
        "<IMG SRC=\"guida_i000001.gif\" BORDER=0 ALIGN=MIDDLE ALT=\"Mappa: casa e libro\" "
        "USEMAP=#ma000000 WIDTH=240 HEIGHT=120  >";
    EXPECT_THAT(page, HasSubstr(expected));
    EXPECT_THAT(page, Not(HasSubstr("<SCRIPT>")));
    EXPECT_EQ(std::count(images.begin(), images.end(), set_.ObjectByKind(TOggettiHel::immagine, 1)),
              1);
    EXPECT_TRUE(html_.UnwrittenKinds.empty());

    // Without "ExpAlt" the areas keep only their titles; an alternative text is escaped.
    html_.ExpAlt = false;
    ImageRecord(*image_).SetAlternativeText("a \"b\" <c>");
    ImageRecord(*image_).SetBorder(2);
    ImageRecord(*image_).SetAlignment(3);
    const std::string again = html_.WritePage(*mapPage_, nullptr, images, 0);
    EXPECT_THAT(again, HasSubstr("\"   TITLE=\"Copertina\">\r\n"));
    EXPECT_THAT(again, HasSubstr(" BORDER=2 ALIGN=TOP ALT=\"a &quot;b&quot; &lt;c&gt;\" USEMAP"));
    EXPECT_EQ(images.size(), 1u);  // no duplicates

    // The image's own HTML parameters end the tag, a picture reference as its exported file.
    const TKYToggetto& flowers = *set_.ObjectByKind(TOggettiHel::immagine, 0);
    image_->SetAuxiliary(std::string(4, '\0') +
                         "HSPACE=3 LONGDESC=\"!RefI:" + Hex8(std::uint32_t(flowers.Code())) + "\"");
    const std::string coded = html_.WritePage(*mapPage_, nullptr, images, 0);
    EXPECT_THAT(coded, HasSubstr(" WIDTH=240 HEIGHT=120 HSPACE=3 LONGDESC=\"" +
                                 File(TOggettiHel::immagine, 0) + "\" >"));
}

TEST_F(HtmlImages, RolloverAndLowResolutionPictures) {
    ImageRecord record(*image_);
    record.SetRolloverPicture(0);
    record.SetLowResPicture(0);
    std::vector<TKYToggetto*> images;
    const std::string page = html_.WritePage(*mapPage_, nullptr, images, 0);
    const std::string self = File(TOggettiHel::testoHtml, 9);
    EXPECT_THAT(page, HasSubstr("</MAP>\r\n<A HREF=\"" + self +
                                "\"   onMouseOver=\"OrvoF_over('i000000','guida_i000000.gif');\" "
                                "onMouseOut=\"OrvoF_over('i000000','guida_i000001.gif');\" >"
                                "<IMG SRC=\"guida_i000001.gif\" BORDER=0 ALIGN=MIDDLE ALT=\"Mappa: "
                                "casa e libro\" NAME=i000000 USEMAP=#ma000000 "
                                "LOWSRC=\"guida_i000000.gif\" WIDTH=240 HEIGHT=120  ></A>"));
    // Flags 1 and 2 in the head, before the head ends; the preload after the body.
    const std::string head =
        "<SCRIPT>\r\n<!--//\r\n\r\nOrvoC_bname = navigator.appName;\r\nOrvoC_bver = "
        "parseFloat(navigator.appVersion);\r\n\r\nOrvoC_SensOk ='false';\r\nif (OrvoC_bver >= "
        "3.0) { OrvoC_SensOk = 'true' } \r\n\r\nfunction OrvoF_over(img,ref)\r\n{\r\n  if "
        "(OrvoC_SensOk=='true') { document.images[img].src = ref }\r\n}\r\n\r\n//-->\r\n"
        "</SCRIPT>\r\n</HEAD>\r\n";
    EXPECT_THAT(page, HasSubstr(head));
    const std::string tail =
        "\r\n<SCRIPT>\r\n<!--//\r\n  if (OrvoC_SensOk == 'true')\r\n  {\r\n  OrvoP_0= new "
        "Image();\r\n  OrvoP_0.src=\"guida_i000000.gif\";\r\n  }\r\n//-->\r\n</SCRIPT>\r\n"
        "\r\n</BODY></HTML>\r\n";
    EXPECT_TRUE(page.ends_with(tail)) << page.substr(page.size() - 200);
    // The picture, the low-resolution one and the roll-over one: each once.
    EXPECT_EQ(images.size(), 2u);
}

// Every kind the text may hold is written: a marker of the editor alone writes nothing and
// leaves no trace; a stored picture, which belongs in no text, shows the internal error.
TEST_F(HtmlImages, EditorMarkersWriteNothingAndAStoredPictureIsAnError) {
    auto marker = NewObjectOfKind(TOggettiHel::shortObj, &set_);
    marker->Clear();
    marker->TakeIntoUse();
    const std::int32_t id = set_.Register(std::move(marker), -1);
    const std::string code = "<$" + Hex8(std::uint32_t(MakeCode(TOggettiHel::shortObj, id))) + ">";
    const std::string picture =
        "<$" + Hex8(std::uint32_t(MakeCode(TOggettiHel::immagine, 1))) + ">";
    mapPage_->SetContent("<Z S0 >a" + code + "b" + code + picture + "c" + '\0');
    std::vector<TKYToggetto*> images;
    const std::string page = html_.WritePage(*mapPage_, nullptr, images, 0);
    EXPECT_THAT(page, HasSubstr("<DIV class=s0 >\r\nabc&nbsp;</DIV>"));
    EXPECT_THAT(page, Not(HasSubstr("<!--  ")));
    EXPECT_EQ(html_.UnwrittenKinds, (std::map<int, int>{{5, 1}}));
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text, "bug: ogg immagine non deve + esser presente qui");
}

}  // namespace
}  // namespace orvo
