// Every page of a hypertext opened and committed.
#include "OpenPages.h"

#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"

namespace orvo::cli {

int OpenAndCommitEveryPage(TKYTset& set) {
    FixedMetrics metrics;
    HeadlessTextViewFactory views(metrics);
    HeadlessFrameSet frames;
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    TKYTpage surface(set, frames, views, undo, spell, scheduler);
    int stored = 0;
    const int pages = set.KindCount(TOggettiHel::testoHtml);
    for (int identifier = 0; identifier < pages; ++identifier) {
        const TKYToggetto* page = set.ObjectByKind(TOggettiHel::testoHtml, identifier);
        if (!page || page->IsFree()) continue;
        surface.ShowText(identifier);
        if (surface.CommitText()) ++stored;
        surface.CloseText();
    }
    return stored;
}

}  // namespace orvo::cli
