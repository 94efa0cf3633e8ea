// The editing tools of the main window. They show what the edited box reports and send the
// user's choices to it; what a choice does is decided by the box's editing operations.
#include "ui/app/EditingTools.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/u3MainForm.h"
#include "model/uKYTpag.h"
#include "objects/TableCommands.h"
#include "textbox/uKYTCornice.h"
#include "ui/QtConvert.h"
#include "ui/app/EditTools.h"
#include "ui/objects/PictureEditing.h"
#include "ui/textbox/FrameSetWidget.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

void EditingEditorView::SetReadOnly(bool readOnly) {
    preview_.SetReadOnly(readOnly);
    frames_.SetEditable(!readOnly);
}

bool EditingEditorView::Changed() const {
    if (frames_.FrameSet().LayoutUnstored()) return true;
    for (PageViewWidget* view : frames_.Views())
        if (view->Session() && view->Session()->Edited()) return true;
    return false;
}

void EditingEditorView::ClearChanged() {
    for (PageViewWidget* view : frames_.Views())
        if (view->Session()) view->Session()->ClearEdited();
}

bool EditingEditorView::PageHasUnsavedEdits() const {
    // A page split or shown in a frame is stored as the page's frame map.
    if (frames_.FrameSet().LayoutUnstored()) return true;
    for (PageViewWidget* view : frames_.Views())
        if (view->Showing() && view->Session() && view->Session()->Edited()) return true;
    return false;
}

void EditingEditorView::CommitPage() {
    // Every frame's page: a frame set shows several pages at once.
    for (PageViewWidget* view : frames_.Views()) view->CommitPage();
    frames_.FrameSet().StoreLayout();
}

bool FramePageSurface::ShowPage(std::int32_t page) {
    TKYTframeSet& frames = frames_.FrameSet();
    TKYTFrame* frame = frames.FrameWithSerial(serial_);
    if (!frame || frame->IsSplit() || !frames.LinkedKYTset() ||
        !LivePage(*frames.LinkedKYTset(), page))
        return false;
    frames_.ForgetStaleControl();
    return frames.ShowPageInFrame(*frame, page);
}

PageViewWidget* FramePageSurface::View() const {
    TKYTFrame* frame = frames_.FrameSet().FrameWithSerial(serial_);
    return frame ? frames_.ViewOf(*frame) : nullptr;
}

std::int32_t FramePageSurface::PageShown() const {
    PageViewWidget* view = View();
    return view && view->Showing() ? view->PageShown() : -1;
}

bool FramePageSurface::GoToAnchor(std::int32_t anchor) {
    PageViewWidget* view = View();
    return view && view->GoToAnchor(anchor);
}

const TKYTbox* FramePageSurface::Box() const {
    PageViewWidget* view = View();
    return view ? view->Box() : nullptr;
}

const TKYTtesto* FramePageSurface::WorkingText() const {
    PageViewWidget* view = View();
    return view ? view->WorkingText() : nullptr;
}

void FramePageSurface::Repaint() {
    if (PageViewWidget* view = View()) view->Surface()->update();
}

IPreviewSurface* EditingEditorView::FrameSurfaceOf(const PageViewWidget& view) {
    TKYTframeSet& frames = frames_.FrameSet();
    if (!frames.Split()) return nullptr;
    for (TKYTFrame* frame : frames.Leaves())
        if (frames_.ViewOf(*frame) == &view) {
            auto& surface = frameSurfaces_[frame->Serial()];
            if (!surface) surface = std::make_unique<FramePageSurface>(frames_, frame->Serial());
            return surface.get();
        }
    return nullptr;
}

void EditingEditorView::ShowInNamedFrame(std::string_view name, int page, int anchor) {
    TKYTframeSet& frames = frames_.FrameSet();
    TKYTFrame* frame = frames.Split() && !name.empty() ? frames.FrameNamed(name) : nullptr;
    if (frame && !frame->IsSplit()) {
        FramePageSurface surface(frames_, frame->Serial());
        if (surface.ShowPage(page) && anchor >= 0) surface.GoToAnchor(anchor);
        return;
    }
    preview_.ShowInNamedFrame(name, page, anchor);
}

namespace {

QToolBar* ContextBar(QMainWindow& window, const char* name, const char* caption) {
    auto* bar = new QToolBar(QString::fromLatin1(caption), &window);
    bar->setObjectName(QString::fromLatin1(name));
    window.addToolBar(Qt::TopToolBarArea, bar);
    bar->hide();
    return bar;
}

// Four lines of text set left (0), right (1) or centred (2): the alignment buttons' pictures,
// drawn here so that the buttons need no font with arrows and their captions stay plain
// Windows-1252 text for the localisation blocks.
QIcon AlignmentIcon(int alignment) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const int widths[] = {14, 10, 14, 8};
    for (int i = 0; i < 4; ++i) {
        const int w = widths[i];
        const int x = alignment == 0 ? 1 : alignment == 1 ? 15 - w : (16 - w) / 2;
        painter.fillRect(x, 2 + i * 4, w, 2, Qt::black);
    }
    return QIcon(pixmap);
}

QAction* ToolAction(QToolBar& bar, const char* name, const QString& text, const QString& tip,
                    bool checkable) {
    QAction* action = bar.addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(tip);
    action->setCheckable(checkable);
    return action;
}

}  // namespace

EditingTools::EditingTools(QMainWindow& window, FrameSetWidget& frames, TMainFormRules& rules)
    : window_(window), frames_(frames), rules_(rules) {
    window.addToolBarBreak(Qt::TopToolBarArea);
    // "Formato": the font, its size, bold, italic and underline of the selection or the
    // typing at the caret.
    formatBar_ = ContextBar(window, "TBFormato", "Formato");
    fontBox_ = new QFontComboBox(formatBar_);
    fontBox_->setObjectName(QStringLiteral("CBFont"));
    fontBox_->setToolTip(QStringLiteral("Carattere"));
    formatBar_->addWidget(fontBox_);
    sizeBox_ = new QComboBox(formatBar_);
    sizeBox_->setObjectName(QStringLiteral("CBSize"));
    sizeBox_->setToolTip(QStringLiteral("Dimensione"));
    sizeBox_->setEditable(true);
    sizeBox_->setValidator(new QIntValidator(1, 1638, sizeBox_));
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        sizeBox_->addItem(QString::number(size));
    formatBar_->addWidget(sizeBox_);
    QFont boldFont, italicFont, underlineFont;
    boldFont.setBold(true);
    italicFont.setItalic(true);
    underlineFont.setUnderline(true);
    bold_ = ToolAction(*formatBar_, "BGrassetto", QStringLiteral("G"), QStringLiteral("Grassetto"),
                       true);
    bold_->setFont(boldFont);
    italic_ =
        ToolAction(*formatBar_, "BCorsivo", QStringLiteral("C"), QStringLiteral("Corsivo"), true);
    italic_->setFont(italicFont);
    underline_ = ToolAction(*formatBar_, "BSottolineato", QStringLiteral("S"),
                            QStringLiteral("Sottolineato"), true);
    underline_->setFont(underlineFont);
    for (auto [action, bit] : {std::pair{bold_, kStyleBold}, std::pair{italic_, kStyleItalic},
                               std::pair{underline_, kStyleUnderline}}) {
        const std::uint8_t b = bit;
        QObject::connect(action, &QAction::triggered, &window_, [this, b] {
            if (refreshing_ || !Session()) return;
            Session()->ToggleStyle(b);
            Edited();
        });
    }
    QObject::connect(fontBox_, &QFontComboBox::currentFontChanged, &window_,
                     [this](const QFont& f) {
                         if (refreshing_ || !Session()) return;
                         Session()->SetFontName(ToCp1252(f.family()));
                         Edited();
                     });
    QObject::connect(sizeBox_, &QComboBox::textActivated, &window_, [this](const QString& text) {
        if (refreshing_ || !Session()) return;
        bool ok = false;
        const int size = text.toInt(&ok);
        if (ok) Session()->SetFontSize(size);
        Edited();
    });

    // "Paragrafi": the alignment and the lists of the caret's paragraphs.
    paragraphBar_ = ContextBar(window, "TBParagrafi", "Paragrafi");
    auto* alignments = new QActionGroup(paragraphBar_);
    alignLeft_ = ToolAction(*paragraphBar_, "BSinistra", QStringLiteral("Sinistra"),
                            QStringLiteral("Allinea a sinistra"), true);
    alignCentre_ = ToolAction(*paragraphBar_, "BCentro", QStringLiteral("Centro"),
                              QStringLiteral("Centra"), true);
    alignRight_ = ToolAction(*paragraphBar_, "BDestra", QStringLiteral("Destra"),
                             QStringLiteral("Allinea a destra"), true);
    for (auto [action, value] :
         {std::pair{alignLeft_, 0}, std::pair{alignRight_, 1}, std::pair{alignCentre_, 2}}) {
        action->setIcon(AlignmentIcon(value));
        alignments->addAction(action);
        const auto v = std::uint8_t(value);
        QObject::connect(action, &QAction::triggered, &window_, [this, v] {
            if (refreshing_ || !Session()) return;
            Session()->SetAlignment(v);
            Edited();
        });
    }
    paragraphBar_->addSeparator();
    numbered_ = ToolAction(*paragraphBar_, "BNumerato", QStringLiteral("1."),
                           QStringLiteral("Elenco numerato"), true);
    bulleted_ = ToolAction(*paragraphBar_, "BPuntato", QStringLiteral("\u2022"),
                           QStringLiteral("Elenco puntato"), true);
    for (auto [action, kind] : {std::pair{numbered_, 6}, std::pair{bulleted_, 10}}) {
        const auto k = std::uint8_t(kind);
        QObject::connect(action, &QAction::triggered, &window_, [this, k] {
            if (refreshing_ || !Session()) return;
            Session()->ToggleNumbering(k);
            Edited();
        });
    }

    // "Tabelle": the table commands, while the caret is in a table's cell.
    tableBar_ = ContextBar(window, "TBTabelle", "Tabelle");
    for (CommandId id :
         {CommandId::TableAddRow, CommandId::TableDeleteRow, CommandId::TableAddColumn,
          CommandId::TableDeleteColumn, CommandId::TableProperties}) {
        QString caption = ToQString(MenuItemOf(id).caption);
        caption.remove(QLatin1Char('&'));
        QAction* action = tableBar_->addAction(caption);
        QObject::connect(action, &QAction::triggered, &window_, [this, id] {
            if (!RunCommand(id)) rules_.Execute(id);
        });
    }

    // The ruler, on a bar of its own under the context toolbars.
    window.addToolBarBreak(Qt::TopToolBarArea);
    rulerBar_ = ContextBar(window, "TBRighello", "Righello");
    ruler_ = new RulerWidget(rulerBar_);
    rulerBar_->addWidget(ruler_);
    rulerBar_->setMovable(false);
}

EditingTools::~EditingTools() = default;

PageEditSession* EditingTools::Session() const {
    PageViewWidget* view = frames_.FocusedView();
    return view ? view->Session() : nullptr;
}

void EditingTools::AddToMainToolbar(QToolBar& toolbar) {
    toolbar.addSeparator();
    undoButton_ = new QToolButton(&toolbar);
    undoButton_->setObjectName(QStringLiteral("BUndo"));
    undoButton_->setIcon(window_.style()->standardIcon(QStyle::SP_ArrowBack));
    undoButton_->setToolTip(QStringLiteral("Undo"));
    toolbar.addWidget(undoButton_);
    QObject::connect(undoButton_, &QToolButton::clicked, &window_,
                     [this] { RunCommand(CommandId::EditUndo); });
    undoListButton_ = new QToolButton(&toolbar);
    undoListButton_->setObjectName(QStringLiteral("BUndoList"));
    undoListButton_->setArrowType(Qt::DownArrow);
    undoListButton_->setToolTip(QStringLiteral("Lista undo"));
    toolbar.addWidget(undoListButton_);
    QObject::connect(undoListButton_, &QToolButton::clicked, &window_, [this] { OpenUndoList(); });
    toolbar.addSeparator();
    pageBox_ = new QLineEdit(&toolbar);
    pageBox_->setObjectName(QStringLiteral("EPagina"));
    pageBox_->setToolTip(QStringLiteral("Vai a pagina"));
    pageBox_->setValidator(new QIntValidator(0, 0x7FFFFFFF, pageBox_));
    pageBox_->setMaximumWidth(60);
    toolbar.addWidget(pageBox_);
    QObject::connect(pageBox_, &QLineEdit::returnPressed, &window_, [this] {
        bool ok = false;
        const int page = pageBox_->text().toInt(&ok);
        if (ok) rules_.GoToPage(page);
        Refresh();
    });
}

void EditingTools::AddGoToPageMenu(QMenu& menu) {
    QMenu* pages = menu.addMenu(QStringLiteral("Vai a pagina"));
    pages->setObjectName(QStringLiteral("MIVaiPagina"));
    QObject::connect(pages, &QMenu::aboutToShow, pages, [this, pages] {
        pages->clear();
        for (int page : rules_.PageMenu()) {
            QAction* action = pages->addAction(QString::number(page));
            QObject::connect(action, &QAction::triggered, &window_,
                             [this, page] { rules_.GoToPage(page); });
        }
    });
}

std::optional<QKeySequence> EditingTools::Shortcut(CommandId command) {
    switch (command) {
        case CommandId::FileSave:
            return QKeySequence(QKeySequence::Save);
        case CommandId::EditUndo:
            return QKeySequence(QKeySequence::Undo);
        case CommandId::EditCut:
            return QKeySequence(QKeySequence::Cut);
        case CommandId::EditCopy:
            return QKeySequence(QKeySequence::Copy);
        case CommandId::EditPaste:
            return QKeySequence(QKeySequence::Paste);
        case CommandId::EditSelectAll:
            return QKeySequence(QKeySequence::SelectAll);
        default:
            return std::nullopt;
    }
}

bool EditingTools::RunCommand(CommandId command) {
    std::optional<BoxCommandKind> kind;
    switch (command) {
        case CommandId::EditUndo:
            kind = BoxCommandKind::Undo;
            break;
        case CommandId::EditCut:
            kind = BoxCommandKind::Cut;
            break;
        case CommandId::EditCopy:
            kind = BoxCommandKind::Copy;
            break;
        case CommandId::EditPaste:
            kind = BoxCommandKind::Paste;
            break;
        case CommandId::EditSelectAll:
            kind = BoxCommandKind::SelectAll;
            break;
        case CommandId::EditRedo:
            return true;  // no step records a redo: the list stays empty
        case CommandId::InsertTable:
        case CommandId::TableAddRow:
        case CommandId::TableDeleteRow:
        case CommandId::TableAddColumn:
        case CommandId::TableDeleteColumn:
        case CommandId::TableProperties:
            RunTableCommand(command);
            return true;
        default:
            return false;
    }
    // A selected image takes the clipboard commands before its text box.
    if (PageViewWidget* view = frames_.FocusedView(); view && view->Editable())
        if (PictureEditing* pictures = view->Pictures()) {
            if ((command == CommandId::EditCopy && pictures->CopyCurrent()) ||
                (command == CommandId::EditCut && pictures->CutCurrent()) ||
                (command == CommandId::EditPaste && pictures->PasteCurrent()))
                return true;
        }
    if (PageEditSession* session = Session()) {
        session->Command(*kind);
        Edited();
    }
    return true;
}

void EditingTools::RunTableCommand(CommandId command) {
    // The focused frame's page, being edited; the row and column commands act on the cell that
    // has the caret and do nothing outside one.
    PageViewWidget* view = frames_.FocusedView();
    if (!view || !view->Editable()) return;
    switch (command) {
        case CommandId::InsertTable:
            view->NewTableWindow();
            break;
        case CommandId::TableAddRow:
            view->TableCommandOnCell(int(TableCommand::AddRows), 1, false);
            break;
        case CommandId::TableDeleteRow:
            view->TableCommandOnCell(int(TableCommand::DeleteRow), 1, false);
            break;
        case CommandId::TableAddColumn:
            view->TableCommandOnCell(int(TableCommand::AddColumns), 1, false);
            break;
        case CommandId::TableDeleteColumn:
            view->TableCommandOnCell(int(TableCommand::DeleteColumn), 1, false);
            break;
        case CommandId::TableProperties:
            view->TablePropertiesWindow();
            break;
        default:
            return;
    }
    Edited();
}

void EditingTools::OpenUndoList() {
    PageEditSession* session = Session();
    if (!session || !undoListButton_) return;
    TUndoBox box(&window_);
    box.SetLabels(session->Undo().Labels());
    if (box.count() == 0) return;
    const int steps = box.Run(*undoListButton_);
    if (steps > 0 && Session()) {
        Session()->UndoSteps(steps);
        Edited();
    }
}

void EditingTools::Edited() {
    PageViewWidget* view = frames_.FocusedView();
    if (!view) return Refresh();
    view->Surface()->update();
    if (view->Editable()) view->Surface()->setFocus(Qt::OtherFocusReason);
    Refresh();
}

void EditingTools::HideContextToolbars() {
    hidden_ = true;
    for (QToolBar* bar : {formatBar_, paragraphBar_, tableBar_, rulerBar_}) bar->hide();
}

void EditingTools::Refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    PageEditSession* session = Session();
    const EditToolState tools = session ? session->Tools() : EditToolState{};
    const bool editing = tools.editing && rules_.EditMode();
    if (undoButton_) {
        undoButton_->setEnabled(editing && !tools.undoLabels.empty());
        undoListButton_->setEnabled(editing && !tools.undoLabels.empty());
        undoButton_->setToolTip(tools.undoLabels.empty()
                                    ? QStringLiteral("Undo")
                                    : QStringLiteral("Undo: ") + ToQString(tools.undoLabels[0]));
    }
    if (pageBox_ && !pageBox_->hasFocus()) {
        const PageViewWidget* view = frames_.FocusedView();
        const int page = view ? view->PageShown() : -1;
        pageBox_->setText(page >= 0 ? QString::number(page) : QString());
    }
    if (!editing) {
        HideContextToolbars();
        refreshing_ = false;
        return;
    }
    hidden_ = false;
    formatBar_->show();
    paragraphBar_->show();
    rulerBar_->show();
    tableBar_->setVisible(tools.inTable);
    bold_->setChecked(tools.styleBits & kStyleBold);
    italic_->setChecked(tools.styleBits & kStyleItalic);
    underline_->setChecked(tools.styleBits & kStyleUnderline);
    if (!tools.fontName.empty() && !fontBox_->hasFocus())
        fontBox_->setCurrentFont(QFont(ToQString(tools.fontName)));
    if (!sizeBox_->hasFocus()) sizeBox_->setCurrentText(QString::number(tools.fontSize));
    alignLeft_->setChecked(tools.alignment == 0);
    alignRight_->setChecked(tools.alignment == 1);
    alignCentre_->setChecked(tools.alignment == 2);
    numbered_->setChecked(tools.numbering == 6);
    bulleted_->setChecked(tools.numbering == 10);
    ruler_->Show(tools);
    refreshing_ = false;
}

}  // namespace orvo
