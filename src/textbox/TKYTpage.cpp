// The page surface: showing, committing and closing a page, its modes, anchors and spell check.
#include "textbox/TKYTpage.h"

#include <algorithm>
#include <climits>
#include <string>

#include "model/BrowseSequence.h"
#include "model/TKYTparag.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "textbox/TKYTpar.h"
#include "textbox/uKYTCornice.h"

namespace orvo {

namespace {

// Record fields a save rewrites (where the text and the head code lie in the file): they say
// nothing about the page itself.
void ClearPlaces(std::array<std::uint8_t, kObjectRecordSize>& record) {
    for (const FieldSpec* field :
         {&kRecDataPosition, &kPageTextSize, &kPageAuxPosition, &kPageAuxSize})
        std::fill_n(record.begin() + field->offset, field->width, 0);
}

// What of a page survives a save: the stored part of its record.
constexpr std::size_t kStoredPage = 292;

// Copies the page properties (record and head code) of the working text into `target`,
// keeping where the target's data lie.
void CopyProperties(const TKYToggetto& from, TKYToggetto& target) {
    std::array<std::uint8_t, kObjectRecordSize> record{};
    std::copy(from.Record().begin(), from.Record().end(), record.begin());
    for (const FieldSpec* field :
         {&kRecDataPosition, &kPageTextSize, &kPageAuxPosition, &kPageAuxSize})
        std::copy_n(target.Record().begin() + field->offset, field->width,
                    record.begin() + field->offset);
    std::copy(record.begin(), record.end(), target.Record().begin());
    target.SetAuxiliary(from.Auxiliary());
}

}  // namespace

TKYTpage::TKYTpage(TKYTset& set, IPageFrameSet& frameSet, ITextViewFactory& views, IUndoPurge& undo,
                   ISpellPacer& spell, IScheduler& scheduler)
    : set_(set),
      frameSet_(frameSet),
      views_(views),
      undo_(undo),
      spell_(spell),
      scheduler_(scheduler) {}

TKYTpage::~TKYTpage() {
    // Floating frames that outlive the page no longer name it.
    for (TKYTCustomFrameSet* frames : floating_) frames->LeaveFloatingPage();
    CloseText();
}

void TKYTpage::AddFloatingFrameSet(TKYTCustomFrameSet& frames) {
    if (std::find(floating_.begin(), floating_.end(), &frames) != floating_.end()) return;
    frames.RemoveFromFloatingPage();
    floating_.push_back(&frames);
    frames.floatingPage_ = this;
}

void TKYTpage::RemoveFloatingFrameSet(TKYTCustomFrameSet& frames) {
    std::erase(floating_, &frames);
    if (frames.floatingPage_ == this) frames.floatingPage_ = nullptr;
}

TKYTpage::Snapshot TKYTpage::Take(const TKYToggetto& object) {
    Snapshot snapshot;
    std::copy_n(object.Record().begin(), kStoredPage, snapshot.record.begin());
    ClearPlaces(snapshot.record);
    if (Result<std::string> bytes = object.ContentBytes(); bytes.ok()) snapshot.content = *bytes;
    snapshot.auxiliary = object.Auxiliary();
    return snapshot;
}

TKYTtesto* TKYTpage::ShowText(std::int32_t pageIdentifier) {
    CloseText();
    const TKYToggetto* page = LivePage(set_, pageIdentifier);
    if (!page) return ShowText(std::unique_ptr<TKYTtesto>());
    frameSet_.RegisterPage(*this);
    std::unique_ptr<TKYTtesto> text = OpenText(set_, *page, false);
    // The header and footer are those the page's record resolves to; a page never serves as
    // its own header.
    if (HeaderPageOf(set_, *text) < 0) text->headerText.reset();
    if (FooterPageOf(set_, *text) < 0) text->footerText.reset();
    pageIdentifier_ = pageIdentifier;
    newPage_ = false;
    shownPage_ = Take(*page);
    return Present(std::move(text));
}

TKYTtesto* TKYTpage::ShowText(std::unique_ptr<TKYTtesto> unregistered) {
    CloseText();
    frameSet_.RegisterPage(*this);
    if (!unregistered) {
        unregistered = std::make_unique<TKYTtesto>(&set_);
        unregistered->SetKind(TOggettiHel::testoHtml);
        unregistered->Clear();
        unregistered->TakeIntoUse();
    }
    OpenHeaderFooter(*unregistered);
    pageIdentifier_ = -1;
    newPage_ = true;
    shownPage_.reset();
    return Present(std::move(unregistered));
}

void TKYTpage::OpenHeaderFooter(TKYTtesto& text) {
    if (!text.headerText)
        if (const TKYToggetto* header = LivePage(set_, HeaderPageOf(set_, text)))
            text.headerText = OpenText(set_, *header, true);
    if (!text.footerText)
        if (const TKYToggetto* footer = LivePage(set_, FooterPageOf(set_, text)))
            text.footerText = OpenText(set_, *footer, true);
}

TKYTtesto* TKYTpage::Present(std::unique_ptr<TKYTtesto> text) {
    working_ = std::move(text);
    committed_ = false;
    const PageRecord record = PageRecord::Read(*working_);
    background_.colour = record.BackgroundColour();
    background_.picture = nullptr;
    Result<std::string> body = working_->ContentBytes();
    CreateView(body.ok() ? *body : std::string());
    view_->Activate();
    shownMarkup_ = view_->WrittenText();
    shownWorking_ = Take(*working_);
    frameSet_.StartPreviews(*this);
    ArmSpellTimer();
    return working_.get();
}

void TKYTpage::CreateView(std::string_view body) {
    auto contentOf = [](const TKYTtesto* text) -> std::optional<std::string> {
        if (!text) return std::nullopt;
        Result<std::string> bytes = text->ContentBytes();
        return bytes.ok() ? std::move(*bytes) : std::string();
    };
    const std::optional<std::string> header = contentOf(working_->headerText.get());
    const std::optional<std::string> footer = contentOf(working_->footerText.get());
    view_ = views_.CreateView(*this, set_, *working_);
    view_->LoadText(header ? std::optional<std::string_view>(*header) : std::nullopt, body,
                    footer ? std::optional<std::string_view>(*footer) : std::nullopt);
    view_->SetReadOnly(readOnly_);
    view_->SetAnimated(animated_);
}

void TKYTpage::DetachView() {
    if (!view_) return;
    StopSpellCheck();
    DisarmSpellTimer();
    // Copied: a floating frame whose page lets go of its objects may leave the list.
    for (TKYTCustomFrameSet* frames : std::vector(floating_)) frames->DetachPages();
    detachedMarkup_ = view_->WrittenText();
    view_.reset();
}

void TKYTpage::ReattachView() {
    if (!detachedMarkup_ || !working_) return;
    const std::string body = std::move(*detachedMarkup_);
    detachedMarkup_.reset();
    CreateView(body);
    for (TKYTCustomFrameSet* frames : std::vector(floating_)) frames->ReattachPages();
    ArmSpellTimer();
}

bool TKYTpage::Edited(const std::string& markup) const {
    if (markup != shownMarkup_) return true;
    Snapshot now = Take(*working_);
    now.content = shownWorking_ ? shownWorking_->content : std::string();
    return !shownWorking_ || now != *shownWorking_;
}

std::int32_t TKYTpage::StoreAsNewPage(const std::string& markup, bool raise) {
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
    page->Clear();
    page->TakeIntoUse();
    CopyProperties(*working_, *page);
    page->View().SetU8(kRecSubtype, 0);
    StoreText(set_, *working_, markup, *page, raise);
    return set_.Register(std::move(page));
}

bool TKYTpage::CommitText() {
    if (!Showing() || committed_) return false;
    StopSpellCheck();
    const std::string markup = view_ ? view_->WrittenText() : detachedMarkup_.value_or("");
    const bool raise = frameSet_.RaiseVersionStamp();
    bool stored = true;
    if (newPage_) {
        pageIdentifier_ = StoreAsNewPage(markup, raise);
        newPage_ = false;
    } else {
        TKYToggetto* page = LivePage(set_, pageIdentifier_);
        bool same = page && shownPage_;
        if (same) {
            Snapshot now = Take(*page);
            // A page still in the legacy form when shown is converted by a save: only its
            // properties can be compared then.
            const std::uint8_t versionAt = std::uint8_t(kPageTextVersion.offset);
            if (shownPage_->record[versionAt] == 1 && now.record[versionAt] == 2) {
                now.record[versionAt] = 1;
                now.content = shownPage_->content;
            }
            same = now == *shownPage_;
        }
        if (same) {
            CopyProperties(*working_, *page);
            StoreText(set_, *working_, markup, *page, raise);
        } else if (Edited(markup)) {
            // The page shown is gone (replaced by another surface's commit, or deleted): the
            // author's edits are kept as a page of their own rather than dropped.
            pageIdentifier_ = StoreAsNewPage(markup, raise);
            set_.Messages().Warn(kPageReplacedWarning);
        } else {
            stored = false;
        }
    }
    committed_ = true;
    if (stored) shownPage_.reset();
    return stored;
}

void TKYTpage::CloseText() {
    StopSpellCheck();
    DisarmSpellTimer();
    const bool wasShowing = Showing();
    view_.reset();
    detachedMarkup_.reset();
    working_.reset();
    shownPage_.reset();
    shownWorking_.reset();
    shownMarkup_.clear();
    background_.picture = nullptr;
    if (wasShowing) undo_.PurgePage(*this);
    pageIdentifier_ = -1;
    newPage_ = false;
    committed_ = false;
}

void TKYTpage::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (view_) view_->SetReadOnly(readOnly);
    UpdateScrollBars();
}

void TKYTpage::SetAnimated(bool animated) {
    animated_ = animated;
    if (view_) view_->SetAnimated(animated);
}

void TKYTpage::SetScrollBarMode(int mode) {
    if (mode < 0 || mode > 3) return;
    scrollBarMode_ = mode;
    UpdateScrollBars();
}

void TKYTpage::UpdateScrollBars() {
    scrollBarsVisible_ = !readOnly_ || scrollBarMode_ >= 2;
}

void TKYTpage::SetPreviewMode(bool preview) {
    previewMode_ = preview;
    if (preview) SetReadOnly(true);
    ++repaints_;
}

void TKYTpage::Click() {
    if (previewMode_) frameSet_.PreviewClicked(*this);
}

bool TKYTpage::GoToAnchor(std::int32_t number) {
    if (view_) {
        for (const AnchorPlace& anchor : view_->Anchors()) {
            if (anchor.number == number) {
                view_->ShowPosition(anchor.paragraph, anchor.character);
                return true;
            }
        }
    }
    if (!readOnly_) set_.Messages().Warn(std::string(kAnchorNotFound) + std::to_string(number));
    return false;
}

std::int32_t TKYTpage::NextAnchorNumber() const {
    std::int64_t next = 0;
    if (view_)
        for (const AnchorPlace& anchor : view_->Anchors())
            next = std::max(next, std::int64_t(anchor.number) + 1);
    return std::int32_t(std::min<std::int64_t>(next, INT32_MAX));
}

namespace {
std::vector<SequenceEntry> SequenceOf(const TKYTset& set) {
    std::vector<SequenceEntry> entries;
    for (const auto& page : set.KindList(TOggettiHel::testoHtml)) {
        const PageRecord record = PageRecord::Read(*page);
        entries.push_back({page->Identifier(), record.Group(), record.Order(), page->IsFree()});
    }
    return entries;
}
}  // namespace

std::int32_t TKYTpage::PreviousInSequence() const {
    return orvo::PreviousInSequence(SequenceOf(set_), pageIdentifier_);
}

std::int32_t TKYTpage::NextInSequence() const {
    return orvo::NextInSequence(SequenceOf(set_), pageIdentifier_);
}

void TKYTpage::TextChanged() {
    StopSpellCheck();
    ArmSpellTimer();
}

void TKYTpage::ArmSpellTimer() {
    DisarmSpellTimer();
    spellTimer_ = scheduler_.StartTimer(kSpellDelay, false, [this] {
        spellTimer_.reset();
        SpellTimerFired();
    });
}

void TKYTpage::DisarmSpellTimer() {
    if (spellTimer_) scheduler_.StopTimer(*spellTimer_);
    spellTimer_.reset();
}

void TKYTpage::StopSpellCheck() {
    if (spell_.Running()) spell_.Stop();
}

void TKYTpage::SpellTimerFired() {
    if (!view_ || readOnly_ || !frameSet_.AutomaticSpellCheck() ||
        !frameSet_.HasActiveSpellChecker())
        return;
    StopSpellCheck();
    auto handOff = std::make_unique<TParInfoForThread>();
    handOff->root = std::make_unique<TKYTpar>(view_->AllParagraphs(), view_->Host());
    spell_.Start(*this, std::move(handOff));
}

void TKYTpage::SpellParagraphTaken(TKYTparag& paragraph) {
    paragraph.spellFlags.assign(paragraph.text.size(), ' ');
}

void TKYTpage::SpellMisspelt(TKYTparag& paragraph, std::int32_t position, std::int32_t length) {
    // The range comes from another party's reading of the text: it is kept inside the text.
    const std::int64_t size = std::int64_t(paragraph.text.size());
    if (paragraph.spellFlags.size() != paragraph.text.size())
        paragraph.spellFlags.assign(paragraph.text.size(), ' ');
    const std::int64_t first = std::clamp<std::int64_t>(position, 0, size);
    const std::int64_t last =
        std::clamp<std::int64_t>(std::int64_t(position) + length, first, size);
    std::fill(paragraph.spellFlags.begin() + first, paragraph.spellFlags.begin() + last, '!');
}

}  // namespace orvo
