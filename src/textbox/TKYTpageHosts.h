// What a page surface (TKYTpage) works through: the view of its text (the text box), the
// frame set that shows it, the undo list it purges and the background spell check it paces.
// Each is an interface so the surface runs the same under the desktop and headless.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Markup.h"

namespace orvo {

class TKYTpage;
class TKYTset;
class TKYTtesto;
struct TParInfoForThread;

/// An anchor (a shortObj of subtype 14) at a place of the shown text.
struct AnchorPlace {
    std::int32_t number = 0;
    std::int32_t paragraph = 0;  // index among the view's paragraphs (header ones included)
    std::int32_t character = 0;
    bool operator==(const AnchorPlace&) const = default;
};

/// The view of a shown text: the text box of the page.
class IPageTextView {
public:
    virtual ~IPageTextView() = default;
    /// Reads the texts (markup ending with a 0x00 byte): header paragraphs, body, footer
    /// paragraphs.
    virtual void LoadText(std::optional<std::string_view> header, std::string_view body,
                          std::optional<std::string_view> footer) = 0;
    /// The body paragraphs written back as the markup writer writes them (working form, with
    /// the final 0x00).
    virtual std::string WrittenText() = 0;
    /// Every paragraph in order: header, body, footer.
    virtual Paragraphs& AllParagraphs() = 0;
    /// The host through which the paragraphs' tables give their cells.
    virtual IMarkupHost& Host() = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetAnimated(bool animated) = 0;
    /// Makes the view the active control of its page.
    virtual void Activate() = 0;
    /// Puts the caret (an empty selection) at a place, scrolls it into view, shows the caret.
    virtual void ShowPosition(std::int32_t paragraph, std::int32_t character) = 0;
    /// The anchors of the text, in text order.
    virtual std::vector<AnchorPlace> Anchors() = 0;
};

class ITextViewFactory {
public:
    virtual ~ITextViewFactory() = default;
    /// The view of `text` (a page's working text) on `page`.
    virtual std::unique_ptr<IPageTextView> CreateView(TKYTpage& page, TKYTset& set,
                                                      TKYTtesto& text) = 0;
};

/// What the frame set that shows a page (the editor's frames) offers it.
class IPageFrameSet {
public:
    virtual ~IPageFrameSet() = default;
    /// The page surface starts showing a text in this frame set.
    virtual void RegisterPage(TKYTpage& page) = 0;
    /// Whether committing raises the page's version stamp to the save counter.
    virtual bool RaiseVersionStamp() const = 0;
    /// Automatic (background) spell checking is on and a spell checker is open.
    virtual bool AutomaticSpellCheck() const = 0;
    virtual bool HasActiveSpellChecker() const = 0;
    /// The page's preview panels start showing their pages.
    virtual void StartPreviews(TKYTpage& page) = 0;
    /// A click on a page shown in preview mode.
    virtual void PreviewClicked(TKYTpage& page) = 0;
};

/// The hypertext's undo list as the page sees it.
class IUndoPurge {
public:
    virtual ~IUndoPurge() = default;
    /// Removes the steps that belong to the page's controls.
    virtual void PurgePage(const TKYTpage& page) = 0;
};

/// The background spell check of one page. Everything runs on the owner thread; Stop returns
/// only once the check no longer touches the paragraphs.
class ISpellPacer {
public:
    virtual ~ISpellPacer() = default;
    /// Starts a check over the walk; the pacer calls the page back through
    /// TKYTpage::SpellParagraphTaken and TKYTpage::SpellMisspelt.
    virtual void Start(TKYTpage& page, std::unique_ptr<TParInfoForThread> handOff) = 0;
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

}  // namespace orvo
