// What the layout, painting and hit-testing tests share: a markup host with styles and page
// objects over the fixed measurer, an inline object that records what the box asks of it, and
// readable views of lines.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/Markup.h"
#include "model/StyleRecord.h"
#include "model/uKYTogge.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "support/MarkupHost.h"
#include "textbox/IInlineObject.h"
#include "textbox/uKYTbox.h"

namespace orvo::test {

/// The layout tests' markup host is the model tests' one.
using BoxMarkupHost = TestMarkupHost;

/// An inline object that records the box's calls.
class FakeInlineObject final : public IInlineObject {
public:
    FakeInlineObject(ObjectSize size, int verticalAlignment, bool table = false)
        : size_(size), alignment_(verticalAlignment), table_(table) {}

    bool IsTable() const override { return table_; }
    void UpdateSize(std::int32_t fullWidth) override {
        lastFullWidth = fullWidth;
        if (table_) size_.width = fullWidth;
    }
    ObjectSize Size() const override { return size_; }
    int VerticalAlignment() const override { return alignment_; }
    void MarkReposition() override { marked = true; }
    void Park() override {
        parkedX = -20000;
        shown = false;
    }
    bool NeedsPlacing() const override { return marked || !shown; }
    void PlaceAt(std::int32_t left, std::int32_t top) override {
        placedLeft = left;
        placedTop = top;
        marked = false;
        shown = true;
        ++placements;
    }
    void SetHighlighted(bool on) override { highlighted = on; }
    void Reformat() override { ++reformats; }

    std::int32_t lastFullWidth = -1;
    bool marked = false;
    bool shown = false;
    std::int32_t parkedX = 0;
    std::int32_t placedLeft = 0, placedTop = 0;
    int placements = 0;
    bool highlighted = false;
    int reformats = 0;

private:
    ObjectSize size_;
    int alignment_;
    bool table_;
};

/// A table host that counts the calls of its cell box.
class CountingTableHost final : public ITableHost {
public:
    void ArrangeCells() override { ++arranged; }
    void RelayoutTableParagraph() override { ++relaidOut; }
    int arranged = 0;
    int relaidOut = 0;
};

/// Markup with the terminating 0x00 byte.
std::string Text(std::string_view markup);

/// The characters of each line of a paragraph.
std::vector<std::string> LineTexts(const TKYTparag& paragraph);
/// The lines of every paragraph of a box, in order.
std::vector<std::string> LineTexts(const TKYTbox& box);

/// A position in the box (paragraph, character), not resolved.
TKYTTextPos At(std::int32_t paragraph, std::int32_t character);

}  // namespace orvo::test
