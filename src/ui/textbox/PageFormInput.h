// The form inputs of a page widget while its page is browsed: clicks on them (check boxes,
// radio groups, lists, drop-down lists, text fields, reset buttons, buttons with links,
// players) and the keys typed into the text field that took them. While the page is edited
// every event goes to the page as before.
#pragma once

#include <QObject>

#include <functional>

#include "objects/FormBrowsing.h"

namespace orvo {

class PageViewWidget;
class TKYToggetto;

class PageFormInput final : public QObject {
public:
    /// Watches the surface of `view`, which outlives this object.
    explicit PageFormInput(PageViewWidget& view);

    /// A button or anchor of the browsed page asks to follow its link.
    std::function<void(const TKYToggetto&)> onLink;
    /// The field that takes the keys, if any (only while it is on the page shown).
    TMyyEdit* Focused() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Release(QPoint at);
    bool Key(QEvent* event);
    void ShowDropDown(TMyyVisual& view);
    PageViewWidget& view_;
    FormBrowsing forms_;
};

}  // namespace orvo
