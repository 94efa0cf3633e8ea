// The page surface's services without a window: a text view that keeps the paragraphs read
// from markup, a frame set of settable answers, an undo list that counts its purges and a spell
// check driven by hand. The desktop supplies the real ones; tests and orvo-cli use these.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "model/TextForms.h"
#include "platform/ITextMeasurer.h"
#include "textbox/TKYTpageHosts.h"
#include "textbox/TKYTpar.h"

namespace orvo {

/// The anchors (shortObj objects of subtype 14) among the characters of `paragraphs`.
std::vector<AnchorPlace> AnchorsIn(const Paragraphs& paragraphs);

/// A text view that reads the three texts into paragraphs (each through the markup host of
/// its own text) and writes the body back.
class HeadlessTextView final : public IPageTextView {
public:
    HeadlessTextView(TKYTset& set, TKYTtesto& text, ITextMeasurer& measurer);

    void LoadText(std::optional<std::string_view> header, std::string_view body,
                  std::optional<std::string_view> footer) override;
    std::string WrittenText() override;
    Paragraphs& AllParagraphs() override { return paragraphs_; }
    IMarkupHost& Host() override { return bodyHost_; }
    void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }
    void SetAnimated(bool animated) override { animated_ = animated; }
    void Activate() override { ++activations_; }
    void ShowPosition(std::int32_t paragraph, std::int32_t character) override;
    std::vector<AnchorPlace> Anchors() override { return AnchorsIn(paragraphs_); }

    bool ReadOnly() const { return readOnly_; }
    bool Animated() const { return animated_; }
    int Activations() const { return activations_; }
    /// Where ShowPosition last put the caret: (paragraph, character).
    std::optional<std::pair<std::int32_t, std::int32_t>> Caret() const { return caret_; }

private:
    TextMarkupHost bodyHost_;
    std::unique_ptr<TextMarkupHost> headerHost_;
    std::unique_ptr<TextMarkupHost> footerHost_;
    Paragraphs paragraphs_;
    bool readOnly_ = false;
    bool animated_ = true;
    int activations_ = 0;
    std::optional<std::pair<std::int32_t, std::int32_t>> caret_;
};

class HeadlessTextViewFactory final : public ITextViewFactory {
public:
    explicit HeadlessTextViewFactory(ITextMeasurer& measurer) : measurer_(measurer) {}
    std::unique_ptr<IPageTextView> CreateView(TKYTpage& page, TKYTset& set,
                                              TKYTtesto& text) override;
    /// The view made last (owned by its page), or nullptr.
    HeadlessTextView* Last() const { return last_; }

private:
    ITextMeasurer& measurer_;
    HeadlessTextView* last_ = nullptr;
};

class HeadlessFrameSet final : public IPageFrameSet {
public:
    void RegisterPage(TKYTpage& page) override { registered.push_back(&page); }
    bool RaiseVersionStamp() const override { return raiseVersionStamp; }
    bool AutomaticSpellCheck() const override { return automaticSpellCheck; }
    bool HasActiveSpellChecker() const override { return activeSpellChecker; }
    void StartPreviews(TKYTpage&) override { ++previewStarts; }
    void PreviewClicked(TKYTpage& page) override { previewClicks.push_back(&page); }

    bool raiseVersionStamp = false;
    bool automaticSpellCheck = false;
    bool activeSpellChecker = false;
    std::vector<TKYTpage*> registered;
    std::vector<TKYTpage*> previewClicks;
    int previewStarts = 0;
};

class RecordingUndoPurge final : public IUndoPurge {
public:
    void PurgePage(const TKYTpage& page) override { purged.push_back(&page); }
    std::vector<const TKYTpage*> purged;
};

/// A spell check that takes a paragraph when told to (Take), as the background thread would,
/// and reports nothing by itself.
class ManualSpellPacer final : public ISpellPacer {
public:
    void Start(TKYTpage& page, std::unique_ptr<TParInfoForThread> handOff) override;
    void Stop() override;
    bool Running() const override { return handOff_ != nullptr; }

    /// Takes the next body paragraph (its marks cleared by the page); nullptr ends the check.
    TKYTparag* Take();
    TKYTpage* Page() const { return page_; }
    int Starts() const { return starts_; }
    int Stops() const { return stops_; }

private:
    TKYTpage* page_ = nullptr;
    std::unique_ptr<TParInfoForThread> handOff_;
    int starts_ = 0;
    int stops_ = 0;
};

}  // namespace orvo
