// The text box as the view of a page's text: what the page surface shows, edits and stores.
#pragma once

#include <memory>

#include "model/TextForms.h"
#include "textbox/TKYTpageHosts.h"
#include "textbox/uKYTbox.h"

namespace orvo {

/// A page's text shown in a TKYTbox: the body through the markup host of the working text,
/// the header and footer paragraphs through the hosts of their own texts.
class TKYTboxView final : public IPageTextView {
public:
    TKYTboxView(TKYTset& set, TKYTtesto& text, ITextMeasurer& measurer, IBoxHost& host);

    void LoadText(std::optional<std::string_view> header, std::string_view body,
                  std::optional<std::string_view> footer) override;
    std::string WrittenText() override;
    Paragraphs& AllParagraphs() override { return box_.MutableParagraphs(); }
    IMarkupHost& Host() override { return bodyHost_; }
    void SetReadOnly(bool readOnly) override;
    void SetAnimated(bool animated) override { animated_ = animated; }
    void Activate() override { box_.inactive = false; }
    void ShowPosition(std::int32_t paragraph, std::int32_t character) override;
    std::vector<AnchorPlace> Anchors() override;

    TKYTbox& Box() { return box_; }
    bool Animated() const { return animated_; }

private:
    TextMarkupHost bodyHost_;
    std::unique_ptr<TextMarkupHost> headerHost_;
    std::unique_ptr<TextMarkupHost> footerHost_;
    TKYTbox box_;
    bool animated_ = true;
};

/// Makes a TKYTboxView for every page shown, on one box host.
class TKYTboxViewFactory final : public ITextViewFactory {
public:
    TKYTboxViewFactory(ITextMeasurer& measurer, IBoxHost& host)
        : measurer_(measurer), host_(host) {}
    std::unique_ptr<IPageTextView> CreateView(TKYTpage& page, TKYTset& set,
                                              TKYTtesto& text) override;
    /// The view made last (owned by its page), or nullptr.
    TKYTboxView* Last() const { return last_; }

private:
    ITextMeasurer& measurer_;
    IBoxHost& host_;
    TKYTboxView* last_ = nullptr;
};

}  // namespace orvo
