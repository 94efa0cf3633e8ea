// A markup host for the model's and the layout's tests: built-in styles and styles made by the
// test, page objects and in-memory tables, the fixed measurer and recorded messages.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/Markup.h"
#include "model/StyleRecord.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"

namespace orvo::test {

class TestMarkupHost final : public IMarkupHost {
public:
    /// Styles 0 and 1 are the built-ins (Times New Roman 12: 6 px a byte, ascent 12, height
    /// 15; margins 10 and 10, or 0 and 0 for style 1).
    TestMarkupHost();
    /// The measurer knows only these font faces as installed.
    explicit TestMarkupHost(std::set<std::string> installedFaces);

    /// A style made from the defaults of a new style and `edit`; returns its number.
    int AddStyle(const std::function<void(StyleRecord&)>& edit);
    TKYToggetto& Style(int number) { return *styles_[std::size_t(number)]; }

    /// A page object of `kind` with that size; returns its identifier.
    int AddObject(TOggettiHel kind, int width = 16, int height = 16);
    /// A table of rows by columns whose cells hold one empty paragraph of style 1.
    int AddTable(int rows, int columns);
    MemoryTableCells& Table(int identifier);
    TKYToggetto& Object(int identifier) { return *objects_[std::size_t(identifier)]; }

    FixedMetrics metrics;
    RecordingMessages messages;

    ITextMeasurer& Measurer() override { return metrics; }
    IMessages& Messages() override { return messages; }
    const TKYToggetto* StyleByNumber(std::int32_t number) override;
    TKYToggetto* PageObject(std::int32_t identifier) override;
    std::int32_t PageObjectIdentifier(const TKYToggetto& object) override;
    ObjectSize SizeOf(const TKYToggetto& object) override;
    ITableCells* TableCells(const TKYToggetto& object) override;

private:
    void AddBuiltIns();
    std::vector<std::unique_ptr<TKYToggetto>> styles_;
    std::vector<std::unique_ptr<TKYToggetto>> objects_;
    std::vector<ObjectSize> sizes_;
    std::vector<std::unique_ptr<MemoryTableCells>> tables_;  // by object identifier; may be null
};

/// Reads a whole text and writes it back in mode 0 (with its final 0x00).
std::string Rewrite(std::string_view markup, IMarkupHost& host);
/// The paragraph written alone with `mode` over [start, end).
std::string Written(const TKYTparag& para, IMarkupHost& host, WriteMode mode = wmSave,
                    int start = 0, int end = -1);
/// Reads exactly one text (markup + 0x00 appended) and returns its paragraphs.
Paragraphs Read(std::string_view markup, IMarkupHost& host, int mode = 0);

}  // namespace orvo::test
