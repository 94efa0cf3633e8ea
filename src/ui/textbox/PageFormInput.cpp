// The form inputs of a browsed page in the page widget.
#include "ui/textbox/PageFormInput.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

#include "objects/FormViews.h"
#include "objects/ObjectViews.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

PageFormInput::PageFormInput(PageViewWidget& view) : QObject(&view), view_(view) {
    view.Surface()->installEventFilter(this);
}

TMyyEdit* PageFormInput::Focused() const {
    // The page may have been closed or shown again since: its views went with it.
    TMyyEdit* focused = forms_.Focused();
    const TKYTbox* box = view_.Box();
    const ObjectViewHost* views = view_.ObjectViews();
    if (!focused || !box || !views) return nullptr;
    const std::vector<TMyyVisual*> shown = ViewsInTextOrder(*box, *views);
    return std::find(shown.begin(), shown.end(), focused) != shown.end() ? focused : nullptr;
}

bool PageFormInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_.Surface() || view_.Editable() || !view_.Box()) return false;
    switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) return false;
            return Release(mouse->position().toPoint());
        }
        case QEvent::KeyPress:
            return Key(event);
        default:
            return false;
    }
}

bool PageFormInput::Release(QPoint at) {
    TKYTbox& box = *view_.Box();
    ObjectViewHost& views = *view_.ObjectViews();
    const Point p{at.x(), at.y()};
    TMyyVisual* view = FormBrowsing::FormViewAt(box, views, p);
    const std::size_t linksBefore = views.RequestedLinks().size();
    const FormClick click = forms_.Click(box, views, p);
    if (click == FormClick::None) return false;
    if (click == FormClick::Focused) view_.Surface()->setFocus(Qt::MouseFocusReason);
    if (click == FormClick::DropDown && view) ShowDropDown(*view);
    if (click == FormClick::Link && onLink) {
        // Copied: following a link may show another page and drop these views.
        std::vector<const TKYToggetto*> links(views.RequestedLinks().begin() + linksBefore,
                                              views.RequestedLinks().end());
        views.RequestedLinks().resize(linksBefore);
        for (const TKYToggetto* target : links) onLink(*target);
        return true;
    }
    view_.Surface()->update();
    return true;
}

void PageFormInput::ShowDropDown(TMyyVisual& view) {
    auto* list = dynamic_cast<TMyyListBox*>(&view);
    if (!list) return;
    // The menu lives on its own: the page may change while it is open.
    auto* menu = new QMenu(view_.Surface());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> surface = view_.Surface();
    for (std::size_t i = 0; i < list->Items().size(); ++i) {
        QAction* action = menu->addAction(ToQString(list->Items()[i].text));
        action->setCheckable(true);
        action->setChecked(int(i) == list->Selected());
        connect(action, &QAction::triggered, this, [this, list, i, surface] {
            const TKYTbox* box = view_.Box();
            const ObjectViewHost* views = view_.ObjectViews();
            if (!box || !views) return;
            const std::vector<TMyyVisual*> shown = ViewsInTextOrder(*box, *views);
            if (std::find(shown.begin(), shown.end(), list) == shown.end()) return;
            list->ChooseItem(int(i));
            if (surface) surface->update();
        });
    }
    const Rect& at = view.Bounds();
    menu->popup(view_.Surface()->mapToGlobal(QPoint(at.left, at.bottom)));
}

bool PageFormInput::Key(QEvent* event) {
    if (!Focused()) {
        forms_.Forget();
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    bool done = false;
    if (key->key() == Qt::Key_Backspace) {
        done = forms_.Backspace();
    } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        done = forms_.NewLine();
    } else if (key->key() == Qt::Key_Escape) {
        forms_.Forget();
        done = true;
    } else if (!key->text().isEmpty() && !(key->modifiers() & Qt::ControlModifier)) {
        std::string typed;
        for (const char c : ToCp1252(key->text(), '\x01'))
            if (static_cast<unsigned char>(c) >= 32 && c != '\x7F') typed += c;
        done = !typed.empty() && forms_.Type(typed);
    }
    if (done) view_.Surface()->update();
    return done;
}

}  // namespace orvo
