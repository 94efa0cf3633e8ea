// The page surface's services without a window.
#include "textbox/TKYTpageHeadless.h"

#include "model/TKYTparag.h"
#include "model/uKYTogge.h"
#include "textbox/TKYTpage.h"

namespace orvo {

namespace {
constexpr std::uint8_t kAnchorSubtype = 14;
}

std::vector<AnchorPlace> AnchorsIn(const Paragraphs& paragraphs) {
    std::vector<AnchorPlace> anchors;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
        const TKYTparag& paragraph = *paragraphs[p];
        for (std::size_t c = 0; c < paragraph.metrics.size(); ++c) {
            const std::int32_t index = paragraph.metrics[c].objectIndex;
            if (index < 0 || std::size_t(index) >= paragraph.objects.size()) continue;
            const TKYToggetto* object = paragraph.objects[std::size_t(index)];
            if (!object || object->Kind() != TOggettiHel::shortObj ||
                object->Subtype() != kAnchorSubtype)
                continue;
            anchors.push_back(
                {object->ReadView().I32(kShortReference), std::int32_t(p), std::int32_t(c)});
        }
    }
    return anchors;
}

HeadlessTextView::HeadlessTextView(TKYTset& set, TKYTtesto& text, ITextMeasurer& measurer)
    : bodyHost_(set, text, measurer) {
    if (text.headerText)
        headerHost_ = std::make_unique<TextMarkupHost>(set, *text.headerText, measurer);
    if (text.footerText)
        footerHost_ = std::make_unique<TextMarkupHost>(set, *text.footerText, measurer);
}

void HeadlessTextView::LoadText(std::optional<std::string_view> header, std::string_view body,
                                std::optional<std::string_view> footer) {
    paragraphs_.clear();
    auto append = [&](std::string_view markup, IMarkupHost& host, std::uint8_t kind) {
        for (auto& paragraph : ReadText(markup, host)) {
            paragraph->kind = kind;
            paragraphs_.push_back(std::move(paragraph));
        }
    };
    if (header && headerHost_) append(*header, *headerHost_, kHeaderParagraph);
    append(body, bodyHost_, kBodyParagraph);
    if (footer && footerHost_) append(*footer, *footerHost_, kFooterParagraph);
}

std::string HeadlessTextView::WrittenText() {
    return WriteText(paragraphs_, bodyHost_);
}

void HeadlessTextView::ShowPosition(std::int32_t paragraph, std::int32_t character) {
    caret_ = {paragraph, character};
}

std::unique_ptr<IPageTextView> HeadlessTextViewFactory::CreateView(TKYTpage&, TKYTset& set,
                                                                   TKYTtesto& text) {
    auto view = std::make_unique<HeadlessTextView>(set, text, measurer_);
    last_ = view.get();
    return view;
}

void ManualSpellPacer::Start(TKYTpage& page, std::unique_ptr<TParInfoForThread> handOff) {
    page_ = &page;
    handOff_ = std::move(handOff);
    ++starts_;
}

void ManualSpellPacer::Stop() {
    handOff_.reset();
    ++stops_;
}

TKYTparag* ManualSpellPacer::Take() {
    if (!handOff_ || !handOff_->root) return nullptr;
    TKYTparag* paragraph = handOff_->root->NextBody();
    handOff_->paragraph = paragraph;
    if (!paragraph) {
        handOff_.reset();
        return nullptr;
    }
    ++handOff_->index;
    page_->SpellParagraphTaken(*paragraph);
    return paragraph;
}

}  // namespace orvo
