// Edits chosen by a source of numbers: the property test draws them from a seeded generator,
// the fuzz target from its input bytes. Every action goes through the box's editing
// operations as the keys, the menus and the clipboard would call them.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "base/ByteStream.h"
#include "model/Markup.h"
#include "model/StyleTable.h"
#include "model/uKYTset.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo::test {

class EditingDriver {
public:
    EditingDriver(BoxEditing& editing, TKYTset& set, IMarkupHost& host)
        : editing_(editing), set_(set), host_(host) {}

    /// Runs one action whose choices come from `pick(n)` (a number in 0..n-1); returns its
    /// description.
    template <class Pick>
    std::string Action(Pick&& pick) {
        TKYTTextAttributes& text = editing_.Text();
        TKYTParaAttributes& para = editing_.Para();
        TKYTbox& box = *editing_.EditedBox();
        auto position = [&]() {
            const std::int32_t first = box.FirstEditable();
            const std::int32_t p = first + pick(box.LastEditable() - first + 1);
            return EditPos{p, pick(std::int32_t(box.Paragraph(p).text.size()) + 1)};
        };
        auto select = [&]() {
            EditPos a = position(), b = position();
            if (b.para < a.para || (b.para == a.para && b.ch < a.ch)) std::swap(a, b);
            text.CaretMoved();
            text.Select(a, b);
            return std::to_string(a.para) + ":" + std::to_string(a.ch) + "-" +
                   std::to_string(b.para) + ":" + std::to_string(b.ch);
        };
        auto caret = [&]() {
            const EditPos p = position();
            text.CaretMoved();
            text.SetCaretAt(p);
            return std::to_string(p.para) + ":" + std::to_string(p.ch);
        };
        static constexpr std::int32_t kColours[] = {0x0000FF, 0x008000, 0xFF0000, 0x123456};
        static constexpr const char* kFonts[] = {"Arial", "Courier New", "Times New Roman"};
        switch (pick(17)) {
            case 0: {
                std::string where = pick(4) == 0 ? select() : caret();
                std::string typed;
                const int n = 1 + pick(6);
                for (int i = 0; i < n; ++i) {
                    static constexpr char kChars[] = "ab <&>\"'\xE8Z";
                    typed.push_back(kChars[pick(int(sizeof kChars) - 1)]);
                    // As the input does: the character goes in, then the caret moves over it.
                    editing_.InsertChar(static_cast<std::uint8_t>(typed.back()));
                    box.SetCaret(PositionAt(box.Caret().paraIndex, box.Caret().charIndex + 1));
                }
                return "type " + typed + " at " + where;
            }
            case 1: {
                const std::string where = select();
                if (!text.HasSelection()) return "delete nothing";
                text.DeleteSelection();
                return "delete " + where;
            }
            case 2:
                return "break at " + caret() + Then([&] { text.InsertParagraphBreak(); });
            case 3:
                return "bold " + select() + Then([&] { text.SetStyleBits(kFontBold, 0); });
            case 4: {
                const std::int32_t colour = kColours[pick(4)];
                return "colour " + select() + Then([&] { text.ApplyColour(colour); });
            }
            case 5: {
                const std::int32_t size = 8 + pick(20);
                return "size " + select() + Then([&] { text.ApplyFontSize(size); });
            }
            case 6: {
                const char* font = kFonts[pick(3)];
                return "font " + select() + Then([&] { text.ApplyFontName(font); });
            }
            case 7: {
                const std::uint8_t position = std::uint8_t(pick(3));
                return "position " + select() + Then([&] { text.ApplyVerticalPosition(position); });
            }
            case 8: {
                const std::string where = select();
                if (!text.HasSelection()) return "link nothing";
                const std::int32_t page = pick(3);
                if (pick(3) == 0) {
                    text.ApplyLink(nullptr);
                } else if (const TKYToggetto* target =
                               set_.ObjectByKind(TOggettiHel::testoHtml, page)) {
                    text.ApplyLink(target);
                }
                return "link " + where;
            }
            case 9: {
                const std::string from = select();
                MemoryStream stream;
                if (!text.WriteSelection(stream, pick(2) == 0)) return "copy nothing";
                const std::string to = caret();
                text.InsertFromStream(stream.Bytes(), kLabelPaste, false, pick(4) == 0);
                return "paste " + from + " at " + to;
            }
            case 10: {
                const std::uint8_t alignment = std::uint8_t(pick(3));
                return "align " + select() + Then([&] { para.SetAlignment(alignment); });
            }
            case 11: {
                const std::uint8_t kind = pick(2) == 0 ? 0 : 6;
                return "numbering " + select() + Then([&] { para.SetNumbering(kind); });
            }
            case 12: {
                const auto names = StyleNames(set_);
                const std::string name = names[std::size_t(pick(int(names.size())))];
                return "style " + select() + Then([&] { para.ApplyParagraphStyle(name); });
            }
            case 13: {
                const double value = pick(40) / 4.0;
                return "margin " + select() + Then([&] { para.SetLeftMargin(value); });
            }
            case 14: {
                const std::string where = select();
                text.ReplaceSelection(pick(2) ? "xy" : "nuovo testo");
                return "replace " + where;
            }
            case 15:
                return "paste text at " + caret() +
                       Then([&] { text.PasteText(pick(2) ? "riga\r\naltra" : "uno", ""); });
            default: {
                const std::uint8_t bits = std::uint8_t(pick(16));
                return "pending style at " + caret() + Then([&] {
                           text.ApplyFontStyle(bits);
                           text.InsertChar('q');
                       });
            }
        }
    }

    std::string RandomAction(std::mt19937& random) {
        return Action([&](int n) {
            return n <= 1 ? 0 : int(std::uniform_int_distribution<int>(0, n - 1)(random));
        });
    }

    /// What is wrong with the box's paragraphs, or empty: every paragraph has a metric per
    /// character and one more, run starts and objects that exist.
    std::string Problem() const {
        const TKYTbox& box = *editing_.EditedBox();
        if (box.LastEditable() < box.FirstEditable()) return "no editable paragraph";
        for (std::int32_t i = 0; i < box.ParagraphCount(); ++i) {
            const TKYTparag& p = box.Paragraph(i);
            if (p.metrics.size() != p.text.size() + 1)
                return "paragraph " + std::to_string(i) + " has " +
                       std::to_string(p.metrics.size()) + " metrics for " +
                       std::to_string(p.text.size()) + " characters";
            for (const TKYTcharMetric& m : p.metrics)
                if (m.fontIndex >= std::int32_t(p.fonts.size()) ||
                    m.objectIndex >= std::int32_t(p.objects.size()))
                    return "paragraph " + std::to_string(i) + " names a run or object it lacks";
        }
        return {};
    }

private:
    template <class F>
    static std::string Then(F&& f) {
        f();
        return {};
    }

    BoxEditing& editing_;
    TKYTset& set_;
    IMarkupHost& host_;
};

}  // namespace orvo::test
