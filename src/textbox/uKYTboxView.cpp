// The text box view of a page.
#include "textbox/uKYTboxView.h"

#include "model/uKYTogge.h"
#include "textbox/IInlineObject.h"
#include "textbox/TKYTpageHeadless.h"

namespace orvo {

TKYTboxView::TKYTboxView(TKYTset& set, TKYTtesto& text, ITextMeasurer& measurer, IBoxHost& host)
    : bodyHost_(set, text, measurer), box_(bodyHost_, host) {
    // A table whose view the page shows keeps its cells in that view's cell boxes.
    bodyHost_.tables = [this, &host](const TKYToggetto& object) -> ITableCells* {
        if (object.Kind() != TOggettiHel::tabellaHtml) return nullptr;
        IInlineObject* view = host.ViewOf(object);
        return view ? view->TableCellsFor(bodyHost_) : nullptr;
    };
    if (text.headerText)
        headerHost_ = std::make_unique<TextMarkupHost>(set, *text.headerText, measurer);
    if (text.footerText)
        footerHost_ = std::make_unique<TextMarkupHost>(set, *text.footerText, measurer);
}

void TKYTboxView::LoadText(std::optional<std::string_view> header, std::string_view body,
                           std::optional<std::string_view> footer) {
    if (!headerHost_) header.reset();
    if (!footerHost_) footer.reset();
    box_.LoadText(header, body, footer, headerHost_.get(), footerHost_.get());
}

std::string TKYTboxView::WrittenText() {
    return WriteText(box_.AllParagraphs(), bodyHost_);
}

void TKYTboxView::SetReadOnly(bool readOnly) {
    box_.SetRunMode(readOnly, false);
}

void TKYTboxView::ShowPosition(std::int32_t paragraph, std::int32_t character) {
    TKYTTextPos pos;
    pos.paraIndex = paragraph;
    pos.charIndex = character;
    box_.ClearSelection();
    box_.SetCaret(pos);
    const TKYTTextPos& caret = box_.Caret();
    if (caret.Resolved()) box_.ScrollIntoView(caret.x, caret.y, caret.height, 3);
}

std::vector<AnchorPlace> TKYTboxView::Anchors() {
    return AnchorsIn(box_.AllParagraphs());
}

std::unique_ptr<IPageTextView> TKYTboxViewFactory::CreateView(TKYTpage&, TKYTset& set,
                                                              TKYTtesto& text) {
    auto view = std::make_unique<TKYTboxView>(set, text, measurer_, host_);
    last_ = view.get();
    return view;
}

}  // namespace orvo
