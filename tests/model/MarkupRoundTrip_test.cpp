// Reading what the writer wrote gives the same paragraphs and the same bytes, over generated
// paragraphs with every head field, runs, links, embedded objects and inline tables.
#include <gtest/gtest.h>

#include <random>

#include "support/MarkupHost.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

class ParagraphGenerator {
public:
    ParagraphGenerator(test::TestMarkupHost& host, unsigned seed) : host_(host), random_(seed) {}

    Paragraphs Text(int depth = 0) {
        Paragraphs paragraphs;
        const int count = Between(1, depth == 0 ? 6 : 2);
        for (int i = 0; i < count; ++i) paragraphs.push_back(Paragraph(depth));
        return paragraphs;
    }

private:
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

    std::string FontName(std::size_t longest) {
        std::string name;
        const int length = Between(1, int(longest));
        for (int i = 0; i < length; ++i) {
            char c = char(Between(0x20, 0x7E));
            if (c == '"' || c == '<' || c == '>') c = 'q';  // a name never holds them
            name += c;
        }
        return name;
    }

    std::int32_t Value(const StyleKey& key) {
        switch (key.value) {
            case StyleValue::Colour:
                return Between(0, 0xFFFFFF);
            case StyleValue::Byte:
                return Between(0, key.mask);
            default: {
                std::int32_t v = Between(-100000, 100000);
                if (Chance(5)) v = Chance(50) ? 2147483647 : -2147483647 - 1;
                return v == -10000000 ? 0 : v;
            }
        }
    }

    template <class Record>
    void Override(Record& record, StyleField field, std::size_t longestName) {
        const StyleKey& key = KeyOf(field);
        if (key.value == StyleValue::FontName)
            record.SetFontName(FontName(longestName));
        else
            record.Set(field, Value(key));
    }

    std::unique_ptr<TKYTparag> Paragraph(int depth) {
        auto para = std::make_unique<TKYTparag>();
        const TKYToggetto* style = host_.StyleByNumber(Between(0, 3));
        para->style.SetDefinition(style);
        for (const StyleKey& key : kStyleKeys)
            if (Chance(25)) Override(para->style, key.field, 20);
        para->style.charFormat.Assign(para->style);

        const int length = Between(0, 40);
        std::int32_t link = -1;
        for (int i = 0; i < length; ++i) {
            TKYTcharMetric m;
            if (Chance(15)) {
                TKYTFontStyle run;
                run.SetDefinition(style);
                for (StyleField field : kCharOrder)
                    if (Chance(40)) Override(run, field, 40);
                para->fonts.push_back(run);
                m.fontIndex = std::int32_t(para->fonts.size() - 1);
            }
            if (Chance(10)) {
                const int kind = Between(0, 2);
                const std::int32_t base = kind == 0 ? 0x6F000000 : kind == 1 ? 0 : 0x03000000;
                link = Chance(30) ? -1 : base + Between(0, 0xFFFF);
            }
            m.linkId = link;
            if (Chance(8)) {
                int id;
                if (depth < 2 && Chance(30)) {
                    const int rows = Between(1, 2), columns = Between(1, 3);
                    id = host_.AddTable(rows, columns);
                    for (int r = 0; r < rows; ++r)
                        for (int c = 0; c < columns; ++c)
                            host_.Table(id).SetCellParagraphs(r, c, Text(depth + 1));
                } else {
                    id = host_.AddObject(TOggettiHel::immagineNew, Between(1, 50), Between(1, 50));
                }
                para->objects.push_back(&host_.Object(id));
                m.objectIndex = std::int32_t(para->objects.size() - 1);
                para->text += ' ';
            } else {
                para->text += char(Between(0x20, 0xFF));
            }
            para->metrics.push_back(m);
        }
        para->metrics.emplace_back();
        return para;
    }

    test::TestMarkupHost& host_;
    std::mt19937 random_;
};

class MarkupRoundTrip : public ::testing::TestWithParam<unsigned> {
protected:
    test::TestMarkupHost host_;

    void SetUp() override {
        host_.AddStyle([](StyleRecord& r) {
            r.SetFontName("Arial");
            r.SetSize(16);
            r.SetStyleBits(kFontBold);
        });
        host_.AddStyle([](StyleRecord& r) {
            r.SetColour(0x0000FF);
            r.SetLinkSize(18);
            r.SetLinkStyleBits(kFontItalic);
            r.SetAlignment(3);
        });
    }
};

TEST_P(MarkupRoundTrip, ReadingWhatWasWrittenGivesTheSameParagraphsAndBytes) {
    for (unsigned round = 0; round < 25; ++round) {
        ParagraphGenerator generator(host_, GetParam() * 1000 + round);
        const Paragraphs original = generator.Text();
        const std::string written = WriteText(original, host_);

        Paragraphs read = ReadText(written, host_);
        ASSERT_EQ(read.size(), original.size()) << test::Escaped(written);
        for (std::size_t p = 0; p < read.size(); ++p) {
            const TKYTparag& a = *original[p];
            const TKYTparag& b = *read[p];
            ASSERT_EQ(b.text, a.text) << test::Escaped(written);
            EXPECT_EQ(b.style.Definition(), a.style.Definition());
            for (const StyleKey& key : kStyleKeys) {
                EXPECT_EQ(b.style.Overrides(key.field), a.style.Overrides(key.field)) << key.key;
                if (key.field == StyleField::FontName)
                    EXPECT_EQ(b.style.FontName(), a.style.FontName());
                else
                    EXPECT_EQ(b.style.Get(key.field), a.style.Get(key.field)) << key.key;
            }
            ASSERT_EQ(b.metrics.size(), a.metrics.size());
            for (int i = 0; i < int(a.text.size()); ++i) {
                EXPECT_EQ(b.FormatAt(i), a.FormatAt(i)) << "character " << i;
                EXPECT_EQ(b.LinkAt(i), a.LinkAt(i)) << "character " << i;
                const auto objectOf = [](const TKYTparag& para, int i) -> const TKYToggetto* {
                    const std::int32_t index = para.metrics[std::size_t(i)].objectIndex;
                    return index < 0 ? nullptr : para.objects[std::size_t(index)];
                };
                EXPECT_EQ(objectOf(b, i), objectOf(a, i)) << "character " << i;
            }
        }
        EXPECT_EQ(test::Escaped(WriteText(read, host_)), test::Escaped(written));
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, MarkupRoundTrip, ::testing::Range(1u, 9u));

}  // namespace
}  // namespace orvo
