// TKYTpage: the surface that shows one page in an editor frame. It always works on a copy of
// the page (the working text) and puts the edits back into the hypertext on commit.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ObjectRecord.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTpageHosts.h"
#include "textbox/TKYTsfondo.h"

namespace orvo {

class TKYTCustomFrameSet;
class TKYToggetto;
class TKYTparag;
class TKYTset;
class TKYTtesto;

/// The warning of a commit whose page was replaced in the hypertext while it was shown.
inline constexpr std::string_view kPageReplacedWarning =
    "La pagina \xE8 stata sostituita nel frattempo: le modifiche sono state salvate in una "
    "nuova pagina.";
/// The warning of an anchor that is not on the page, followed by its number.
inline constexpr std::string_view kAnchorNotFound = "Ancora non trovata: a";
/// The spell check starts this long after the last change.
inline constexpr std::chrono::milliseconds kSpellDelay{2000};
/// The vertical scroll range of a page that is not a preview.
inline constexpr std::int32_t kPageVerticalRange = 1024;

class TKYTpage {
public:
    TKYTpage(TKYTset& set, IPageFrameSet& frameSet, ITextViewFactory& views, IUndoPurge& undo,
             ISpellPacer& spell, IScheduler& scheduler);
    ~TKYTpage();
    TKYTpage(const TKYTpage&) = delete;
    TKYTpage& operator=(const TKYTpage&) = delete;

    /// Shows the page with that identifier: opens a working copy of its text with its header
    /// and footer texts and creates its view. An identifier that names no live page shows a
    /// new empty page. Returns the working text.
    TKYTtesto* ShowText(std::int32_t pageIdentifier);
    /// Shows a text that is not a registered page (the surface takes it), or a new empty page
    /// when none is given. The page is new: a commit stores it under a new identifier.
    TKYTtesto* ShowText(std::unique_ptr<TKYTtesto> unregistered);
    /// Stores the edits once. The page that was shown is replaced by the working text under
    /// the same identifier (its version stamp raised when the frame set asks for it), a new
    /// page gets a new identifier. When the hypertext's page changed meanwhile (another
    /// surface committed it, it was deleted), edits are kept as a new page with a warning.
    /// Further commits do nothing until the page is shown again. True when something was
    /// stored.
    bool CommitText();
    /// Frees the view, the working text with its header and footer texts, and purges the
    /// undo list of this page's steps.
    void CloseText();

    /// Around a save of the hypertext, which recreates every object (the styles the view's
    /// paragraphs use included): the view's text is kept in working form and the view freed,
    /// then made again from that text. The edits survive; the page is found again by its
    /// identifier when committed.
    void DetachView();
    void ReattachView();

    /// The frame sets of the page's floating frames. Each joins the list when it is made and
    /// leaves it when it goes; the page detaches and reattaches their pages with its own view.
    void AddFloatingFrameSet(TKYTCustomFrameSet& frames);
    void RemoveFloatingFrameSet(TKYTCustomFrameSet& frames);
    const std::vector<TKYTCustomFrameSet*>& FloatingFrameSets() const { return floating_; }

    bool Showing() const { return working_ != nullptr; }
    /// The identifier of the page shown; -1 while nothing or a new page is shown.
    std::int32_t PageIdentifier() const { return pageIdentifier_; }
    bool IsNewPage() const { return newPage_; }
    bool Committed() const { return committed_; }
    TKYTtesto* WorkingText() const { return working_.get(); }
    IPageTextView* View() const { return view_.get(); }
    TKYTset& Set() const { return set_; }

    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }
    void SetAnimated(bool animated);
    bool Animated() const { return animated_; }
    /// In read-only mode 0 and 1 hide both scroll bars, 2 and 3 show them; other values change
    /// nothing. In edit mode both are always shown.
    void SetScrollBarMode(int mode);
    int ScrollBarMode() const { return scrollBarMode_; }
    bool ScrollBarsVisible() const { return scrollBarsVisible_; }
    /// A small preview inside another page: no border, no vertical range, read-only.
    void SetPreviewMode(bool preview);
    bool PreviewMode() const { return previewMode_; }
    bool BorderVisible() const { return !previewMode_; }
    std::int32_t VerticalRange() const { return previewMode_ ? 0 : kPageVerticalRange; }
    /// How many times the surface asked to be painted again.
    int Repaints() const { return repaints_; }
    /// A click on the surface: a preview passes it to its frame set.
    void Click();
    /// The background erase is handled only while a page is shown.
    bool HandlesEraseBackground() const { return Showing(); }

    /// Puts the caret at the anchor with that number; false (and, unless read-only, the
    /// warning "Ancora non trovata: a" + number) when the page has none.
    bool GoToAnchor(std::int32_t number);
    /// The largest anchor number on the page plus 1; 0 without anchors.
    std::int32_t NextAnchorNumber() const;

    /// The previous and next page of the shown page's browse sequence (itself at the ends).
    std::int32_t PreviousInSequence() const;
    std::int32_t NextInSequence() const;

    /// The background painter, with the shown page's colour; the picture is set by whoever
    /// decodes it.
    TKYTsfondo& Background() { return background_; }

    /// A change of the text: the spell check is stopped and starts again 2000 ms later.
    void TextChanged();
    void StopSpellCheck();
    /// The spell timer fired: a check starts when the frame set has automatic checking with an
    /// open checker and the page is edited.
    void SpellTimerFired();
    bool SpellTimerArmed() const { return spellTimer_.has_value(); }
    /// Called back by the spell check: the paragraph's marks are cleared before it is checked,
    /// then each misspelt range is marked with "!".
    void SpellParagraphTaken(TKYTparag& paragraph);
    void SpellMisspelt(TKYTparag& paragraph, std::int32_t position, std::int32_t length);

private:
    struct Snapshot {
        std::array<std::uint8_t, kObjectRecordSize> record{};
        std::string content;
        std::optional<std::string> auxiliary;
        bool operator==(const Snapshot&) const = default;
    };
    static Snapshot Take(const TKYToggetto& object);
    TKYTtesto* Present(std::unique_ptr<TKYTtesto> text);
    void OpenHeaderFooter(TKYTtesto& text);
    bool Edited(const std::string& markup) const;
    std::int32_t StoreAsNewPage(const std::string& markup, bool raise);
    void CreateView(std::string_view body);
    void ArmSpellTimer();
    void DisarmSpellTimer();
    void UpdateScrollBars();

    TKYTset& set_;
    IPageFrameSet& frameSet_;
    ITextViewFactory& views_;
    IUndoPurge& undo_;
    ISpellPacer& spell_;
    IScheduler& scheduler_;

    std::unique_ptr<TKYTtesto> working_;
    std::unique_ptr<IPageTextView> view_;
    std::int32_t pageIdentifier_ = -1;
    bool newPage_ = false;
    bool committed_ = false;
    // The page as it stood in the hypertext when shown: a commit stores over it only while it
    // is still that page. Objects are compared by what they hold, never by address, since a
    // save recreates every object of the hypertext.
    std::optional<Snapshot> shownPage_;
    // The working text as shown, to tell whether anything was edited.
    std::string shownMarkup_;
    std::optional<Snapshot> shownWorking_;
    // The view's text while it is detached.
    std::optional<std::string> detachedMarkup_;

    bool readOnly_ = false;
    bool animated_ = true;
    int scrollBarMode_ = 3;
    bool scrollBarsVisible_ = true;
    bool previewMode_ = false;
    int repaints_ = 0;
    TKYTsfondo background_;
    std::optional<IScheduler::TimerId> spellTimer_;
    std::vector<TKYTCustomFrameSet*> floating_;
};

}  // namespace orvo
