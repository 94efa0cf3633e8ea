// The pictures of a page being edited, in the window.
#include "ui/objects/PictureEditing.h"

#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <utility>

#include "app/LinkWindowRules.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/ObjectViews.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTboxInput.h"
#include "ui/QtConvert.h"

namespace orvo {
namespace {

unsigned ModifierBits(Qt::KeyboardModifiers m) {
    unsigned out = 0;
    if (m & Qt::ShiftModifier) out |= kModShift;
    if (m & Qt::ControlModifier) out |= kModCtrl;
    if (m & Qt::AltModifier) out |= kModAlt;
    return out;
}

// The pointer over handle 1..8: diagonal at the corners, vertical at 5 and 6, horizontal at 7
// and 8.
Qt::CursorShape HandleCursor(int handle) {
    switch (handle) {
        case 1:
        case 4:
            return Qt::SizeFDiagCursor;
        case 2:
        case 3:
            return Qt::SizeBDiagCursor;
        case 5:
        case 6:
            return Qt::SizeVerCursor;
        default:
            return Qt::SizeHorCursor;
    }
}

// A zone of an image as the holder of the link the link window makes.
class ZoneLinkHolder final : public ILinkHolder {
public:
    ZoneLinkHolder(VisualEditor& editor, TMyyImage& image, TMyyZona& zone)
        : editor_(editor), image_(image), zone_(zone) {}
    bool CanLink() const override { return Still(); }
    const TKYToggetto* PresentLink() const override { return Still() ? zone_.Target() : nullptr; }
    void ApplyLink(const TKYToggetto* link) override {
        // A zone always links somewhere: taking its link away is deleting it, not this.
        if (link && Still()) image_.LinkZone(zone_, link->Code());
    }
    void ApplySpecialLink(TKYToggetto& link, const TKYToggetto*) override {
        if (Still()) image_.LinkZone(zone_, link.Code());
    }

private:
    // The window may have let the selection go meanwhile.
    bool Still() const { return editor_.Current() == &image_ && image_.SelectedZone() == &zone_; }
    VisualEditor& editor_;
    TMyyImage& image_;
    TMyyZona& zone_;
};

constexpr PictureCommand kMenuOrder[] = {
    PictureCommand::AddZone,    PictureCommand::DeleteZone, PictureCommand::ZoneToFront,
    PictureCommand::ZoneToBack, PictureCommand::LinkZone,   PictureCommand::Size100,
    PictureCommand::Size50,     PictureCommand::Copy,       PictureCommand::Paste,
};

}  // namespace

/// The message of a zone linked to a page number the hypertext does not have.
constexpr std::string_view kNoSuchPage = "Questa pagina non esiste.";

const char* PictureCommandCaption(PictureCommand command) {
    switch (command) {
        case PictureCommand::AddZone:
            return "Aggiungi zona cliccabile";
        case PictureCommand::DeleteZone:
            return "Cancella zona cliccabile";
        case PictureCommand::ZoneToFront:
            return "Poni zona in primo piano";
        case PictureCommand::ZoneToBack:
            return "Poni zona in secondo piano";
        case PictureCommand::LinkZone:
            return "Collega zona a pagina...";
        case PictureCommand::Size100:
            return "100%";
        case PictureCommand::Size50:
            return "50%";
        case PictureCommand::Copy:
            return "&Copia";
        case PictureCommand::Paste:
            return "&Incolla";
    }
    return "";
}

PictureEditing::PictureEditing(QWidget& surface, TKYTset& set, ObjectViewHost& views,
                               IClipboard& clipboard)
    : surface_(surface), set_(set), clipboard_(clipboard), editor_(views) {
    askZonePage = [this]() -> std::optional<std::int32_t> {
        bool ok = false;
        const int page =
            QInputDialog::getInt(&surface_, QStringLiteral("Zona cliccabile"),
                                 QStringLiteral("Numero della pagina:"), 0, 0, INT32_MAX, 1, &ok);
        if (!ok) return std::nullopt;
        return page;
    };
}

void PictureEditing::Attach(TKYTbox* box, TKYTboxInput* input, BoxEditing* editing) {
    editor_.Attach(box, input);
    input_ = input;
    editing_ = editing;
}

void PictureEditing::Changed() {
    surface_.update();
    if (changed) changed();
}

void PictureEditing::Edited() {
    if (edited) edited();
}

bool PictureEditing::Event(QEvent* event) {
    if (!input_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool had = editor_.Current() != nullptr;
            const Point p = FromQPoint(mouse->position().toPoint());
            const bool right = mouse->button() == Qt::RightButton;
            dragged_ = false;
            const bool ours = editor_.Press(p, right, ModifierBits(mouse->modifiers()));
            if (ours || had) Changed();
            if (ours && !surface_.hasFocus()) surface_.setFocus(Qt::MouseFocusReason);
            return ours;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!(mouse->buttons() & (Qt::LeftButton | Qt::RightButton))) {
                // Over a handle of the selected image (or of its selected zone), the pointer
                // shows the way that handle sizes.
                const int handle = HandleUnder(FromQPoint(mouse->position().toPoint()));
                if (handle == 0) return false;
                surface_.setCursor(HandleCursor(handle));
                return true;
            }
            const bool ours = editor_.Move(FromQPoint(mouse->position().toPoint()),
                                           ModifierBits(mouse->modifiers()));
            if (ours) {
                dragged_ = true;
                surface_.update();
            }
            return ours;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool right = mouse->button() == Qt::RightButton;
            const VisualRelease done =
                editor_.Release(FromQPoint(mouse->position().toPoint()), right);
            if (done == VisualRelease::None) return false;
            if (std::exchange(dragged_, false) && done == VisualRelease::Handled) Edited();
            Changed();
            if (done == VisualRelease::ImageMenu)
                ShowMenu(surface_.mapToGlobal(mouse->position().toPoint()));
            return true;
        }
        case QEvent::KeyPress: {
            TMyyImage* image = editor_.Current();
            if (!image) return false;
            auto* key = static_cast<QKeyEvent*>(event);
            const unsigned modifiers = ModifierBits(key->modifiers());
            if (modifiers == kModCtrl && key->key() == Qt::Key_C) return Run(PictureCommand::Copy);
            if (modifiers == kModCtrl && key->key() == Qt::Key_V &&
                clipboard_.HasFormat(kZoneFormat))
                return Run(PictureCommand::Paste);
            if (key->key() == Qt::Key_Delete && editor_.CurrentZone()) {
                // The zone goes once the key's event is over.
                QTimer::singleShot(0, &surface_, [this] { Run(PictureCommand::DeleteZone); });
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                editor_.Select(nullptr);
                Changed();
                return true;
            }
            // Any other key acts on the text: the arrows and Delete on the image's character,
            // which they select first, as do cutting and copying with the text's own commands.
            const bool onCharacter =
                modifiers == 0 && (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Left ||
                                   key->key() == Qt::Key_Right || key->key() == Qt::Key_Up ||
                                   key->key() == Qt::Key_Down);
            if (onCharacter || (modifiers == kModCtrl && key->key() == Qt::Key_X))
                editor_.SelectImageCharacter();
            editor_.Select(nullptr);
            Changed();
            return false;
        }
        default:
            return false;
    }
}

int PictureEditing::HandleUnder(Point p) const {
    TMyyImage* image = editor_.Current();
    if (!image) return 0;
    // An image in a table cell: its bounds are the cell's.
    const Point origin = editor_.CurrentOrigin();
    p = {p.x - origin.x, p.y - origin.y};
    const Rect b = image->Bounds();
    if (TMyyZona* zone = image->SelectedZone())
        if (const int handle = HandleAt(zone->Bounds().Offset(b.left, b.top), p)) return handle;
    return HandleAt(b, p);
}

void PictureEditing::PaintOver(QPainter& painter) const {
    const std::optional<Rect> outline = editor_.Outline();
    if (!outline) return;
    const QRect r = ToQRect(*outline).adjusted(0, 0, -1, -1);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(r);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(r);
    painter.restore();
}

bool PictureEditing::Enabled(PictureCommand command) const {
    TMyyImage* image = editor_.Current();
    if (!image) return false;
    const bool zone = image->SelectedZone() != nullptr;
    switch (command) {
        case PictureCommand::AddZone:
            return image->Zones().size() < std::size_t(kZoneCount);
        case PictureCommand::DeleteZone:
        case PictureCommand::ZoneToFront:
        case PictureCommand::ZoneToBack:
        case PictureCommand::LinkZone:
            return zone;
        case PictureCommand::Paste:
            return clipboard_.HasFormat(kZoneFormat) && !clipboard_.HasFormat(kPictureFormat);
        default:
            return true;
    }
}

bool PictureEditing::CopyCurrent() {
    if (!editor_.Current()) return false;
    Run(PictureCommand::Copy);
    return true;
}

bool PictureEditing::CutCurrent() {
    TMyyImage* image = editor_.Current();
    if (!image) return false;
    if (image->SelectedZone()) {
        if (Run(PictureCommand::Copy)) Run(PictureCommand::DeleteZone);
        return true;
    }
    // The image goes with its character, as the text box cuts it.
    image->StoreToObject();
    if (editor_.SelectImageCharacter() && copyText && copyText(true)) Edited();
    Changed();
    return true;
}

bool PictureEditing::PasteCurrent() {
    if (!editor_.Current()) return false;
    Run(PictureCommand::Paste);
    return true;
}

bool PictureEditing::Run(PictureCommand command) {
    if (!Enabled(command)) return false;
    TMyyImage& image = *editor_.Current();
    TMyyZona* zone = image.SelectedZone();
    bool done = true;
    switch (command) {
        case PictureCommand::AddZone:
            done = image.AddZone();
            break;
        case PictureCommand::DeleteZone:
            image.DeleteZone(*zone);
            break;
        case PictureCommand::ZoneToFront:
            image.BringToFront(*zone);
            break;
        case PictureCommand::ZoneToBack:
            image.SendToBack(*zone);
            break;
        case PictureCommand::LinkZone: {
            if (chooseLink) {
                ZoneLinkHolder holder(editor_, image, *zone);
                done = chooseLink(holder);
                break;
            }
            const std::optional<std::int32_t> page = askZonePage ? askZonePage() : std::nullopt;
            if (!page) return false;
            TKYToggetto* target = set_.ObjectByKind(TOggettiHel::testoHtml, *page);
            if (!target || target->IsFree()) {
                set_.Messages().Error(kNoSuchPage);
                return false;
            }
            // The menu's window may have taken the selection: the zone is looked up again.
            if (editor_.Current() != &image || image.SelectedZone() != zone) return false;
            image.LinkZone(*zone, target->Code());
            break;
        }
        case PictureCommand::Size100:
            image.ScaleTo(100);
            break;
        case PictureCommand::Size50:
            image.ScaleTo(50);
            break;
        case PictureCommand::Copy:
            if (zone) {
                clipboard_.SetContents(image.CopyToClipboard());
            } else {
                image.StoreToObject();
                done = editor_.SelectImageCharacter() && copyText && copyText(false);
            }
            break;
        case PictureCommand::Paste:
            image.PasteFromClipboard(
                [this](std::string_view format) { return clipboard_.Data(format); });
            break;
    }
    if (done && command != PictureCommand::Copy) Edited();
    Changed();
    return done;
}

void PictureEditing::ShowMenu(const QPoint& at) {
    QMenu menu(&surface_);
    for (const PictureCommand command : kMenuOrder) {
        if (command == PictureCommand::Size100 || command == PictureCommand::Copy)
            menu.addSeparator();
        QAction* action = menu.addAction(QString::fromUtf8(PictureCommandCaption(command)));
        action->setEnabled(Enabled(command));
        QObject::connect(action, &QAction::triggered, &surface_, [this, command] { Run(command); });
    }
    if (properties && editor_.Current()) {
        menu.addSeparator();
        QAction* action = menu.addAction(QString::fromUtf8("&Proprietà..."));
        action->setObjectName(QStringLiteral("MIImageProperties"));
        TMyyImage* image = editor_.Current();
        QObject::connect(action, &QAction::triggered, &surface_, [this, image] {
            if (editor_.Current() == image) properties(*image);
        });
    }
    menu.exec(at);
}

bool PictureEditing::PlacePicture(const std::string& file) {
    if (!editing_ || !input_) return false;
    Result<TKYToggetto*> picture = set_.AddPictureFromFile(file);
    if (!picture) {
        set_.Messages().Error(picture.failure().text);
        return false;
    }
    const bool placed = editing_->Text().InsertObject(NewImageObject(set_, *picture), false);
    if (placed) Edited();
    Changed();
    return placed;
}

bool PictureEditing::PlaceObject(std::unique_ptr<TKYToggetto> object) {
    if (!editing_ || !input_ || !object) return false;
    const bool placed = editing_->Text().InsertObject(std::move(object), false);
    if (placed) Edited();
    Changed();
    return placed;
}

}  // namespace orvo
