// The form inputs of a browsed page.
#include "objects/FormBrowsing.h"

#include "model/FormFields.h"
#include "model/uKYTogge.h"
#include "objects/FormViews.h"
#include "objects/ObjectViews.h"
#include "textbox/uKYTbox.h"

namespace orvo {
namespace {

using K = TOggettiHel;

constexpr int kResetButton = 3;

std::string NameOf(const TMyyVisual& view) {
    const TKYToggetto* object = view.Object();
    return object ? object->ReadView().PStr(kInputName) : std::string();
}

bool IsInput(const TMyyVisual& view) {
    return dynamic_cast<const TMyyEdit*>(&view) || dynamic_cast<const TMyyListBox*>(&view) ||
           dynamic_cast<const TMyyCheckedControl*>(&view);
}

}  // namespace

std::vector<TMyyVisual*> ViewsInTextOrder(const TKYTbox& box, const ObjectViewHost& views) {
    std::vector<TMyyVisual*> out;
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i)
        for (const TKYToggetto* object : box.Paragraph(i).objects)
            if (object)
                if (TMyyVisual* view = views.Find(*object)) out.push_back(view);
    return out;
}

void CheckRadio(TMyyRadioButton& radio, const std::vector<TMyyVisual*>& views) {
    if (!radio.Checked()) radio.SetFormValue("checked");
    const std::string name = NameOf(radio);
    for (TMyyVisual* view : views) {
        auto* other = dynamic_cast<TMyyRadioButton*>(view);
        if (other && other != &radio && other->Checked() && NameOf(*other) == name)
            other->SetFormValue("");
    }
}

void ResetForm(const TMyyButton& reset, const std::vector<TMyyVisual*>& inOrder) {
    std::vector<bool> isFormStart;
    std::size_t button = inOrder.size();
    for (std::size_t i = 0; i < inOrder.size(); ++i) {
        const TKYToggetto* object = inOrder[i]->Object();
        isFormStart.push_back(object && object->Kind() == K::inizioForm);
        if (inOrder[i] == &reset) button = i;
    }
    if (button == inOrder.size()) return;
    const auto [first, last] = ResetRange(isFormStart, button);
    for (std::size_t i = first; i < last; ++i)
        if (IsInput(*inOrder[i])) inOrder[i]->Refresh();
}

TMyyVisual* FormBrowsing::FormViewAt(const TKYTbox& box, const ObjectViewHost& views, Point p) {
    for (TMyyVisual* view : ViewsInTextOrder(box, views)) {
        const bool form = IsInput(*view) || dynamic_cast<TMyyButton*>(view) ||
                          dynamic_cast<TMyyMultimedia*>(view) ||
                          dynamic_cast<TMyyBelPanel*>(view) || dynamic_cast<TMyyFloating*>(view);
        if (!form || !view->Placed()) continue;
        const ObjectSize size = view->Size();
        const Rect& at = view->Bounds();
        if (size.width > 0 &&
            Rect{at.left, at.top, at.left + size.width, at.top + size.height}.Contains(p))
            return view;
    }
    return nullptr;
}

FormClick FormBrowsing::Click(TKYTbox& box, ObjectViewHost& views, Point p) {
    TMyyVisual* view = FormViewAt(box, views, p);
    if (!view || !view->ReadOnly()) return FormClick::None;
    const Point inside{p.x - view->Bounds().left, p.y - view->Bounds().top};
    if (auto* edit = dynamic_cast<TMyyEdit*>(view)) {
        focused_ = edit;
        return FormClick::Focused;
    }
    focused_ = nullptr;
    if (auto* checked = dynamic_cast<TMyyCheckedControl*>(view)) {
        checked->Press();
        checked->Release(inside);
        if (auto* radio = dynamic_cast<TMyyRadioButton*>(view); radio && radio->Checked())
            CheckRadio(*radio, ViewsInTextOrder(box, views));
        return FormClick::Toggled;
    }
    if (dynamic_cast<TMyyComboBox*>(view)) return FormClick::DropDown;
    if (auto* list = dynamic_cast<TMyyListBox*>(view)) {
        const std::int32_t line = FieldMetrics().listLineHeight;
        if (line <= 0 || inside.y < 2) return FormClick::None;
        list->ChooseItem((inside.y - 2) / line);
        return FormClick::Chosen;
    }
    if (auto* button = dynamic_cast<TMyyButton*>(view)) {
        if (button->Object() && button->Object()->Subtype() == kResetButton) {
            ResetForm(*button, ViewsInTextOrder(box, views));
            return FormClick::Reset;
        }
        const std::size_t before = views.RequestedLinks().size();
        button->FollowLink();
        return views.RequestedLinks().size() > before ? FormClick::Link : FormClick::None;
    }
    if (auto* floating = dynamic_cast<TMyyFloating*>(view)) {
        const std::size_t before = views.RequestedLinks().size();
        if (!floating->Click(inside)) return FormClick::None;
        return views.RequestedLinks().size() > before ? FormClick::Link : FormClick::Frame;
    }
    if (auto* player = dynamic_cast<TMyyMultimedia*>(view)) {
        IMediaPlayer* media = player->Player();
        if (!media || !player->Opened()) return FormClick::None;
        if (media->Playing()) {
            media->Stop();
        } else {
            media->Rewind();
            media->Play();
        }
        return FormClick::Player;
    }
    const std::size_t before = views.RequestedLinks().size();
    view->FollowLink();
    return views.RequestedLinks().size() > before ? FormClick::Link : FormClick::None;
}

bool FormBrowsing::Type(std::string_view text) {
    if (!focused_ || !focused_->ReadOnly()) return false;
    focused_->TypeText(text);
    return true;
}

bool FormBrowsing::Backspace() {
    if (!focused_ || !focused_->ReadOnly()) return false;
    focused_->Backspace();
    return true;
}

bool FormBrowsing::NewLine() {
    if (!dynamic_cast<TMyyMemo*>(focused_) || !focused_->ReadOnly()) return false;
    focused_->TypeText("\n");
    return true;
}

}  // namespace orvo
