// The form inputs of a browsed page: a click checks a radio button (the others of its group
// let go), toggles a check box, gives a text field the keys, chooses a list item, resets the
// form of a reset button to the values stored in the document, or follows a button's link.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/ICanvas.h"

namespace orvo {

class ObjectViewHost;
class TKYTbox;
class TMyyButton;
class TMyyEdit;
class TMyyRadioButton;
class TMyyVisual;

/// What a click on a browsed page did.
enum class FormClick {
    None,      // no form view there: the click is the page's
    Focused,   // a text field or text box takes the keys from now on
    Toggled,   // a check box or radio button changed
    Chosen,    // a list item was chosen
    DropDown,  // a drop-down list wants its items shown (ChooseItem gives the choice)
    Reset,     // a reset button set its form back to the stored values
    Link,      // a button or marker asked for its link (in the views' RequestedLinks)
    Player,    // a player started or stopped
    Frame,     // a floating frame follows a link inside itself
};

/// The views of the objects of `box`'s paragraphs, in the text's order (objects without a
/// view are left out).
std::vector<TMyyVisual*> ViewsInTextOrder(const TKYTbox& box, const ObjectViewHost& views);

/// Checks `radio` and lets go every other radio button of `views` with the same name.
void CheckRadio(TMyyRadioButton& radio, const std::vector<TMyyVisual*>& views);

/// The inputs of the reset button's form (the objects between the form starts around it, in
/// `inOrder`, the text's order) take the values stored in the document again.
void ResetForm(const TMyyButton& reset, const std::vector<TMyyVisual*>& inOrder);

/// The clicks and keys of one browsed page. Forget the page's views (Forget) before they go.
class FormBrowsing {
public:
    /// A click at `p` of `box` (box coordinates) while the page is browsed.
    FormClick Click(TKYTbox& box, ObjectViewHost& views, Point p);
    /// The form view under `p`, if any (markers hidden while browsed take no room, so none).
    static TMyyVisual* FormViewAt(const TKYTbox& box, const ObjectViewHost& views, Point p);
    /// Keys typed into the field that took them; false when none did.
    bool Type(std::string_view text);
    bool Backspace();
    /// Return: a new line in a text box; false in a one-line field or with none.
    bool NewLine();
    TMyyEdit* Focused() const { return focused_; }
    void Forget() { focused_ = nullptr; }

private:
    TMyyEdit* focused_ = nullptr;
};

}  // namespace orvo
