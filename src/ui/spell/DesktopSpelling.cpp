// Spell checking in the desktop program.
#include "ui/spell/DesktopSpelling.h"

#include "spell/QzSpellers.h"
#include "spell/SpellPages.h"
#include "ui/spell/QtSpellerDialog.h"

namespace orvo {

DesktopSpelling::DesktopSpelling(TKYTset& set, Environment& environment, IMessages& messages,
                                 IScheduler& scheduler, QWidget* parent)
    : DesktopSpelling(set, std::make_unique<TQzSpellChecker>(environment, messages), scheduler,
                      parent) {}

DesktopSpelling::DesktopSpelling(TKYTset& set, std::unique_ptr<TQzSpellChecker> checker,
                                 IScheduler& scheduler, QWidget* parent)
    : set_(set),
      checker_(std::move(checker)),
      dialog_(std::make_unique<QtSpellerDialog>(parent)),
      walk_(std::make_unique<SpellPagesWalk>(set, *checker_, scheduler)) {
    checker_->SetDialogView(dialog_.get());
    Wire();
}

DesktopSpelling::~DesktopSpelling() {
    walk_.reset();  // it unhooks the checker's events
    checker_->SetDialogView(nullptr);
}

void DesktopSpelling::Wire() {
    walk_->onPageStart = [this](std::int32_t page) {
        if (showPage && currentPage && currentPage() != page) showPage(page);
    };
    // A page the dialog changed was committed behind the editor's back: it shows it again.
    walk_->onPageEnd = [this](std::int32_t page, bool changed) {
        if (changed && showPage) showPage(page);
    };
}

int DesktopSpelling::Language() const {
    return checker_->Language();
}

bool DesktopSpelling::SetLanguage(int language) {
    if (language < 0 || language > 0xFFFF) return false;
    checker_->Close();
    checker_->SetLanguage(std::uint16_t(language));
    return checker_->Open();
}

bool DesktopSpelling::Open() {
    return checker_->Open();
}

bool DesktopSpelling::IsOpen() const {
    return checker_->IsOpen();
}

bool DesktopSpelling::Running() const {
    return walk_->Running();
}

Outcome DesktopSpelling::Run(CommandId command) {
    if (command != CommandId::ToolsSpellPage && command != CommandId::ToolsSpellHypertext)
        return Outcome::NotSupported;
    if (!checker_->IsOpen() || walk_->Running()) return Outcome::Cancelled;
    if (commitPage) commitPage();
    if (command == CommandId::ToolsSpellPage) {
        const std::int32_t page = currentPage ? currentPage() : -1;
        if (page < 0) return Outcome::Cancelled;
        walk_->CheckPage(page);
    } else {
        walk_->CheckAllPages();
    }
    return Outcome::Done;
}

}  // namespace orvo
