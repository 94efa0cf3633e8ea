// A page opened for editing without a window: the hypertext, the page's working text, a text
// box over it, its editing interfaces and the hypertext's undo list with one frame.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/KytFixture.h"
#include "model/TextForms.h"
#include "platform/FixedMetrics.h"
#include "support/MarkupHost.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTundo.h"

namespace orvo::test {

class EditingTest : public KytTest {
protected:
    /// Opens page `markup` (working form, without its 0x00) in the box; caret at the start.
    void Open(std::string_view markup, bool autoQuotes = false);
    /// Opens a page of the hypertext as it is stored.
    void OpenPage(TKYToggetto& page, bool autoQuotes = false);
    /// The box's body written as markup, without the final 0x00.
    std::string Markup();
    TKYTTextAttributes& Text() { return editing_->Text(); }
    TKYTParaAttributes& Para() { return editing_->Para(); }
    TKYTbox& Box() { return *box_; }
    void Caret(int para, int ch) {
        Text().CaretMoved();
        Text().SetCaretAt({para, ch});
    }
    void SelectRange(int p1, int c1, int p2, int c2) {
        Text().CaretMoved();
        Text().Select({p1, c1}, {p2, c2});
    }
    void Type(std::string_view characters) {
        for (char c : characters) Text().InsertChar(static_cast<unsigned char>(c));
    }
    void UndoAll() {
        while (undo_.CanUndo()) undo_.UndoOne();
    }

    FixedMetrics metrics_;
    RecordingBoxHost boxHost_{600, 400};
    TKYTundoIndiciList controls_;
    TKYTundoList& undo_ = UndoListOf(set_);
    TKYTundoFrames& frames_ = undo_.Frames();
    TKYToggetto* page_ = nullptr;
    std::unique_ptr<TKYTtesto> text_;
    std::unique_ptr<TextMarkupHost> host_;
    std::unique_ptr<TKYTbox> box_;
    std::unique_ptr<BoxEditing> editing_;
};

}  // namespace orvo::test
