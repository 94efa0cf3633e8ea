// The background spell check's pacing.
#include "spell/TQzSpellThread.h"

#include "model/TKYTparag.h"
#include "spell/QzSpellers.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpar.h"

namespace orvo {

TQzSpellThread::TQzSpellThread(TQzSpellChecker& checker, IScheduler& scheduler)
    : checker_(checker), scheduler_(scheduler) {}

TQzSpellThread::~TQzSpellThread() {
    if (timer_) scheduler_.StopTimer(*timer_);
}

void TQzSpellThread::Start(TKYTpage& page, std::unique_ptr<TParInfoForThread> handOff) {
    Stop();
    page_ = &page;
    handOff_ = std::move(handOff);
    if (!checker_.IsOpen() || !handOff_ || !handOff_->root) {
        Finish();
        return;
    }
    timer_ = scheduler_.StartTimer(kSpellThreadFirstWait, false, [this] { Step(); });
}

void TQzSpellThread::Stop() {
    if (!handOff_) return;
    Finish();
}

void TQzSpellThread::Finish() {
    if (timer_) scheduler_.StopTimer(*timer_);
    timer_.reset();
    handOff_.reset();
    page_ = nullptr;
    ++ends_;
}

void TQzSpellThread::Step() {
    timer_.reset();
    if (!handOff_ || !checker_.IsOpen()) {
        Finish();
        return;
    }
    TKYTparag* paragraph = handOff_->root->NextBody();
    handOff_->paragraph = paragraph;
    if (!paragraph) {
        Finish();
        return;
    }
    ++handOff_->index;
    const std::string before = paragraph->spellFlags;
    CheckParagraph(*paragraph);
    // A paragraph without marks before and after keeps its blank flags unseen.
    const bool marked = paragraph->spellFlags.find('!') != std::string::npos ||
                        before.find('!') != std::string::npos;
    if (marked && paragraph->spellFlags != before && onMarksChanged) onMarksChanged(*paragraph);
    timer_ = scheduler_.StartTimer(kSpellThreadStepWait, false, [this] { Step(); });
}

void TQzSpellThread::CheckParagraph(TKYTparag& paragraph) {
    ++paragraphs_;
    page_->SpellParagraphTaken(paragraph);
    const std::string_view text = paragraph.text;
    std::size_t pointer = 0;
    int state = kSpellStateParagraph;
    while (pointer < text.size()) {
        const SpellVerdict verdict = checker_.Verify(text.substr(pointer), state);
        state = kSpellStateContinue;
        // A report that would not move on ends the paragraph.
        if (verdict.status == kSpellOk || verdict.length == 0 ||
            pointer + verdict.offset + verdict.length > text.size())
            break;
        page_->SpellMisspelt(paragraph, std::int32_t(pointer + verdict.offset),
                             std::int32_t(verdict.length));
        pointer += SpellResumeAfter(verdict);
    }
}

}  // namespace orvo
