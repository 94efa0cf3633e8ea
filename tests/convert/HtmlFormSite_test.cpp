// Forms and scripts of exported sites read by real peers: every script passes node and opens
// no window by itself, the sample's form posts its fields to a local HTTP server, and hostile
// names and values reach that server exactly as they were typed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/FormFields.h"
#include "model/SampleForms.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;
using K = TOggettiHel;

std::string Run(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

std::string Python(const std::string& script, const std::filesystem::path& argument) {
    return Run("/usr/bin/python3 " ORVO_TEST_DATA "/" + script + " '" + argument.string() + "'");
}

std::filesystem::path Export(TKYTset& set, const char* folder) {
    TKYTtoHtml html(&set);
    html.ExportPath = NameOfPath(TestDir() / folder);
    html.ExpSepImage = true;
    std::vector<TKYToggetto*> images;
    EXPECT_TRUE(html.ExportAllPages(images));
    EXPECT_TRUE(html.WriteObjectFiles(images));
    return TestDir() / folder;
}

std::string PageFile(TKYTset& set, std::int32_t page) {
    TKYTtoHtml html(&set);
    return html.ObjectFileName(*set.ObjectByKind(K::testoHtml, page), 0);
}

// The sample with its form page: every script passes node, and the form's fields reach a
// local server as a browser sends them.
TEST(HtmlFormSite, SampleScriptsPassNodeAndTheFormPostsItsFields) {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set, SampleOptions{});
    const std::int32_t formPage = SampleFormPage(set);
    ASSERT_GE(formPage, 0);
    const std::filesystem::path site = Export(set, "sito-modulo");
    // The sound beside the pages; the page shown in the popup exported alone once more.
    int sounds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(site / "images"))
        sounds += entry.path().extension() == ".wav" && entry.file_size() > 2000;
    EXPECT_EQ(sounds, 1);
    EXPECT_EQ(Python("check_scripts.py", site),
              "pages=13 scripts=1 handlers=0 addresses=1 opened=0\n");
    // html5lib reads every page, tidy finds no error, every link names an exported file.
    const std::string report = Python("check_site.py", site);
    EXPECT_TRUE(report.starts_with("pages=13 ") && report.ends_with(" empty=0\n")) << report;
    EXPECT_EQ(Python("submit_form.py", site / PageFile(set, formPage)),
              "POST /cgi-bin/modulo\n'nome'='Mario Rossi'\n'parola'=''\n'allegato'=''\n"
              "'origine'='guida'\n'parere'='Una guida chiara.\\r\\nGrazie.'\n'piaciuta'='si'\n"
              "'notizie'='si'\n'capitolo'='2'\n'lingua'='it'\n'invia'='Invia'\n");
}

// Names, values, texts and window names holding quotes, "</SCRIPT>", "--" and line breaks:
// the form's fields reach the server as they were written (line breaks of one-line values
// dropped, those of the text area kept) and every script still passes node.
TEST(HtmlFormSite, HostileNamesAndValuesStayInside) {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    auto add = [&](K kind, int subtype, const std::function<void(TKYToggetto&)>& fill) {
        auto made = NewObjectOfKind(kind, &set);
        made->Clear();
        made->TakeIntoUse();
        made->Record()[4] = std::uint8_t(subtype);
        fill(*made);
        return "<$" + Hex8(std::uint32_t(MakeCode(kind, set.Register(std::move(made))))) + ">";
    };
    auto page = [&](const std::string& markup) {
        auto made = NewObjectOfKind(K::testoHtml, &set);
        made->Clear();
        made->TakeIntoUse();
        made->SetContent(markup + '\0');
        return set.Register(std::move(made));
    };
    const std::string hostile = "a\"b'c</SCRIPT>--\r\nd<!--";
    const std::string form = add(K::inizioForm, 2, [](TKYToggetto& o) {
        o.View().SetPStr(kFormAction, "/cgi?x=\"1\"&y=</SCRIPT>");
        o.View().SetU8(kFormHasEncoding, 0);
    });
    const std::string field = add(K::inputStat, 1, [&](TKYToggetto& o) {
        o.View().SetPStr(kInputName, hostile);
        o.View().SetPStr(kInputValue, hostile);
        o.View().SetU8(kInputSize, 10);
        o.View().SetU8(kInputHasValue, 1);
    });
    const std::string area = add(K::inputStat, 4, [&](TKYToggetto& o) {
        o.View().SetPStr(kInputName, "t");
        o.View().SetU8(kInputHasValue, 1);
        o.View().SetU8(kInputRows, 2);
        o.View().SetU8(kInputColumns, 20);
        o.SetContent("riga</TEXTAREA><B>x</B>\n-- & fine");
    });
    const std::string select = add(K::inputStat, 9, [&](TKYToggetto& o) {
        o.View().SetPStr(kInputName, "s\"</SELECT>");
        o.SetContent("<i>\n\"v\"</OPTION>\nX\n");
    });
    const std::string button = add(K::bottoneCGI, 1, [&](TKYToggetto& o) {
        o.View().SetPStr(kButtonName, hostile);
        o.View().SetPStr(kButtonCaption, hostile);
        o.View().SetI32(kButtonPicture, -1);
        o.View().SetI32(kButtonLink, -1);
    });
    const std::int32_t other = page("<Z S0 >altra");
    auto windowLink = [&](int type, int action) {
        return add(K::speclink, type, [&](TKYToggetto& o) {
            o.View().SetU8(kSpecAction, std::uint8_t(action));
            o.View().SetU8(kSpecFrame, 0);
            o.View().SetI32(kSpecTarget, MakeCode(K::testoHtml, other));
            o.View().SetI32(kSpecAnchor, -1);
            o.View().SetPStr(kSpecName, "w');open('x');//</SCRIPT>");
        });
    };
    const std::string note = add(K::shortObj, 10, [&](TKYToggetto& o) {
        o.View().SetU8(kAnnotationExported, 1);
        o.SetAuxiliary("Nota\r\n--> <SCRIPT>open('x')</SCRIPT>");
    });
    const std::int32_t main =
        page("<Z S0 >" + form + field + area + select + button + "<Z S0 >" + windowLink(1, 4) +
             "popup<%>" + windowLink(1, 1) + "cornice<%>" + windowLink(2, 0) + "chiudi<%>" + note);
    const std::filesystem::path site = Export(set, "ostile");
    const std::string scripts = Python("check_scripts.py", site);
    EXPECT_EQ(scripts, "pages=3 scripts=1 handlers=0 addresses=2 opened=0\n");
    EXPECT_EQ(Python("submit_form.py", site / PageFile(set, main)),
              "POST /cgi\n'a\"b\\'c</SCRIPT>--d<!--'='a\"b\\'c</SCRIPT>--d<!--'\n"
              "'t'='riga</TEXTAREA><B>x</B>\\r\\n-- & fine'\n"
              "'s\"</SELECT>'='\"v\"</OPTION>'\n"
              "'a\"b\\'c</SCRIPT>--d<!--'='a\"b\\'c</SCRIPT>--d<!--'\n");
}

}  // namespace
}  // namespace orvo
