// The custom-code panel: code loaded into the panel's editor (references become inline
// reference objects of its own hypertext) and stored back byte for byte, with the loaded header
// kept; hostile header lengths; references inserted and changed; templates listed, chosen with
// the confirmation, and saved with the mask's extension.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/CustomCodePanel.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/KytFixture.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;
namespace fs = std::filesystem;

std::string Stream(std::string_view header, std::string_view code) {
    std::string s(4, '\0');
    const auto n = std::uint32_t(header.size());
    for (int i = 0; i < 4; ++i) s[std::size_t(i)] = char((n >> (8 * i)) & 0xFF);
    return s + std::string(header) + std::string(code);
}

// The reference objects page 0 of the panel's hypertext holds, by subtype.
std::vector<int> ReferenceSubtypes(TKYTset& codeSet) {
    std::vector<int> subtypes;
    const TKYToggetto* page = codeSet.ObjectByKind(K::testoHtml, 0);
    Result<std::string> bytes = page ? page->ContentBytes() : Result<std::string>(std::string());
    const std::string text = bytes ? *bytes : std::string();
    for (std::size_t at = text.find("<$0b"); at != std::string::npos;
         at = text.find("<$0b", at + 1)) {
        const std::int32_t id = std::stoi(text.substr(at + 4, 6), nullptr, 16);
        if (const TKYToggetto* o = codeSet.ObjectByKind(K::shortObj, id))
            subtypes.push_back(o->Subtype());
    }
    return subtypes;
}

class CodePanel : public KytTest {
protected:
    CustomCodePanel panel_{set_, env_, messages_};
};

TEST_F(CodePanel, CodeWithEveryReferenceRoundTripsWithItsHeader) {
    const std::string code =
        "<meta name=\"a&b\" content='x<y>'>\r\n"
        "<img src=\"!RefI:0500000a\"> <a href=\"!RefL:00000003\">\r\n"
        "!RefP:00000001!RefF:0b000002 !RefX:00000000 !RefY:00000000\r\n"
        "\tvalore !ReCP:colore! e !ReCF:00000001, punto ! esclamativo !RefI:zz";
    std::string plain = code;
    plain.replace(plain.find('\t'), 1, std::string(8, ' '));  // a tab is eight blanks
    panel_.LoadCode(Stream("8 bytes!", code));
    EXPECT_FALSE(panel_.Editor().Edited());
    EXPECT_EQ(panel_.CodeText(), plain);
    EXPECT_THAT(ReferenceSubtypes(panel_.CodeSet()),
                ::testing::ElementsAre(21, 22, 23, 24, 25, 26, 27, 28));

    // Unchanged: the host's stream stays as it is, also when there is none.
    std::optional<std::string> stream = Stream("8 bytes!", code);
    const std::string before = *stream;
    EXPECT_EQ(panel_.StoreCode(stream), before.size());
    EXPECT_EQ(*stream, before);
    std::optional<std::string> none;
    EXPECT_EQ(panel_.StoreCode(none), 0u);
    EXPECT_FALSE(none);

    // Changed: the header loaded is written back before the text.
    panel_.OnGetRif = [](CodeReference kind, std::int32_t start) -> std::optional<std::int32_t> {
        EXPECT_EQ(kind, CodeReference::Picture);
        EXPECT_EQ(start, -1);
        return 0x05000007;
    };
    ASSERT_TRUE(panel_.InsertReference(CodeReference::Picture));
    EXPECT_TRUE(panel_.Editor().Edited());
    const std::size_t size = panel_.StoreCode(stream);
    ASSERT_TRUE(stream);
    EXPECT_EQ(size, stream->size());
    EXPECT_EQ(stream->substr(0, 12), before.substr(0, 12));
    const std::string text = stream->substr(12);
    EXPECT_EQ(text, panel_.CodeText());
    const std::size_t at = text.find("!RefI:05000007");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(0, at) + text.substr(at + 14), plain);
}

TEST_F(CodePanel, HostileHeaderLengthsReadNothingOutsideTheStream) {
    struct Case {
        std::string stream;
        std::string code;
    };
    const Case cases[] = {
        {std::string("\xFB\xFF\xFF\xFF", 4) + "abc", "abc"},        // negative
        {std::string("\xE8\x03\x00\x00", 4) + "abc", "abc"},        // 1000 on 7 bytes
        {std::string("\x03\x00\x00\x00", 4) + "abc", ""},           // all header
        {std::string("\x02\x00", 2), ""},                           // shorter than an int32
        {std::string("\x00\x00\x00\x00", 4) + "x\r\ny", "x\r\ny"},  // no header
    };
    for (const Case& c : cases) {
        panel_.LoadCode(c.stream);
        EXPECT_EQ(panel_.CodeText(), c.code) << c.code;
        EXPECT_TRUE(messages_.Shown().empty());
    }
}

// Control bytes the text import drops (0 among them) are dropped before a code's references
// are read: a reference they split reads as one at once, a line they alone make at the end is
// no line; a last empty line is kept; and the code stored reads back the same.
TEST_F(CodePanel, ControlBytesInALoadedCodeLoadAsTheStoredCodeReloads) {
    const std::string header("\xFF\xFF\xFF\xFF", 4);
    for (const std::string& code :
         {"a!Ref" + std::string(4, '\0') + "F:0B000001!RefL:00000003", std::string("abc\r\n\x19"),
          std::string("\r\0\r", 3), std::string("a\r\n\r\n")}) {
        panel_.LoadCode(header + code);
        const std::string loaded = panel_.CodeText();
        EXPECT_EQ(loaded.find('\0'), std::string::npos);
        std::optional<std::string> stored = std::string();
        panel_.Editor().NoteEdit();
        panel_.StoreCode(stored);
        ASSERT_TRUE(stored);
        panel_.LoadCode(stored);
        EXPECT_EQ(panel_.CodeText(), loaded);
    }
}

TEST_F(CodePanel, ReferencesInsertedAndChanged) {
    panel_.LoadCode(std::nullopt);
    panel_.Parameters = {"colore", "larghezza"};
    panel_.Files = {"a.class", "b.jar"};
    int asked = 0;
    panel_.OnGetRif = [&](CodeReference, std::int32_t start) -> std::optional<std::int32_t> {
        ++asked;
        return start < 0 ? 0x00000002 : start + 1;
    };
    // A generic reference asks nothing; a fundamental one starts from the last chosen.
    EXPECT_TRUE(panel_.InsertReference(CodeReference::PageOrFile, true));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(panel_.InsertReference(CodeReference::Fundamental));
    EXPECT_TRUE(panel_.InsertReference(CodeReference::Fundamental));
    EXPECT_TRUE(panel_.InsertReference(CodeReference::SizeX));
    EXPECT_TRUE(panel_.InsertReference(CodeReference::Parameter, false, 1));
    EXPECT_TRUE(panel_.InsertReference(CodeReference::File, false, 1));
    EXPECT_FALSE(panel_.InsertReference(CodeReference::File, false, 2));  // no such file
    // Inserted at the caret, each after the last.
    EXPECT_EQ(panel_.CodeText(),
              "!RefL:ffffffff!RefF:00000002!RefF:00000003!RefX:ffffffff"
              "!ReCP:larghezza!!ReCF:00000001");

    // A parameter changed to an index out of the list becomes "Undef".
    panel_.Editor().ClearEdited();
    const auto references = ReferenceObjects(panel_.Editor().Objects());
    ASSERT_EQ(references.size(), 6u);
    TKYToggetto& parameter = *references[4];
    EXPECT_TRUE(panel_.ChangeReference(parameter, 5));
    EXPECT_TRUE(panel_.Editor().Edited());
    EXPECT_EQ(ReferenceText(parameter), "!ReCP:Undef!");
    EXPECT_TRUE(panel_.ChangeReference(parameter, 0));
    // A fundamental reference asks again, starting from the present object (3).
    EXPECT_TRUE(panel_.ChangeReference(*references[2]));
    EXPECT_EQ(ReferenceText(*references[2]), "!RefF:00000004");
    EXPECT_EQ(panel_.CodeText(),
              "!RefL:ffffffff!RefF:00000002!RefF:00000004!RefX:ffffffff"
              "!ReCP:colore!!ReCF:00000001");
}

class NoBoxEditor final : public ICodeEditor {
public:
    void ShowCode() override {}
    void Release() override {}
    bool InsertStream(std::string_view, std::string_view) override { return false; }
    bool InsertObject(std::unique_ptr<TKYToggetto>) override { return false; }
    void Commit() override {}
    bool Edited() const override { return false; }
    void ClearEdited() override {}
    void NoteEdit() override {}
    std::vector<TKYToggetto*> Objects() override { return {}; }
};

TEST_F(CodePanel, AReferenceWithoutATextBoxIsAnInternalError) {
    panel_.SetEditor(std::make_unique<NoBoxEditor>());
    EXPECT_FALSE(panel_.InsertReference(CodeReference::SizeY));
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].box, Box::Error);
    EXPECT_EQ(messages_.Shown()[0].text, kCodeNoTextBox);
}

TEST_F(CodePanel, TemplatesListedByMaskChosenWithConfirmationAndSaved) {
    panel_.Mask = "*.htm;*.html;";
    const fs::path base = TestDir() / "prog";
    panel_.Directory = "Testa";
    const std::string folder = panel_.Folder(NameOfPath(base));
    EXPECT_EQ(folder, NameOfPath(base) + "/ModelliHtml/Testa");
    ASSERT_TRUE(fs::is_directory(base / "ModelliHtml" / "Testa"));
    for (const char* name : {"b.html", "a.HTM", ".nascosto.htm", "c.txt", "d.htm"})
        std::ofstream(base / "ModelliHtml" / "Testa" / name) << "<b>" << name << "</b>";
    EXPECT_THAT(TemplateList(folder, panel_.Mask),
                ::testing::ElementsAre("Nessuno", ".nascosto.htm", "a.HTM", "d.htm", "b.html"));
    EXPECT_EQ(TemplateExtension(panel_.Mask), ".htm");
    EXPECT_EQ(TemplateExtension("*.*;"), "");  // a wildcard is no extension

    panel_.LoadCode(Stream("", "mio codice"));
    panel_.Confirm = true;
    int asked = 0;
    EXPECT_FALSE(panel_.ChooseTemplate(folder + "/d.htm", [&] { return ++asked, false; }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(panel_.CodeText(), "mio codice");
    // The host's own question replaces the confirmation.
    panel_.OnChangeFile = [&] { return ++asked, true; };
    EXPECT_TRUE(panel_.ChooseTemplate(folder + "/d.htm", [] { return false; }));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(panel_.CodeText(), "<b>d.htm</b>");
    EXPECT_TRUE(panel_.Editor().Edited());

    EXPECT_TRUE(panel_.SaveTemplate(folder + "/nuovo"));
    EXPECT_EQ(ReadFile(base / "ModelliHtml" / "Testa" / "nuovo.htm"), "<b>d.htm</b>");
    EXPECT_TRUE(panel_.ChooseTemplate("Nessuno", {}));
    EXPECT_EQ(panel_.CodeText(), "");
}

}  // namespace
}  // namespace orvo::test
