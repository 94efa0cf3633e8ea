// A page opened for editing without a window.
#include "EditingSupport.h"

namespace orvo::test {

void EditingTest::Open(std::string_view markup, bool autoQuotes) {
    if (!page_) page_ = &Add(TOggettiHel::testoHtml, "Pagina");
    page_->SetContent(std::string(markup) + '\0');
    OpenPage(*page_, autoQuotes);
}

void EditingTest::OpenPage(TKYToggetto& page, bool autoQuotes) {
    editing_.reset();
    box_.reset();
    page_ = &page;
    text_ = OpenText(set_, *page_, false);
    host_ = std::make_unique<TextMarkupHost>(set_, *text_, metrics_);
    box_ = std::make_unique<TKYTbox>(*host_, boxHost_);
    const std::string working = *text_->ContentBytes();
    box_->LoadText(std::nullopt, working, std::nullopt);
    EditContext context{set_, *text_, messages_};
    context.undo = &undo_;
    context.autoEngQuote = autoQuotes;
    frames_.SetFrame(0, page_->Identifier(), &controls_);
    editing_ = std::make_unique<BoxEditing>(*box_, context, &controls_, page_->Identifier(), 0);
}

std::string EditingTest::Markup() {
    std::string bytes = WriteText(box_->AllParagraphs(), *host_);
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

}  // namespace orvo::test
