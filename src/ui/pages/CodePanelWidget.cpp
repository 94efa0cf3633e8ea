#include "ui/pages/CodePanelWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/CustomCodePanel.h"
#include "base/Cp1252.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ObjectViews.h"
#include "platform/IMessages.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTundo.h"
#include "ui/NamedWidget.h"
#include "ui/QtConvert.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

namespace {

using K = TOggettiHel;

// The code's editor: page 0 of the panel's hypertext in a page widget, edited as any page.
class PageViewCodeEditor final : public ICodeEditor {
public:
    explicit PageViewCodeEditor(PageViewWidget& view) : view_(view) {}

    void ShowCode() override {
        view_.ShowPage(0);
        view_.SetEditable(true);
        ClearEdited();
    }
    void Release() override { view_.ClosePage(); }
    bool InsertStream(std::string_view stream, std::string_view label) override {
        BoxEditing* editing = Editing();
        if (!editing) return false;
        if (!editing->Text().InsertFromStream(stream, label, true, false)) return false;
        editing->Text().SetCaretAt(editing->Text().Selection().second);
        Changed();
        return true;
    }
    bool InsertObject(std::unique_ptr<TKYToggetto> object) override {
        BoxEditing* editing = Editing();
        if (!editing || !editing->Text().InsertObject(std::move(object), true)) return false;
        // The reference is one step of the panel's undo list: the text stays open (storing it
        // would empty the list), and its marker's view is made as the box draws it.
        edited_ = true;
        view_.Surface()->update();
        return true;
    }
    void Commit() override {
        const bool edited = Edited();
        view_.CommitPage();
        edited_ = edited;
    }
    bool Edited() const override {
        return edited_ || (view_.Session() && view_.Session()->Edited());
    }
    void ClearEdited() override {
        edited_ = false;
        if (view_.Session()) view_.Session()->ClearEdited();
    }
    void NoteEdit() override {
        edited_ = true;
        view_.Surface()->update();
    }
    std::vector<TKYToggetto*> Objects() override {
        std::vector<TKYToggetto*> objects;
        if (const TKYTtesto* text = view_.WorkingText())
            for (const auto& o : text->pageObjects) objects.push_back(o.get());
        return objects;
    }

private:
    BoxEditing* Editing() { return view_.Session() ? view_.Session()->Editing() : nullptr; }
    // The object's marker is made when the page is shown again: the edit is stored and shown.
    void Changed() {
        edited_ = true;
        view_.CommitPage();
        view_.Surface()->update();
    }
    PageViewWidget& view_;
    bool edited_ = false;
};

// The objects of the main hypertext a reference of `subtype` may name, as (label, code).
std::vector<std::pair<std::string, std::int32_t>> Candidates(TKYTset& set, int subtype) {
    std::vector<std::pair<std::string, std::int32_t>> list;
    auto add = [&](K kind) {
        for (const auto& o : set.KindList(kind))
            if (o && !o->IsFree())
                list.emplace_back(o->Name() + " (" + std::to_string(o->Identifier()) + ")",
                                  o->Code());
    };
    switch (subtype) {
        case 21:
            add(K::immagine);
            break;
        case 22:
            add(K::testoHtml);
            add(K::genLink);
            break;
        case 23:
            add(K::testoHtml);
            break;
        default:
            add(K::custom);
            break;
    }
    return list;
}

}  // namespace

CodePanelWidget::CodePanelWidget(CustomCodePanel& panel, IScheduler& scheduler, IMessages& messages,
                                 QWidget* parent)
    : QWidget(parent), panel_(panel), messages_(messages) {
    setObjectName(QStringLiteral("Fwrapper"));
    auto* layout = new QVBoxLayout(this);
    caption_ = Named<QLabel>("Lspiega", this);
    caption_->setWordWrap(true);
    caption_->setTextFormat(Qt::PlainText);  // the explanation names "<HEAD>"
    layout->addWidget(caption_);

    auto* tools = new QHBoxLayout;
    for (auto [name, command] :
         {std::pair{"BTaglia", BoxCommandKind::Cut}, std::pair{"BCopia", BoxCommandKind::Copy},
          std::pair{"BIncolla", BoxCommandKind::Paste}, std::pair{"BUndo", BoxCommandKind::Undo}}) {
        auto* button = Named<QPushButton>(name, this);
        tools->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, command] {
            if (PageEditSession* session = view_->Session()) {
                session->Command(command);
                view_->Surface()->update();
            }
            UpdateCommands();
        });
        if (command == BoxCommandKind::Cut) cut_ = button;
        if (command == BoxCommandKind::Copy) copy_ = button;
        if (command == BoxCommandKind::Undo) undo_ = button;
    }
    menu_ = Named<QToolButton>("MInserisci", this);
    menu_->setPopupMode(QToolButton::InstantPopup);
    auto* insert = new QMenu(menu_);
    menu_->setMenu(insert);
    tools->addWidget(menu_);
    tools->addStretch();
    layout->addLayout(tools);

    // The reference buttons of normal code.
    references_ = new QWidget(this);
    auto* refs = new QHBoxLayout(references_);
    refs->setContentsMargins(0, 0, 0, 0);
    auto button = [&](QWidget* parent, QHBoxLayout* row, const char* name, auto&& action) {
        auto* b = Named<QPushButton>(name, parent);
        row->addWidget(b);
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    button(references_, refs, "BRifImmagine", [this] { ChooseReference(21, false); });
    button(references_, refs, "BGenImmagine", [this] { ChooseReference(21, true); });
    button(references_, refs, "BRifPagina", [this] { ChooseReference(22, false); });
    button(references_, refs, "BGenPagina", [this] { ChooseReference(22, true); });
    text_ = button(references_, refs, "BTesto", [this] { ChooseReference(23, false); });
    objects_ = new QWidget(references_);
    auto* objs = new QHBoxLayout(objects_);
    objs->setContentsMargins(0, 0, 0, 0);
    button(objects_, objs, "BOggetto", [this] { ChooseReference(24, false); });
    button(objects_, objs, "BGenOggetto", [this] { ChooseReference(24, true); });
    refs->addWidget(objects_);
    refs->addStretch();
    layout->addWidget(references_);

    // The size panel and the prototype's buttons.
    auto* row = new QHBoxLayout;
    sizes_ = new QWidget(this);
    auto* size = new QHBoxLayout(sizes_);
    size->setContentsMargins(0, 0, 0, 0);
    size->addWidget(Named<QLabel>("LDimensioni", sizes_));
    size->addWidget(Named<QSpinBox>("ESizeX", sizes_));
    size->addWidget(Named<QSpinBox>("ESizeY", sizes_));
    size->addWidget(Named<QCheckBox>("CBPercento", sizes_));
    button(sizes_, size, "BDimX", [this] { ChooseReference(25, false); });
    button(sizes_, size, "BDimY", [this] { ChooseReference(26, false); });
    row->addWidget(sizes_);
    prototype_ = new QWidget(this);
    auto* proto = new QHBoxLayout(prototype_);
    proto->setContentsMargins(0, 0, 0, 0);
    button(prototype_, proto, "BParametro", [this] { ChooseFromList(true); });
    button(prototype_, proto, "BFile", [this] { ChooseFromList(false); });
    row->addWidget(prototype_);
    row->addStretch();
    layout->addLayout(row);

    // Templates.
    templates_ = new QWidget(this);
    auto* tpl = new QHBoxLayout(templates_);
    tpl->setContentsMargins(0, 0, 0, 0);
    tpl->addWidget(Named<QLabel>("LModello", templates_));
    templateList_ = Named<QComboBox>("CBModello", templates_);
    templateList_->setMinimumContentsLength(16);
    tpl->addWidget(templateList_, 1);
    button(templates_, tpl, "BCarica", [this] {
        const std::string folder = panel_.Folder();
        const QString filter = QStringLiteral("File modelli (%1)")
                                   .arg(ToQString(panel_.Mask).replace(';', ' ').trimmed());
        const QString file = QFileDialog::getOpenFileName(this, ToQString(kTemplateLoadTitle),
                                                          ToQString(folder), filter);
        if (file.isEmpty()) return;
        panel_.ChooseTemplate(ToCp1252(file), [this] { return messages_.Ask(kTemplateQuestion); });
    });
    button(templates_, tpl, "BSalva", [this] {
        const std::string folder = panel_.Folder();
        const QString filter = QStringLiteral("File modelli (%1)")
                                   .arg(ToQString(panel_.Mask).replace(';', ' ').trimmed());
        const QString file = QFileDialog::getSaveFileName(this, ToQString(kTemplateSaveTitle),
                                                          ToQString(folder), filter);
        if (file.isEmpty()) return;
        panel_.SaveTemplate(ToCp1252(file));
        FillTemplates();
    });
    connect(templateList_, &QComboBox::activated, this, [this](int index) {
        if (filling_ || index == current_) return;
        const std::string name = ToCp1252(templateList_->itemText(index));
        const std::string path =
            index == 0 ? std::string(kTemplateNone) : panel_.Folder() + "/" + name;
        if (panel_.ChooseTemplate(path, [this] { return messages_.Ask(kTemplateQuestion); }))
            current_ = index;
        else
            templateList_->setCurrentIndex(current_);
    });
    layout->addWidget(templates_);

    view_ = new PageViewWidget(panel_.CodeSet(), this);
    view_->setObjectName(QStringLiteral("Editor"));
    view_->EnableEditing(scheduler, messages);
    view_->setMinimumHeight(120);
    // The caret moved, the selection or the text changed.
    view_->onToolsChanged = [this] { UpdateCommands(); };
    for (QLabel* label : findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    layout->addWidget(view_, 1);

    // The menu "&Inserisci".
    const struct {
        const char* name;
        int subtype;
        bool generic;
    } items[] = {
        {"MIRifImmagine", 21, false}, {"MIGenImmagine", 21, true}, {"MIRifPagina", 22, false},
        {"MIGenPagina", 22, true},    {"MITesto", 23, false},      {"MIOggetto", 24, false},
        {"MIGenOggetto", 24, true},   {"MIDimX", 25, false},       {"MIDimY", 26, false}};
    for (const auto& item : items) {
        QAction* action = insert->addAction(QString());
        action->setObjectName(QString::fromLatin1(item.name));
        const int subtype = item.subtype;
        const bool generic = item.generic;
        connect(action, &QAction::triggered, this,
                [this, subtype, generic] { ChooseReference(subtype, generic); });
    }
    panel_.SetEditor(std::make_unique<PageViewCodeEditor>(*view_));
    UpdateCommands();
}

void CodePanelWidget::UpdateCommands() {
    PageEditSession* session = view_->Session();
    const EditToolState tools = session ? session->Tools() : EditToolState{};
    bool objectSelected = false;
    if (ObjectViewHost* objects = view_->ObjectViews())
        for (const TMyyVisual* view : objects->Views())
            objectSelected = objectSelected || view->Selected();
    const bool selected = tools.editing && (tools.selection || objectSelected);
    cut_->setEnabled(selected);
    copy_->setEnabled(selected);
    undo_->setEnabled(session && session->Undo().CanUndo());
}

CodePanelWidget::~CodePanelWidget() {
    // The panel outlives this widget: it takes a box without a window again.
    panel_.SetEditor(NewHeadlessCodeEditor(panel_.CodeSet(), messages_));
}

void CodePanelWidget::Refresh() {
    caption_->setText(ToQString(panel_.Caption));
    const bool normal = panel_.Kind == 0;
    references_->setVisible(normal);
    menu_->setVisible(normal);
    templates_->setVisible(normal);
    prototype_->setVisible(!normal);
    objects_->setVisible(normal && panel_.CanInsObj);
    text_->setVisible(panel_.CanInsText);
    sizes_->setVisible(panel_.CanInsDim);
    for (QAction* action : menu_->menu()->actions()) {
        const QString name = action->objectName();
        if (name.contains(QStringLiteral("Oggetto")))
            action->setVisible(panel_.CanInsObj);
        else if (name == QStringLiteral("MITesto"))
            action->setVisible(panel_.CanInsText);
        else if (name.startsWith(QStringLiteral("MIDim")))
            action->setVisible(panel_.CanInsDim);
    }
    if (normal) FillTemplates();
}

void CodePanelWidget::FillTemplates() {
    filling_ = true;
    templateList_->clear();
    for (const std::string& name : TemplateList(panel_.Folder(), panel_.Mask))
        templateList_->addItem(ToQString(name));
    templateList_->setCurrentIndex(0);
    current_ = 0;
    filling_ = false;
}

void CodePanelWidget::ChooseReference(int subtype, bool generic) {
    if (!panel_.OnGetRif)
        panel_.OnGetRif = [this](CodeReference kind,
                                 std::int32_t start) -> std::optional<std::int32_t> {
            if (kind == CodeReference::Picture && choosePicture) return choosePicture(start);
            if ((kind == CodeReference::PageOrFile || kind == CodeReference::PageText) &&
                choosePage)
                return choosePage(kind, start);
            const auto list = Candidates(panel_.MainSet(), int(kind));
            if (list.empty()) return std::nullopt;
            QStringList labels;
            int current = 0;
            for (const auto& [label, code] : list) {
                if (code == start) current = int(labels.size());
                labels << ToQString(label);
            }
            bool ok = false;
            const QString chosen =
                QInputDialog::getItem(this, ToQString(std::string_view("Scegli:")), QString(),
                                      labels, current, false, &ok);
            if (!ok) return std::nullopt;
            return list[std::size_t(labels.indexOf(chosen))].second;
        };
    panel_.InsertReference(CodeReference(subtype), generic);
    view_->setFocus();
}

void CodePanelWidget::ChooseFromList(bool parameters) {
    const auto& names = parameters ? panel_.Parameters : panel_.Files;
    if (names.empty()) return;
    QStringList labels;
    for (const std::string& n : names) labels << ToQString(n);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, ToQString(std::string_view("Scegli:")),
                                                 QString(), labels, 0, false, &ok);
    if (!ok) return;
    panel_.InsertReference(parameters ? CodeReference::Parameter : CodeReference::File, false,
                           int(labels.indexOf(chosen)));
}

}  // namespace orvo
