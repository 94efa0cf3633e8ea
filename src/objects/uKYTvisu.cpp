// The visual object base, the image and its zones.
#include "objects/uKYTvisu.h"

#include <algorithm>

#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FormViews.h"
#include "objects/TGIFPainter.h"
#include "objects/uKYTtable.h"
#include "picture/TKYTpicture.h"

namespace orvo {

constexpr std::int32_t kParkedLeft = -20000;
constexpr std::int32_t kDefaultImageSide = 100;
constexpr std::int32_t kZoneSide = 30;

VisualClass VisualClassFor(int kind, int subtype) {
    using V = VisualClass;
    switch (kind) {
        case 8:
            return V::Table;
        case 11:
            if (subtype == 5 || (subtype >= 10 && subtype <= 15) ||
                (subtype >= 21 && subtype <= 28))
                return V::BelPanel;
            return V::None;
        case 13:
        case 24:
            return V::Multimedia;
        case 16:
            return V::Image;
        case 20:
            switch (subtype) {
                case 1:
                case 2:
                case 3:
                    return V::Edit;
                case 4:
                    return V::Memo;
                case 5:
                    return V::BelPanel;
                case 6:
                    return V::RadioButton;
                case 7:
                    return V::CheckBox;
                case 8:
                    return V::ListBox;
                case 9:
                    return V::ComboBox;
                case 18:
                    return V::Floating;
                default:
                    return V::None;
            }
        case 21:
            switch (subtype) {
                case 2:
                    return V::Memo;
                case 6:
                    return V::ListBox;
                case 7:
                    return V::ComboBox;
                case 11:
                case 12:
                    return V::BelPanel;
                default:
                    return V::None;
            }
        case 22:
            return V::Button;
        case 23:
            return V::InizioForm;
        default:
            return V::None;
    }
}

std::string ImageHint(const std::string* linkDescription, std::string_view name,
                      std::string_view note, bool readOnly) {
    std::string linkPart;
    if (linkDescription && !readOnly) linkPart = *linkDescription;
    std::string imagePart = linkDescription ? " - " : "";
    imagePart += name;
    if (!readOnly && note.size() > 5) {
        imagePart += "\r\n----------\r\n";
        imagePart += note;
    }
    const std::size_t bar = linkPart.find('|');
    if (bar == std::string::npos) return linkPart + imagePart;
    return linkPart.substr(0, bar) + imagePart + linkPart.substr(bar) + imagePart;
}

Bitmap ScaleBitmap(const Bitmap& source, std::int32_t width, std::int32_t height) {
    if (source.Empty() || width <= 0 || height <= 0) return {};
    if (source.width == width && source.height == height) return source;
    Bitmap out(width, height);
    std::vector<int> columns(std::size_t(width), 0);
    for (int x = 0; x < width; ++x)
        columns[std::size_t(x)] = int(std::int64_t(x) * source.width / width);
    for (int y = 0; y < height; ++y) {
        const int sy = int(std::int64_t(y) * source.height / height);
        const std::uint8_t* row = source.At(0, sy);
        std::uint8_t* dest = out.At(0, y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + std::size_t(columns[std::size_t(x)]) * 4;
            std::copy(p, p + 4, dest + std::size_t(x) * 4);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// TMyyVisual

TMyyVisual::TMyyVisual(IMessages& messages) : messages_(messages) {}
TMyyVisual::~TMyyVisual() = default;

void TMyyVisual::SetReadOnly(bool on) {
    readOnly_ = on;
    if (on) selected_ = false;
    Invalidate();
}

void TMyyVisual::SetSelected(bool on) {
    if (selected_ == on) return;
    selected_ = on;
    Invalidate();
}

void TMyyVisual::FocusEntered() {
    if (readOnly_ || inactive_) return;
    SetSelected(true);
    if (site_) site_->MakeCurrent(this);
}

void TMyyVisual::FocusLeft() {
    SetSelected(true);
    SetSelected(false);
}

void TMyyVisual::SetObject(TKYToggetto* object) {
    if (!site_) {
        messages_.Error(kNoFrameSet);
        return;
    }
    if (object == obj_) return;
    obj_ = object;
    Setup();
}

void TMyyVisual::MakeUndo(std::string_view caption) {
    if (!site_ || !obj_) return;
    VisualUndoStep step;
    step.caption = std::string(caption.empty() ? std::string_view(undoCaption_) : caption);
    step.registryId = registryId_;
    const auto record = obj_->Record();
    step.record.assign(reinterpret_cast<const char*>(record.data()), record.size());
    site_->RecordUndo(std::move(step));
}

void TMyyVisual::Relayout() {
    Park();
    needsPlacing_ = true;
    if (site_ && obj_) site_->RelayoutObject(*obj_);
}

void TMyyVisual::FitToWidth(std::int32_t available) {
    availWidth_ = available;
}

bool TMyyVisual::MouseDown(Point p) {
    lastMouse_ = p;
    if (skipClicks_) return false;
    if (!readOnly_ && !inactive_ && !selected_) focusFromMouse_ = true;
    mouseArmed_ = true;
    downPoint_ = p;
    return true;
}

bool TMyyVisual::MouseMove(Point p) {
    focusFromMouse_ = false;
    if (skipClicks_ || !mouseArmed_) return false;
    if (!DragStarts(p.x - downPoint_.x, p.y - downPoint_.y)) return false;
    mouseArmed_ = false;
    return !readOnly_;
}

void TMyyVisual::MouseUp(Point p, bool rightButton) {
    lastMouse_ = p;
    if (skipClicks_) {
        skipClicks_ = false;
        return;
    }
    mouseArmed_ = false;
    if (!rightButton && (readOnly_ || inactive_)) FollowLink();
}

void TMyyVisual::UpdateSize(std::int32_t fullWidth) {
    FitToWidth(fullWidth);
}

void TMyyVisual::Park() {
    const std::int32_t w = bounds_.Width(), h = bounds_.Height();
    bounds_ = {kParkedLeft, bounds_.top, kParkedLeft + w, bounds_.top + h};
    placed_ = false;
}

void TMyyVisual::PlaceAt(std::int32_t left, std::int32_t top) {
    const std::int32_t w = bounds_.Width(), h = bounds_.Height();
    bounds_ = {left, top, left + w, top + h};
    placed_ = true;
    needsPlacing_ = false;
}

void TMyyVisual::SetSize(std::int32_t width, std::int32_t height) {
    bounds_.right = bounds_.left + std::max(width, 1);
    bounds_.bottom = bounds_.top + std::max(height, 1);
}

void TMyyVisual::Invalidate() {
    if (site_ && placed_) site_->InvalidateObject(bounds_);
}

void TMyyVisual::PaintOn(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    PaintObject(canvas, left, top);
    if (readOnly_) return;
    const Rect at = {left, top, left + bounds_.Width(), top + bounds_.Height()};
    if (selected_)
        PaintSelection(canvas, at, true, true);
    else if (highlighted_)
        PaintSelection(canvas, at, true, false);  // moved with the text selection
}

// ---------------------------------------------------------------------------------------------
// TMyyZona

void TMyyZona::Apply(const ZoneRecord& record) {
    bounds_ = {record.left, record.top, record.left + record.width, record.top + record.height};
    SetLink(record.link);
}

void TMyyZona::SetLink(std::int32_t link) {
    link_ = link;
    const IVisualSite* site = image_.Site();
    target_ = site ? ZoneTarget(const_cast<IVisualSite*>(site)->LinkedKYTset(),
                                const_cast<IVisualSite*>(site)->Text(), link)
                   : nullptr;
}

ZoneRecord TMyyZona::Record() const {
    ZoneRecord z;
    z.link = link_;
    z.reserved = 0;
    z.left = std::int16_t(std::clamp<std::int32_t>(bounds_.left, INT16_MIN, INT16_MAX));
    z.top = std::int16_t(std::clamp<std::int32_t>(bounds_.top, INT16_MIN, INT16_MAX));
    z.width = std::int16_t(std::clamp<std::int32_t>(bounds_.Width(), 0, INT16_MAX));
    z.height = std::int16_t(std::clamp<std::int32_t>(bounds_.Height(), 0, INT16_MAX));
    return z;
}

std::string TMyyZona::Hint() const {
    return target_ ? target_->Describe() : std::string();
}

// ---------------------------------------------------------------------------------------------
// TMyyImage

TMyyImage::TMyyImage(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditImage);
}

TMyyImage::~TMyyImage() {
    destroying_ = true;
    zones_.clear();
    StopAnimation();
}

TKYToggetto* TMyyImage::ShownPicture() const {
    if (!obj_ || !site_) return nullptr;
    TKYTset& set = site_->LinkedKYTset();
    if (mouseOver_)
        if (TKYToggetto* rollover = ImagePictureObject(set, *obj_, true)) return rollover;
    return ImagePictureObject(set, *obj_, false);
}

bool TMyyImage::IsOpaque() const {
    if (!obj_) return false;
    TKYToggetto* picture = ShownPicture();
    if (!picture) return true;
    auto decoded = site_->LinkedKYTset().PictureOf(*picture);
    if (!decoded || !*decoded || !(*decoded)->HasGraphic()) return true;
    if ((*decoded)->Graphic().IsMetafile()) return false;
    return (*decoded)->IsOpaque();
}

std::int32_t TMyyImage::ShownWidth() const {
    const std::int32_t w = obj_ ? ImageRecord(*obj_).Width() : 0;
    return w > 0 ? w : kDefaultImageSide;
}

std::int32_t TMyyImage::ShownHeight() const {
    const std::int32_t h = obj_ ? ImageRecord(*obj_).Height() : 0;
    return h > 0 ? h : kDefaultImageSide;
}

int TMyyImage::VerticalAlignment() const {
    return obj_ ? ImageRecord(*obj_).Alignment() : kImageAlignCentre;
}

void TMyyImage::SetReadOnly(bool on) {
    TMyyVisual::SetReadOnly(on);
    for (auto& zone : zones_) zone->SetSelected(false);
    if (Placed()) ComputeHint();
    if (!on) StopAnimation();
    Invalidate();
}

void TMyyImage::SetAnimated(bool on) {
    TMyyVisual::SetAnimated(on);
    if (on) return;
    StopAnimation();
    if (Placed()) destroying_ = true;
}

void TMyyImage::SetSelected(bool on) {
    TMyyVisual::SetSelected(on);
    if (!on)
        for (auto& zone : zones_) zone->SetSelected(false);
}

void TMyyImage::ResizeStarted() {
    MakeUndo(kUndoSizeImage);
}

void TMyyImage::ResizeFinished() {
    if (site_ && obj_) {
        site_->RelayoutObject(*obj_);
        site_->MakeCurrent(this);
    }
}

void TMyyImage::ResizeTo(std::int32_t width, std::int32_t height) {
    if (!obj_) return;
    width = std::clamp<std::int32_t>(width, 1, INT16_MAX);
    height = std::clamp<std::int32_t>(height, 1, INT16_MAX);
    ResizeStarted();
    ImageRecord record(*obj_);
    const std::int32_t oldWidth = record.Width(), oldHeight = record.Height();
    // Zones follow the new size per mille; an old size of 0 leaves them as they are.
    for (auto& zone : zones_)
        zone->Apply(ScaledZone(zone->Record(), oldWidth, oldHeight, width, height));
    record.SetSize(std::int16_t(width), std::int16_t(height));
    StoreToObject();
    SetSize(width, height);
    ResizeFinished();
}

void TMyyImage::SelectZone(TMyyZona* zone) {
    for (auto& z : zones_) z->SetSelected(z.get() == zone);
    Invalidate();
}

TMyyZona* TMyyImage::SelectedZone() const {
    for (const auto& z : zones_)
        if (z->Selected()) return z.get();
    return nullptr;
}

void TMyyImage::SetZoneBounds(TMyyZona& zone, const Rect& bounds, std::string_view caption) {
    const auto clampTo16 = [](std::int32_t v) {
        return std::clamp<std::int32_t>(v, INT16_MIN, INT16_MAX);
    };
    const std::int32_t left = clampTo16(bounds.left), top = clampTo16(bounds.top);
    const Rect kept{left, top, left + std::clamp<std::int32_t>(bounds.Width(), 1, INT16_MAX),
                    top + std::clamp<std::int32_t>(bounds.Height(), 1, INT16_MAX)};
    if (kept == zone.Bounds()) return;
    MakeUndo(caption);
    zone.SetBounds(kept);
    StoreToObject();
    Invalidate();
    if (site_) site_->MakeCurrent(this);
}

void TMyyImage::LinkZone(TMyyZona& zone, std::int32_t link) {
    MakeUndo();
    zone.SetLink(link);
    StoreToObject();
    Invalidate();
}

void TMyyImage::Setup() {
    zones_.clear();
    if (!obj_) return;
    Refresh();
    const ImageRecord record(*obj_);
    for (int slot = kZoneCount - 1; slot >= 0; --slot) {
        const ZoneRecord z = record.Zone(slot);
        if (z.Empty()) continue;
        auto zone = std::make_unique<TMyyZona>(*this);
        zone->SetSlot(slot);
        zone->Apply(z);
        zones_.push_back(std::move(zone));
    }
}

void TMyyImage::StoreToObject() {
    if (!obj_) return;
    std::array<ZoneRecord, kZoneCount> slots{};
    for (ZoneRecord& z : slots) z = ZoneRecord{-1, 0, 0, 0, 0, 0};
    int slot = 0;
    for (auto it = zones_.rbegin(); it != zones_.rend() && slot < kZoneCount; ++it, ++slot) {
        slots[std::size_t(slot)] = (*it)->Record();
        (*it)->SetSlot(slot);
    }
    ImageRecord(*obj_).SetZones(slots);
}

void TMyyImage::FitToWidth(std::int32_t available) {
    TMyyVisual::FitToWidth(available);
    if (!obj_) {
        SetSize(kDefaultImageSide, kDefaultImageSide);
        return;
    }
    ImageRecord record(*obj_);
    if (TKYToggetto* picture = ImagePictureObject(site_->LinkedKYTset(), *obj_, false)) {
        const RecordView p = picture->ReadView();
        const std::int16_t w = p.I16(kPictureWidth), h = p.I16(kPictureHeight);
        if (w != record.NaturalWidth() || h != record.NaturalHeight()) {
            record.SetNaturalSize(w, h);
            record.SetSize(w, h);
        }
    }
    SetSize(ShownWidth(), ShownHeight());
}

void TMyyImage::Refresh() {
    ComputeHint();
    FitToWidth(0);
}

void TMyyImage::ComputeHint() {
    hintDone_ = true;
    link_ = nullptr;
    hint_.clear();
    if (!obj_ || !site_) return;
    link_ = site_->LinkOf(*obj_);
    std::string description;
    if (link_) description = link_->Describe();
    std::string note;
    if (obj_->Auxiliary()) note = *obj_->Auxiliary();
    hint_ = ImageHint(link_ ? &description : nullptr, ImageRecord(*obj_).AlternativeText(), note,
                      readOnly_);
}

void TMyyImage::FollowLink() {
    if (!hintDone_) ComputeHint();
    if (link_ && site_) site_->RequestLink(*link_);
}

void TMyyImage::DoDblClick() {
    mouseArmed_ = false;
    skipClicks_ = true;
    ComputeHint();
    if (link_ && site_) site_->RequestLink(*link_);
}

bool TMyyImage::CanPaste(const ClipboardReader& clipboard) const {
    return clipboard(kPictureFormat) || clipboard(kBitmapFormat) || clipboard(kZoneFormat);
}

VisualClipboardData TMyyImage::CopyToClipboard() {
    for (auto& zone : zones_)
        if (zone->Selected()) {
            if (site_) site_->MakeCurrent(this);
            return {{std::string(kZoneFormat), EncodeZoneClipboard(zone->Record())}};
        }
    // The image itself goes with its character: the box copies its selection.
    StoreToObject();
    return {};
}

void TMyyImage::PasteFromClipboard(const ClipboardReader& clipboard) {
    if (!obj_ || clipboard(kPictureFormat)) return;
    const std::optional<std::string> data = clipboard(kZoneFormat);
    if (!data) return;
    const std::optional<ZoneRecord> record = DecodeZoneClipboard(*data);
    // Data of another shape, or an image that holds every zone it can: nothing changes.
    if (!record || zones_.size() >= std::size_t(kZoneCount)) return;
    MakeUndo(kUndoPaste);
    for (auto& zone : zones_) zone->SetSelected(false);
    auto zone = std::make_unique<TMyyZona>(*this);
    ZoneRecord moved = *record;
    moved.left = std::int16_t(std::min<std::int32_t>(moved.left + 5, INT16_MAX));
    moved.top = std::int16_t(std::min<std::int32_t>(moved.top + 5, INT16_MAX));
    zone->Apply(moved);
    zone->SetSelected(true);
    zones_.push_back(std::move(zone));  // in front
    StoreToObject();
    Invalidate();
    if (site_) site_->MakeCurrent(this);
}

bool TMyyImage::AddZone() {
    if (!obj_ || zones_.size() >= std::size_t(kZoneCount)) return false;
    MakeUndo(kUndoAddZone);
    auto zone = std::make_unique<TMyyZona>(*this);
    Rect bounds{0, 0, kZoneSide, kZoneSide};
    if (lastMouse_.x >= 0) {
        const std::int32_t w = Bounds().Width(), h = Bounds().Height();
        const std::int32_t x = lastMouse_.x > w ? w - 10 : lastMouse_.x;
        const std::int32_t y = lastMouse_.y > h ? h - 10 : std::max(lastMouse_.y, 0);
        bounds = {x, y, x + kZoneSide, y + kZoneSide};
    }
    zone->SetBounds(bounds);
    for (auto& other : zones_) other->SetSelected(false);
    zone->SetSelected(true);
    zones_.push_back(std::move(zone));
    StoreToObject();
    Invalidate();
    if (site_) site_->MakeCurrent(this);
    return true;
}

void TMyyImage::DeleteZone(TMyyZona& zone) {
    auto it =
        std::find_if(zones_.begin(), zones_.end(), [&](const auto& z) { return z.get() == &zone; });
    if (it == zones_.end()) return;
    MakeUndo(kUndoDeleteZone);
    zones_.erase(it);
    StoreToObject();
    Invalidate();
}

void TMyyImage::BringToFront(TMyyZona& zone) {
    auto it =
        std::find_if(zones_.begin(), zones_.end(), [&](const auto& z) { return z.get() == &zone; });
    if (it == zones_.end()) return;
    MakeUndo(kUndoZoneFront);
    std::rotate(it, it + 1, zones_.end());
    StoreToObject();
    Invalidate();
}

void TMyyImage::SendToBack(TMyyZona& zone) {
    auto it =
        std::find_if(zones_.begin(), zones_.end(), [&](const auto& z) { return z.get() == &zone; });
    if (it == zones_.end()) return;
    MakeUndo(kUndoZoneBack);
    std::rotate(zones_.begin(), it, it + 1);
    StoreToObject();
    Invalidate();
}

void TMyyImage::ScaleTo(int percent) {
    if (!obj_ || percent <= 0) return;
    MakeUndo(kUndoSizeImage);
    ImageRecord record(*obj_);
    if (TKYToggetto* picture = ImagePictureObject(site_->LinkedKYTset(), *obj_, false)) {
        const RecordView p = picture->ReadView();
        record.SetNaturalSize(p.I16(kPictureWidth), p.I16(kPictureHeight));
        // A picture of no size gives no percentage: the shown size stays.
        if (record.NaturalWidth() > 0 && record.NaturalHeight() > 0) {
            const std::int64_t w = std::int64_t(record.NaturalWidth()) * percent / 100;
            const std::int64_t h = std::int64_t(record.NaturalHeight()) * percent / 100;
            record.SetSize(std::int16_t(std::clamp<std::int64_t>(w, 1, INT16_MAX)),
                           std::int16_t(std::clamp<std::int64_t>(h, 1, INT16_MAX)));
        }
    } else {
        record.SetSize(kDefaultImageSide, kDefaultImageSide);
    }
    SetSize(ShownWidth(), ShownHeight());
    ResizeFinished();
}

void TMyyImage::MouseEnter() {
    if (selected_ || !obj_ || !site_ || !site_->ApplicationActive()) return;
    if (!ImagePictureObject(site_->LinkedKYTset(), *obj_, true)) return;
    mouseOver_ = true;
    Invalidate();
}

void TMyyImage::MouseLeave() {
    lastMouse_ = {-1, -1};
    if (!mouseOver_) return;
    mouseOver_ = false;
    Invalidate();
}

TMyyZona* TMyyImage::ZoneAt(Point p) const {
    for (auto it = zones_.rbegin(); it != zones_.rend(); ++it)
        if ((*it)->Bounds().Contains(p)) return it->get();
    return nullptr;
}

bool TMyyImage::Animating() const {
    return painter_ && painter_->Running();
}

void TMyyImage::StopAnimation() {
    if (painter_) painter_->Stop();
    painter_.reset();
    painterPicture_.reset();
    painterPictureId_ = -1;
}

const Bitmap* TMyyImage::FramePixels(std::uint64_t& key) {
    TKYToggetto* picture = ShownPicture();
    if (!picture) return nullptr;
    auto decoded = site_->LinkedKYTset().PictureOf(*picture);
    if (!decoded || !*decoded || !(*decoded)->HasGraphic()) return nullptr;
    const std::shared_ptr<TKYTpicture>& shown = *decoded;
    const Picture& graphic = shown->Graphic();
    const std::uint64_t base = (std::uint64_t(std::uint32_t(picture->Identifier())) << 32) ^
                               std::uint64_t(std::uint32_t(picture->VersionStamp()));
    const bool animate = graphic.IsGif() && graphic.frames.size() > 1 && readOnly_ && animated_;
    if (animate) {
        if (!painter_ || painterPictureId_ != picture->Identifier()) {
            StopAnimation();
            painterPicture_ = shown;
            painterPictureId_ = picture->Identifier();
            const std::shared_ptr<const Picture> gif(shown, &shown->Graphic());
            painter_ = std::make_unique<TGIFPainter>(site_->Scheduler(), gif, [this] {
                if (!destroying_) Invalidate();
            });
            painting_ = true;
            painter_->Start();
            painting_ = false;
        }
        key = base ^ (painter_->Generation() << 20) ^ 0x5A5A;
        return &painter_->Pixels();
    }
    StopAnimation();
    if (stillKey_ != base + 1 || still_.Empty()) {
        still_ = RenderPicture(graphic, 0);
        stillKey_ = base + 1;
    }
    key = base + 1;
    return &still_;
}

void TMyyImage::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    if (painting_ || destroying_ || !obj_ || !site_) return;
    painting_ = true;
    std::uint64_t key = 0;
    const Bitmap* pixels = FramePixels(key);
    const std::int32_t w = ShownWidth(), h = ShownHeight();
    if (pixels && !pixels->Empty()) {
        if (key != scaledKey_ || w != scaledWidth_ || h != scaledHeight_ || scaled_.Empty()) {
            scaled_ = ScaleBitmap(*pixels, w, h);
            scaledKey_ = key;
            scaledWidth_ = w;
            scaledHeight_ = h;
        }
        bool opaque = true;
        for (std::size_t i = 3; i < scaled_.rgba.size() && opaque; i += 4)
            opaque = scaled_.rgba[i] == 255;
        const CanvasImage image{scaled_.width, scaled_.height, scaled_.rgba.data(),
                                key ^ (std::uint64_t(w) << 48) ^ (std::uint64_t(h) << 36), opaque};
        canvas.DrawImage(image, left, top);
    }
    const int border = ImageRecord(*obj_).Border();
    for (int b = 0; b < border && b < w / 2 && b < h / 2; ++b) {
        const Pen pen{0x000000, LineStyle::Solid, std::nullopt};
        canvas.Line({left + b, top + b}, {left + w - 1 - b, top + b}, pen);
        canvas.Line({left + w - 1 - b, top + b}, {left + w - 1 - b, top + h - 1 - b}, pen);
        canvas.Line({left + w - 1 - b, top + h - 1 - b}, {left + b, top + h - 1 - b}, pen);
        canvas.Line({left + b, top + h - 1 - b}, {left + b, top + b}, pen);
    }
    if (selected_ && !readOnly_) {
        for (const auto& zone : zones_) {
            const Rect z = zone->Bounds().Offset(left, top);
            PaintSelection(canvas, z, zone->Selected(), true);
        }
    }
    painting_ = false;
    if (!hintDone_) ComputeHint();
}

std::unique_ptr<TMyyVisual> CreateVisual(IVisualSite& site, TKYToggetto& object, bool readOnly,
                                         bool animated) {
    const int kind = KindIndex(object.Kind());
    if (kind == 0) {
        site.Messages().Error(kNotForThisKind);
        return nullptr;
    }
    std::unique_ptr<TMyyVisual> visual;
    switch (VisualClassFor(kind, object.Subtype())) {
        case VisualClass::Image:
            visual = std::make_unique<TMyyImage>(site.Messages());
            break;
        case VisualClass::Table:
            visual = std::make_unique<TMyyTable>(site.Messages());
            break;
        default:
            // Form inputs, buttons, media and markers.
            return CreateFormVisual(site, object, readOnly, animated);
    }
    visual->SetSite(&site);
    visual->SetObject(&object);
    visual->SetReadOnly(readOnly);
    visual->SetAnimated(animated);
    visual->MarkReposition();
    visual->Park();
    return visual;
}

}  // namespace orvo
