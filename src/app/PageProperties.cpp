#include "app/PageProperties.h"

#include <algorithm>
#include <charconv>

#include "model/HeaderRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "textbox/FrameRecord.h"
#include "textbox/uKYTCornice.h"

namespace orvo {

using K = TOggettiHel;

namespace {

// A browse-sequence field as typed: blanks around it allowed, a sign, then digits only.
std::optional<std::int16_t> ReadNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return std::int16_t(std::clamp<long long>(value, INT16_MIN, INT16_MAX));
}

HeaderChoice ChoiceOf(std::int32_t field, std::int32_t& page) {
    if (field == kNoHeaderFooter) return HeaderChoice::None;
    if (field < 0) return HeaderChoice::Global;
    page = field;
    return HeaderChoice::Here;
}

std::int32_t FieldOf(HeaderChoice choice, std::int32_t page) {
    if (choice == HeaderChoice::Here) return page >= 0 ? page : -1;
    return std::int32_t(choice) - 2;
}

// The parent's border width lives in its record, which keeps its bytes.
void SetBorderWidth(FrameRecord& record, std::uint8_t width) {
    std::string bytes(record.Bytes());
    bytes[kFrameBorderWidth.offset] = char(width);
    record = FrameRecord::Read(bytes);
}

}  // namespace

int PagePropertiesMode(int tag) {
    switch (tag) {
        case 2:
            return 3;
        case 3:
            return 2;
        default:
            return tag;
    }
}

bool PagePropertiesClosesAtOnce(int mode) {
    return mode == 2 || mode == 4;
}

PagePropertiesTab PagePropertiesStartTab(int mode, bool frameTabShown) {
    if (mode == 0) return PagePropertiesTab::Script;
    if (mode == 1 && frameTabShown) return PagePropertiesTab::Frame;
    return PagePropertiesTab::Text;
}

PageProperties::PageProperties(TKYTset& set, TKYToggetto& page, TKYTFrame* frame,
                               Environment& environment, IMessages& messages)
    : set_(set),
      page_(page),
      frame_(frame),
      code_(std::make_unique<CustomCodePanel>(set, environment, messages)) {
    code_->Caption = std::string(kHeadCodeCaption);
    code_->LoadCode(page.Auxiliary());

    const PageRecord record = PageRecord::Read(page);
    title = record.Title();
    revision = record.VersionStamp();
    alias = record.Alias();
    backgroundColour = record.BackgroundColour();
    textColour = record.TextColour();
    linkColour = record.LinkColour();
    visitedColour = record.VisitedColour();
    const std::int32_t pictureId = record.BackgroundPicture();
    TKYToggetto* picture = set.ObjectByKind(K::immagine, pictureId);
    if (pictureId >= 0 && picture && !picture->IsFree()) picture_ = picture;
    useBackgroundPicture = pictureId >= 0;
    fixedBackground = record.FixedBackground();
    hostsFrames = record.HostsFrames();
    popup = record.IsPopup();
    inSequence = record.InSequence();
    group = std::to_string(record.Group());
    order = std::to_string(record.Order());
    openedHeader_ = record.Header();
    openedFooter_ = record.Footer();
    headerChoice = ChoiceOf(openedHeader_, headerPage);
    footerChoice = ChoiceOf(openedFooter_, footerPage);

    frameTab_ = frame_ && frame_->parent;
    if (frameTab_) {
        const FrameRecord& r = frame_->record;
        frameName = r.Name();
        resizable = r.Resizable();
        border = r.Border() != 0;
        scrollBars = r.ScrollBars();
        sizeKind = std::min<std::uint8_t>(std::uint8_t(r.SizeKind()), 2);
        sizeValue = sizeKind == 0 ? r.Percent() : sizeKind == 1 ? r.Pixels() : 0;
        spacingEnabled = true;
        parentBorderWidth = frame_->parent->record.BorderWidth();
        openedFrameNew_ = frame_->page && frame_->page->IsNewPage();
        openedFramePage_ = frame_->page && !openedFrameNew_ ? frame_->page->PageIdentifier() : -1;
        if (openedFrameNew_)
            framePage = FramePageChoice::New;
        else if (openedFramePage_ >= 0 && openedFramePage_ == MasterPage())
            framePage = FramePageChoice::Master;
        else
            framePage = FramePageChoice::Existing;
        existingPage = openedFramePage_;
    }
}

PageProperties::~PageProperties() = default;

bool PageProperties::ResizableEnabled() const {
    return frame_ && frame_->parent;
}

std::int32_t PageProperties::MasterPage() const {
    return frame_ ? frame_->frameSet.MainPageNumber() : -1;
}

void PageProperties::ChooseBackgroundPicture(TKYToggetto* registered) {
    if (!registered) return;
    ownPicture_.reset();
    picture_ = registered;
    useBackgroundPicture = true;
}

void PageProperties::ChooseBackgroundPicture(std::unique_ptr<TKYToggetto> unregistered) {
    if (!unregistered) return;
    ownPicture_ = std::move(unregistered);
    picture_ = ownPicture_.get();
    useBackgroundPicture = true;
}

void PageProperties::GlobalColours() {
    const RecordView h = set_.HeaderView();
    textColour = h.I32(kHdrTextColour);
    linkColour = h.I32(kHdrLinkColour);
    visitedColour = h.I32(kHdrVisitedColour);
}

void PageProperties::GlobalBackground() {
    const RecordView h = set_.HeaderView();
    backgroundColour = h.I32(kHdrBackColour);
    const std::int32_t id = h.I32(kHdrBackPicture);
    TKYToggetto* picture = set_.ObjectByKind(K::immagine, id);
    if (id >= 0 && picture && !picture->IsFree()) {
        ChooseBackgroundPicture(picture);
    } else {
        ownPicture_.reset();
        picture_ = nullptr;
        useBackgroundPicture = false;
    }
}

void PageProperties::Apply(const PagePropertiesHost& host) {
    PageRecord record(page_);
    record.SetTitle(std::string_view(title).substr(0, kPageTitleLength));
    record.SetAlias(alias);
    record.SetBackgroundColour(backgroundColour & 0x00FFFFFF);
    record.SetFixedBackground(fixedBackground);
    record.SetTextColour(textColour);
    record.SetLinkColour(linkColour);
    record.SetVisitedColour(visitedColour);
    if (auto g = ReadNumber(group)) record.SetGroup(*g);
    if (auto o = ReadNumber(order)) record.SetOrder(*o);
    record.SetInSequence(inSequence);

    std::int32_t pictureId = -1;
    if (useBackgroundPicture && picture_) {
        if (ownPicture_) set_.Register(std::move(ownPicture_));
        pictureId = picture_->Identifier();
    }
    record.SetBackgroundPicture(pictureId);

    std::optional<std::string> code = page_.Auxiliary();
    code_->StoreCode(code);
    page_.SetAuxiliary(std::move(code));

    const std::int32_t header = FieldOf(headerChoice, headerPage);
    const std::int32_t footer = FieldOf(footerChoice, footerPage);
    record.SetHeader(header);
    record.SetFooter(footer);
    const bool reshow = header != openedHeader_ || footer != openedFooter_;

    // The frame may show another page: the page's working text is not used past this point.
    if (frameTabVisited && frameTab_) ApplyFrame();

    if (host.refreshBackground) host.refreshBackground();
    if (reshow && host.reshowPage) host.reshowPage();
    if (host.setChanged) host.setChanged();
    set_.SetModified(true);
}

void PageProperties::ApplyFrame() {
    TKYTFrame& frame = *frame_;
    TKYTFrame& parent = *frame.parent;
    frame.record.SetBorder(border ? 1 : 0);
    if (spacingEnabled)
        SetBorderWidth(parent.record, std::uint8_t(std::clamp(parentBorderWidth, 0, 255)));
    frame.record.SetScrollBars(scrollBars);
    frame.record.SetResizable(resizable);
    frame.record.SetName(std::string_view(frameName).substr(0, kFrameNameLength));

    if (framePage == FramePageChoice::New) {
        if (!openedFrameNew_ && frame.page) {
            frame.page->Commit();  // the edits of the page it showed are kept
            frame.page->ShowNewPage();
        }
    } else {
        const std::int32_t page =
            framePage == FramePageChoice::Master ? MasterPage() : existingPage;
        if (page >= 0 && (page != openedFramePage_ || openedFrameNew_)) {
            frame.record.SetPage(page);
            frame.frameSet.ShowPageInFrame(frame, page);
        }
    }

    switch (sizeKind) {
        case 0:
            frame.record.SetSizeKind(FrameSizeKind::Percent);
            frame.record.SetPercent(std::clamp(sizeValue, 0, kFrameMaxPercent));
            break;
        case 1:
            frame.record.SetSizeKind(FrameSizeKind::Pixels);
            frame.record.SetPixels(std::clamp(sizeValue, 0, kFrameMaxPixels));
            break;
        default:
            frame.record.SetSizeKind(FrameSizeKind::Rest);
            break;
    }
    // Without a percent size among the children, the first one takes the rest of the space.
    const bool anyPercent = std::any_of(
        parent.children.begin(), parent.children.end(),
        [](const auto& child) { return child->record.SizeKind() == FrameSizeKind::Percent; });
    if (!anyPercent && !parent.children.empty() && parent.children.back().get() == &frame)
        parent.children.front()->record.SetSizeKind(FrameSizeKind::Rest);
    frame.FlagsChanged();
    frame.frameSet.Arrange();
}

}  // namespace orvo
