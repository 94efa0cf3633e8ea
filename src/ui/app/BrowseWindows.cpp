#include "ui/app/BrowseWindows.h"

#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "app/WindowFeatures.h"
#include "base/Cp1252.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"
#include "ui/textbox/PageFormInput.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
namespace {

// Left clicks on a browse window's page, reported on release.
class ClickFilter final : public QObject {
public:
    ClickFilter(BrowseWindow& window, std::function<bool(BrowseWindow&, QPoint)>& onClick)
        : QObject(&window), window_(window), onClick_(onClick) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A click that follows no link goes on to the page's form inputs.
            return mouse->button() != Qt::LeftButton ||
                   (onClick_ && onClick_(window_, mouse->position().toPoint()));
        }
        return false;
    }

private:
    BrowseWindow& window_;
    std::function<bool(BrowseWindow&, QPoint)>& onClick_;
};

}  // namespace

BrowseWindow::BrowseWindow(TKYTset& set, std::string name, bool popup, QWidget* owner)
    : QWidget(owner, popup ? Qt::Popup : Qt::Window),
      set_(set),
      name_(std::move(name)),
      popup_(popup),
      view_(new PageViewWidget(set, this)) {
    setObjectName(QStringLiteral("FBrowse"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(popup ? 1 : 0, popup ? 1 : 0, popup ? 1 : 0, popup ? 1 : 0);
    layout->addWidget(view_);
    view_->setObjectName(QStringLiteral("PageView"));
    resize(popup ? QSize(380, 260) : QSize(560, 440));
}

BrowseWindow::~BrowseWindow() {
    view_->ClosePage();
}

bool BrowseWindow::ShowPage(std::int32_t pageIdentifier) {
    if (!view_->ShowPage(pageIdentifier)) return false;
    if (const TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, pageIdentifier)) {
        setWindowTitle(ToQString(page->Name()));
    }
    return true;
}

void BrowseWindow::ClosePage() {
    view_->ClosePage();
}

std::int32_t BrowseWindow::PageShown() const {
    return view_->PageShown();
}

bool BrowseWindow::GoToAnchor(std::int32_t anchor) {
    return view_->GoToAnchor(anchor);
}

const TKYTbox* BrowseWindow::Box() const {
    return view_->Box();
}

const TKYTtesto* BrowseWindow::WorkingText() const {
    return view_->WorkingText();
}

void BrowseWindow::DetachPage() {
    view_->DetachPage();
}

void BrowseWindow::ReattachPage() {
    view_->ReattachPage();
}

void BrowseWindow::Repaint() {
    view_->Surface()->update();
}

void BrowseWindow::ApplyFeatures(const WindowFeatures& f) {
    if (f.width || f.height) {
        resize(f.width ? std::clamp(*f.width, 120, 4000) : width(),
               f.height ? std::clamp(*f.height, 90, 4000) : height());
    }
    const std::optional<int> x = f.left ? f.left : f.screenX;
    const std::optional<int> y = f.top ? f.top : f.screenY;
    if (x || y) move(x.value_or(pos().x()), y.value_or(pos().y()));
}

BrowseWindows::BrowseWindows(TKYTset& set, QWidget& owner) : set_(set), owner_(owner) {}

BrowseWindows::~BrowseWindows() {
    CloseAll();
}

std::vector<BrowseWindow*> BrowseWindows::Open() const {
    std::vector<BrowseWindow*> open;
    for (const auto& window : windows_)
        if (window && window->isVisible()) open.push_back(window.data());
    return open;
}

BrowseWindow* BrowseWindows::Find(std::string_view name) const {
    for (BrowseWindow* window : Open())
        if (!window->IsPopup() && SameText1252(window->Name(), name)) return window;
    return nullptr;
}

BrowseWindow& BrowseWindows::Make(std::string_view name, bool popup) {
    std::erase_if(windows_, [](const QPointer<BrowseWindow>& w) { return w.isNull(); });
    auto* window = new BrowseWindow(set_, std::string(name), popup, &owner_);
    window->View().Surface()->installEventFilter(new ClickFilter(*window, onClick));
    window->View().FormInput()->onLink = [this, window](const TKYToggetto& link) {
        if (onFormLink) onFormLink(*window, link);
    };
    windows_.emplace_back(window);
    return *window;
}

BrowseWindow& BrowseWindows::Named(std::string_view name) {
    if (BrowseWindow* open = Find(name)) return *open;
    return New(name);
}

BrowseWindow& BrowseWindows::New(std::string_view name) {
    BrowseWindow& window = Make(name, false);
    window.show();
    return window;
}

BrowseWindow& BrowseWindows::Popup(QPoint globalAt) {
    BrowseWindow& window = Make("", true);
    window.move(globalAt);
    window.show();
    return window;
}

bool BrowseWindows::Close(std::string_view name) {
    BrowseWindow* window = Find(name);
    if (!window) return false;
    window->close();
    return true;
}

void BrowseWindows::DetachPages() {
    for (auto& window : windows_)
        if (window) window->View().DetachPage();
}

void BrowseWindows::ReattachPages() {
    for (auto& window : windows_)
        if (window) window->View().ReattachPage();
}

void BrowseWindows::CloseAll() {
    for (auto& window : windows_) {
        if (!window) continue;
        window->View().ClosePage();
        delete window.data();
    }
    windows_.clear();
}

}  // namespace orvo
