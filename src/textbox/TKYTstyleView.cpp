// The style preview over its own hypertext.
#include "textbox/TKYTstyleView.h"

#include <algorithm>

#include "model/StyleRecord.h"
#include "model/uKYTogge.h"
#include "platform/Environment.h"

namespace orvo {
namespace {

constexpr std::int32_t kPreviewStyle = 2;

}  // namespace

detail::StyleViewHypertext::StyleViewHypertext(Environment& environment, IMessages& messages)
    : styleSet(environment, messages) {
    // Styles 0 and 1 are built in; the previewed style is the third.
    auto style = NewObjectOfKind(TOggettiHel::stileParagrafo, &styleSet);
    auto* builtIn = styleSet.ObjectByKind(TOggettiHel::stileParagrafo, 0);
    std::copy(builtIn->Record().begin(), builtIn->Record().end(), style->Record().begin());
    styleSet.Register(std::move(style), kPreviewStyle);
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &styleSet);
    page->Clear();
    page->TakeIntoUse();
    page->SetContent(std::string(kStyleSampleText) + '\0');
    styleSet.Register(std::move(page), 0);
}

TKYTstyleView::TKYTstyleView(Environment& environment, IMessages& messages, IScheduler& scheduler,
                             IFramePageFactory& pages)
    : StyleViewHypertext(environment, messages),
      TKYTCustomFrameSet(messages, scheduler, pages),
      environment_(environment) {
    ShowNested = false;
    SaveOnExit = false;
    SetReadOnly(true);
    SetLinkedKYTset(&styleSet);
    SetMainPageNumber(0);
}

TKYToggetto& TKYTstyleView::Style() const {
    return *styleSet.ObjectByKind(TOggettiHel::stileParagrafo, kPreviewStyle);
}

void TKYTstyleView::Reshow() {
    SetMainPageNumber(-1);
    SetMainPageNumber(0);
    if (OnStyleChange) OnStyleChange();
}

void TKYTstyleView::ShowStyle(const TKYToggetto& style) {
    auto from = style.Record();
    auto to = Style().Record();
    std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
    Reshow();
}

void TKYTstyleView::TakeStyle(TKYToggetto& style) const {
    auto from = Style().Record();
    auto to = style.Record();
    std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

void TKYTstyleView::NewStyle() {
    StyleRecord style(Style().Record());
    style.SetDefaults();
    style.SetName(std::string(kNewStyleName) + std::to_string(environment_.Random(10000)));
    Reshow();
}

}  // namespace orvo
