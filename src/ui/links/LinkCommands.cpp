// The main window's link commands over the link window and the special-link window.
#include "ui/links/LinkCommands.h"

#include <QInputDialog>
#include <QMenu>

#include "app/SpecialLinkRules.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/links/LinkWindow.h"
#include "ui/links/SpecialLinkWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

namespace {

using K = TOggettiHel;

}  // namespace

LinkCommands::LinkCommands(LinkCommandsHost host, QWidget* parent)
    : host_(std::move(host)), parent_(parent) {
    execDialog = [](QDialog& dialog) { return dialog.exec(); };
    askName = [this]() -> std::optional<std::string> {
        bool ok = false;
        const QString name =
            QInputDialog::getText(parent_, ToQString(kSpecNamePromptCaption),
                                  ToQString(kSpecNamePrompt), QLineEdit::Normal, QString(), &ok);
        if (!ok) return std::nullopt;
        return ToCp1252(name);
    };
}

LinkCommands::~LinkCommands() = default;

bool LinkCommands::RunCommand(CommandId command) {
    switch (command) {
        case CommandId::InsertLink:
            LinkSelection();
            return true;
        case CommandId::InsertSpecialLink:
            SpecialLinkSelection();
            return true;
        case CommandId::InsertNewPage:
            NewPage();
            return true;
        default:
            return false;
    }
}

void LinkCommands::AddToMenu(QMenu& menu) {
    const std::pair<const char*, std::string_view> items[] = {
        {"MISelfLink", "Collegamento autore&ferente"},
        {"MIPastePage", "Incolla &pagina da..."},
        {"MIChooseFromPreview", "&Scegli da anteprima..."}};
    for (auto [name, caption] : items) {
        QAction* action = menu.addAction(ToQString(caption));
        action->setObjectName(QString::fromLatin1(name));
        const std::string which = name;
        QObject::connect(action, &QAction::triggered, &menu, [this, which] {
            if (which == "MISelfLink") SelfLink();
            if (which == "MIPastePage") PastePage();
            if (which == "MIChooseFromPreview") ChooseFromPreview();
        });
    }
}

LinkWindow& LinkCommands::Window() {
    if (!window_) {
        window_ = new LinkWindow(host_.set, *this, host_.messages, parent_);
        if (localize) localize(*window_);
        window_->currentPage = [this] {
            PageViewWidget* view = host_.view ? host_.view() : nullptr;
            return view ? view->PageShown() : -1;
        };
    }
    return *window_;
}

SpecialLinkWindow& LinkCommands::SpecialWindow() {
    if (!specWindow_) {
        specWindow_ = new SpecialLinkWindow(host_.set, parent_);
        if (localize) localize(*specWindow_);
        specWindow_->defineOnScreen = [this](std::int32_t anchor) {
            return AnchorOnScreen(anchor);
        };
    }
    return *specWindow_;
}

int LinkCommands::Run(QDialog& dialog) {
    return execDialog ? execDialog(dialog) : dialog.exec();
}

void LinkCommands::ShowPage(std::int32_t page) {
    if (host_.showPage) host_.showPage(page);
}

TKYTTextAttributes* LinkCommands::CurrentText() {
    PageViewWidget* view = host_.view ? host_.view() : nullptr;
    PageEditSession* session = view ? view->Session() : nullptr;
    BoxEditing* editing = session ? session->Editing() : nullptr;
    return editing ? &editing->Text() : nullptr;
}

TKYToggetto* LinkCommands::CurrentPage() {
    PageViewWidget* view = host_.view ? host_.view() : nullptr;
    // The widget's working copy: its record is stored with the text when the page is.
    return view ? const_cast<TKYTtesto*>(view->WorkingText()) : nullptr;
}

bool LinkCommands::ChooseLinkFor(ILinkHolder& holder) {
    if (!holder.CanLink()) {
        host_.messages.Inform(kSelectFirst);
        return false;
    }
    const TKYToggetto* present = holder.PresentLink();
    TLinkChooser& chooser = Ready(0, present && present->Kind() != K::speclink ? present : nullptr);
    bool applied = false;
    chooser.onChoose = [&](TKYToggetto& target) {
        holder.ApplyLink(&target);
        applied = true;
    };
    window_->Prepare();
    Run(*window_);
    chooser.onChoose = nullptr;
    chooser.Close();
    if (applied)
        Linked();
    else if (host_.changed)
        host_.changed();
    return applied;
}

bool LinkCommands::ChooseSpecialLinkFor(ILinkHolder& holder) {
    if (!holder.CanLink()) {
        host_.messages.Inform(kSelectFirst);
        return false;
    }
    SpecialLinkWindow& special = SpecialWindow();
    // The page as the box shows it, edits included; its stored text when it has no box.
    bool anchors = false;
    if (PageViewWidget* view = host_.view ? host_.view() : nullptr) {
        if (const TKYTbox* box = view->Box()) {
            anchors = BoxHasAnchors(*box);
        } else if (const TKYTtesto* text = view->WorkingText()) {
            Result<std::string> markup = text->ContentBytes();
            anchors = TextHasAnchors(host_.set, text, markup ? *markup : std::string());
        }
    }
    special.Open(0, nullptr, anchors);
    if (Run(special) != QDialog::Accepted) return false;
    std::unique_ptr<TKYToggetto> link = NewSpecialLink(host_.set);
    WriteSpecialLink(*link, special.Choice());
    if (SpecialLinkNeedsName(*link)) {
        // Asked until a name is given; cancelling leaves everything as it was.
        const std::optional<std::string> name = AskWindowName(askName);
        if (!name) return false;
        link->View().SetPStr(kSpecName, *name);
    }
    const TKYToggetto* target = nullptr;
    std::unique_ptr<TKYToggetto> ownedTarget;
    if (SpecialLinkChoosesTarget(*link, 0)) {
        const int mode = SpecialLinkTargetMode(*link, 0);
        PageViewWidget* view = host_.view ? host_.view() : nullptr;
        const std::int32_t current = view ? view->PageShown() : -1;
        TLinkChooser& chooser =
            Ready(mode, mode == 3 ? host_.set.ObjectByKind(K::testoHtml, current) : nullptr,
                  link->ReadView().I32(kSpecAnchor));
        window_->Prepare();
        const bool chosen = Run(*window_) == QDialog::Accepted && chooser.ResultObject();
        const std::int32_t anchor = chooser.anchor;
        chooser.Close();
        if (!chosen) return false;  // nothing applied: the link goes with this command
        link->View().SetI32(kSpecAnchor, anchor);
        ownedTarget = chooser.TakeOwned();
        target = ownedTarget ? ownedTarget.get() : chooser.ResultObject();
    }
    holder.ApplySpecialLink(*link, target);
    Linked();
    return true;
}

TKYTTextAttributes* LinkCommands::SelectedText() {
    TKYTTextAttributes* text = CurrentText();
    if (text && text->HasSelection()) return text;
    host_.messages.Inform(kSelectFirst);
    return nullptr;
}

void LinkCommands::LinkOrUnlinkSelection(bool special) {
    TKYTTextAttributes* text = SelectedText();
    if (!text) return;
    TextSelectionLink holder(*text);
    if (holder.PresentLink()) {
        // The selection is a link (the link button is down): it loses it.
        holder.ApplyLink(nullptr);
        Linked();
        return;
    }
    if (special)
        ChooseSpecialLinkFor(holder);
    else
        ChooseLinkFor(holder);
}

void LinkCommands::LinkSelection() {
    LinkOrUnlinkSelection(false);
}

void LinkCommands::SpecialLinkSelection() {
    LinkOrUnlinkSelection(true);
}

void LinkCommands::SelfLink() {
    TKYTTextAttributes* text = SelectedText();
    if (!text) return;
    const auto [start, end] = text->Selection();
    std::string address;
    for (std::int32_t p = start.para; p <= end.para; ++p) {
        const std::string& line = text->Box().Paragraph(p).text;
        const std::size_t from = p == start.para ? std::size_t(start.ch) : 0;
        const std::size_t to = p == end.para ? std::size_t(end.ch) : line.size();
        for (std::size_t i = from; i < to && i < line.size(); ++i)
            if (std::uint8_t(line[i]) >= 0x20) address += line[i];
    }
    if (address.empty()) return;
    auto link = MakeInternetLink(host_.set, address);
    text->ApplyLink(link.get());
    Linked();
}

void LinkCommands::Linked() {
    PageViewWidget* view = host_.view ? host_.view() : nullptr;
    if (PageEditSession* session = view ? view->Session() : nullptr) session->NoteEdit();
    if (host_.changed) host_.changed();
}

TLinkChooser& LinkCommands::Ready(int mode, const TKYToggetto* preset, std::int32_t anchor) {
    TLinkChooser& chooser = Window().Chooser();
    chooser.mode = mode;
    chooser.preset = preset;
    chooser.anchor = anchor;
    chooser.onChoose = nullptr;
    chooser.sourceDocument.clear();
    chooser.sourcePage = -1;
    return chooser;
}

bool LinkCommands::NewPage() {
    if (host_.commitPage) host_.commitPage();
    TLinkChooser& chooser = Ready(9);
    window_->Prepare();
    const bool made = Run(*window_) == QDialog::Accepted && chooser.ResultObject();
    chooser.Close();
    if (host_.changed) host_.changed();
    return made;
}

void LinkCommands::PastePage(const std::string& sourceDocument, std::int32_t sourcePage) {
    TLinkChooser& chooser = Ready(10);
    chooser.sourceDocument = sourceDocument;
    chooser.sourcePage = sourcePage;
    window_->Prepare();
    Run(*window_);
    chooser.Close();
    if (host_.changed) host_.changed();
}

void LinkCommands::ChooseFromPreview() {
    TLinkChooser& chooser = Ready(6);
    window_->Prepare();
    if (Run(*window_) == QDialog::Accepted)
        if (TKYToggetto* page = chooser.ResultObject(); page && page->Kind() == K::testoHtml)
            ShowPage(page->Identifier());
    chooser.Close();
    if (host_.changed) host_.changed();
}

std::optional<std::int32_t> LinkCommands::AnchorOnScreen(std::int32_t anchor) {
    PageViewWidget* view = host_.view ? host_.view() : nullptr;
    const std::int32_t current = view ? view->PageShown() : -1;
    TLinkChooser& chooser = Ready(3, host_.set.ObjectByKind(K::testoHtml, current), anchor);
    window_->Prepare();
    std::optional<std::int32_t> chosen;
    if (Run(*window_) == QDialog::Accepted) chosen = chooser.anchor;
    chooser.Close();
    return chosen;
}

}  // namespace orvo
