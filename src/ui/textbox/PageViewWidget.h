// A read-only page in a scroll area: the page's background colour and picture behind its
// header, body and footer, laid out by the text box at the viewport's width.
#pragma once

#include <QScrollArea>

#include <cstdint>
#include <memory>

#include "model/uKYTset.h"

namespace orvo {

class TKYTbox;
class TKYTtesto;

class PageViewWidget final : public QScrollArea {
public:
    /// Shows pages of `set`, which outlives the widget.
    explicit PageViewWidget(TKYTset& set, QWidget* parent = nullptr);
    ~PageViewWidget() override;

    /// Shows the page with that identifier; false (and nothing shown) when the hypertext has
    /// no such page.
    bool ShowPage(std::int32_t pageIdentifier);
    /// Whether a page is shown (also while it is detached).
    bool Showing() const;
    /// The identifier of the page shown, -1 for none.
    std::int32_t PageShown() const;
    /// The working text of the page shown (its own links), or nullptr.
    const TKYTtesto* WorkingText() const;
    /// Lets the page shown go (its text closed): nothing is shown afterwards.
    void ClosePage();
    /// Around a save or a load of the hypertext, which replaces every object: the page's view
    /// lets the objects go (its text kept in working form), then is made again from that text
    /// with the objects read back; a page the hypertext no longer has is closed.
    void DetachPage();
    void ReattachPage();
    /// The box of the page shown, or nullptr (also while the page is detached).
    TKYTbox* Box() const;
    /// Scrolls to the anchor with that number on the page shown; false when it has none.
    bool GoToAnchor(std::int32_t number);
    /// The object a link code of the page shown names: a code of the hypertext, or a local
    /// code (0x6F000000 + n) of a link that the page's text holds; nullptr when none.
    TKYToggetto* LinkObject(std::int32_t code) const;
    /// The widget the page is painted on, inside the scroll area.
    QWidget* Surface() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orvo
