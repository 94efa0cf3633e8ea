// The search window.
#include "ui/search/SearchWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "ui/QtConvert.h"

namespace orvo {

namespace {

constexpr std::string_view kSettings = "finds";

// Adds the field's word to its list when it is new; returns the word.
std::string Remember(QComboBox* field) {
    const QString text = field->currentText();
    if (!text.isEmpty() && field->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        field->insertItem(0, text);
    field->setCurrentText(text);
    return ToCp1252(text);
}

QComboBox* WordField(QWidget* parent) {
    auto* field = new QComboBox(parent);
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setMinimumWidth(220);
    return field;
}

// A label named by its key in the window's block, with its text until the block is applied.
QLabel* NamedLabel(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QString Caption(std::string_view cp1252) {
    return ToQString(cp1252);
}

// The main window's secondary windows with the search commands added.
class SearchingWindows final : public ForwardingWindows {
public:
    SearchingWindows(ISecondaryWindows& inner, SearchWindow& window)
        : ForwardingWindows(inner), window_(window) {}
    Outcome OpenKeywordSearch() override {
        window_.Open(SearchWindow::KeywordTab);
        return Outcome::Done;
    }
    Outcome RunCommand(CommandId command) override {
        switch (command) {
            case CommandId::SearchFind:
                window_.Open(SearchWindow::WordTab);
                return Outcome::Done;
            case CommandId::SearchReplace:
                window_.Open(SearchWindow::ReplaceTab);
                return Outcome::Done;
            case CommandId::SearchKeyword:
                window_.Open(SearchWindow::KeywordTab);
                return Outcome::Done;
            case CommandId::SearchRepeatInPage:
                window_.RepeatInPage();
                return Outcome::Done;
            case CommandId::SearchRepeatInHypertext:
                window_.RepeatInHypertext();
                return Outcome::Done;
            default:
                return inner_.RunCommand(command);
        }
    }

private:
    SearchWindow& window_;
};

}  // namespace

struct SearchWindow::Parts {
    explicit Parts(SearchWindowHost h) : host(std::move(h)), texts(host.set) {}
    SearchWindowHost host;
    TPagesText texts;
    std::unique_ptr<SearchingWindows> windows;
    bool opened = false;
    std::vector<KeywordEntry> keywords;

    QTabWidget* tabs = nullptr;
    QComboBox* terms[4] = {};
    QPushButton* pageButton = nullptr;
    QPushButton* hypertextButton = nullptr;
    QPushButton* matchingButton = nullptr;
    QListWidget* pages = nullptr;
    QComboBox* replaceWord = nullptr;
    QComboBox* replacement = nullptr;
    QCheckBox* confirmOne = nullptr;
    QCheckBox* confirmAll = nullptr;
    QRadioButton* fromFirst = nullptr;
    QRadioButton* fromCurrent = nullptr;
    QCheckBox* wholeWord = nullptr;
    QCheckBox* ignoreCase = nullptr;
    QLineEdit* keywordField = nullptr;
    QListWidget* keywordList = nullptr;
    QLabel* keywordHeading = nullptr;
    QListWidget* keywordPages = nullptr;
};

SearchWindow::SearchWindow(SearchWindowHost host, QWidget* parent)
    : QDialog(parent, Qt::Tool), parts_(std::make_unique<Parts>(std::move(host))) {
    Parts& p = *parts_;
    setObjectName(QStringLiteral("TFcerca"));
    setWindowTitle(Caption(kSearchCaption));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    p.tabs = new QTabWidget(this);
    layout->addWidget(p.tabs);

    // "Parola"
    auto* word = new QWidget(p.tabs);
    auto* wordGrid = new QGridLayout(word);
    word->setObjectName(QStringLiteral("TSparola"));
    const std::string_view labels[] = {"Cerca la parola:", "e:", "Oppure:", "e:"};
    const char* const labelNames[] = {"Lparola1", "Lparola2", "Lparola3", "Lparola4"};
    for (int i = 0; i < 4; ++i) {
        p.terms[i] = WordField(word);
        auto* label = new QLabel(Caption(labels[i]), word);
        label->setObjectName(QString::fromLatin1(labelNames[i]));
        wordGrid->addWidget(label, i, 0);
        wordGrid->addWidget(p.terms[i], i, 1);
    }
    p.pageButton = new QPushButton(Caption(kFindInPage), word);
    p.pageButton->setObjectName(QStringLiteral("BcercaPagina"));
    p.hypertextButton = new QPushButton(Caption(kFindInHypertext), word);
    p.hypertextButton->setObjectName(QStringLiteral("BcercaIpertesto"));
    p.matchingButton = new QPushButton(Caption(kPagesMatching), word);
    p.matchingButton->setObjectName(QStringLiteral("BtuttePagine"));
    wordGrid->addWidget(p.pageButton, 0, 2);
    wordGrid->addWidget(p.hypertextButton, 1, 2);
    wordGrid->addWidget(p.matchingButton, 2, 2);
    p.pages = new QListWidget(word);
    wordGrid->addWidget(p.pages, 4, 0, 1, 3);
    p.tabs->addTab(word, QStringLiteral("Parola"));

    // "Sostituisci"
    auto* replace = new QWidget(p.tabs);
    replace->setObjectName(QStringLiteral("TSsostituisci"));
    auto* replaceGrid = new QGridLayout(replace);
    p.replaceWord = WordField(replace);
    p.replacement = WordField(replace);
    replaceGrid->addWidget(NamedLabel("Lcerca", "Cerca la parola:", replace), 0, 0);
    replaceGrid->addWidget(p.replaceWord, 0, 1);
    replaceGrid->addWidget(NamedLabel("Lsostituisci", "Sostituisci con:", replace), 1, 0);
    replaceGrid->addWidget(p.replacement, 1, 1);
    p.confirmOne = new QCheckBox(QStringLiteral("chiedi conferma per sostituire una"), replace);
    p.confirmOne->setObjectName(QStringLiteral("CBconf1"));
    p.confirmAll = new QCheckBox(QStringLiteral("chiedi conferma per sostituire tutte"), replace);
    p.confirmAll->setObjectName(QStringLiteral("CBconfAll"));
    replaceGrid->addWidget(p.confirmOne, 2, 0, 1, 2);
    replaceGrid->addWidget(p.confirmAll, 3, 0, 1, 2);
    auto* from = new QGroupBox(QStringLiteral("Parti da:"), replace);
    from->setObjectName(QStringLiteral("GBparti"));
    auto* fromLayout = new QHBoxLayout(from);
    p.fromFirst = new QRadioButton(QStringLiteral("Pagina 0"), from);
    p.fromFirst->setObjectName(QStringLiteral("RBpagina0"));
    p.fromCurrent = new QRadioButton(QStringLiteral("Pagina corrente"), from);
    p.fromCurrent->setObjectName(QStringLiteral("RBcorrente"));
    fromLayout->addWidget(p.fromFirst);
    fromLayout->addWidget(p.fromCurrent);
    replaceGrid->addWidget(from, 4, 0, 1, 2);
    auto* replaceButtons = new QVBoxLayout();
    struct ReplaceButton {
        const char* name;
        std::string_view caption;
        std::function<void()> action;
    };
    const ReplaceButton buttons[] = {
        {"Bcerca", "&Cerca", [this] { ReplaceOne(true); }},
        {"Bsostituisci", "Cerca/&Sostituisci  F3", [this] { ReplaceOne(false); }},
        {"BtutteNellaPagina", "Sostituisci &tutte nella pagina", [this] { ReplaceAllInPage(); }},
        {"BtutteNellIpertesto", "Tutte nell' &ipertesto", [this] { ReplaceAllInHypertext(); }},
    };
    for (const auto& [name, caption, action] : buttons) {
        auto* button = new QPushButton(Caption(caption), replace);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, action);
        replaceButtons->addWidget(button);
    }
    replaceButtons->addStretch();
    replaceGrid->addLayout(replaceButtons, 0, 2, 5, 1);
    replaceGrid->setRowStretch(5, 1);
    p.tabs->addTab(replace, QStringLiteral("Sostituisci"));

    // "Pagina per parola chiave"
    auto* keyword = new QWidget(p.tabs);
    keyword->setObjectName(QStringLiteral("TSchiave"));
    auto* keywordGrid = new QGridLayout(keyword);
    p.keywordField = new QLineEdit(keyword);
    auto* keywordButton = new QPushButton(QStringLiteral("Cerca"), keyword);
    keywordButton->setObjectName(QStringLiteral("BcercaChiave"));
    keywordGrid->addWidget(NamedLabel("Lchiave", "Cerca parola chiave:", keyword), 0, 0);
    keywordGrid->addWidget(p.keywordField, 0, 1);
    keywordGrid->addWidget(keywordButton, 0, 2);
    keywordGrid->addWidget(NamedLabel("Ldisponibili", "Parole chiave disponibili:", keyword), 1, 0,
                           1, 3);
    p.keywordList = new QListWidget(keyword);
    keywordGrid->addWidget(p.keywordList, 2, 0, 1, 3);
    p.keywordHeading =
        new QLabel(QStringLiteral("Pagine che contengono parola selezionata:"), keyword);
    p.keywordHeading->setObjectName(QStringLiteral("Lpagine"));
    keywordGrid->addWidget(p.keywordHeading, 3, 0, 1, 3);
    p.keywordPages = new QListWidget(keyword);
    keywordGrid->addWidget(p.keywordPages, 4, 0, 1, 3);
    p.tabs->addTab(keyword, QStringLiteral("Pagina per parola chiave"));

    p.wholeWord = new QCheckBox(QStringLiteral("solo parole intere"), this);
    p.wholeWord->setObjectName(QStringLiteral("CBwholeword"));
    p.ignoreCase = new QCheckBox(QStringLiteral("ignora maiuscole/minuscole"), this);
    p.ignoreCase->setObjectName(QStringLiteral("CBignorecaps"));
    auto* options = new QHBoxLayout();
    options->addWidget(p.wholeWord);
    options->addWidget(p.ignoreCase);
    options->addStretch();
    layout->addLayout(options);

    // The settings of the last time.
    ISettings& settings = p.host.settings;
    p.wholeWord->setChecked(settings.ReadString(kSettings, "wholeword") == "1");
    p.ignoreCase->setChecked(settings.ReadString(kSettings, "ignorecaps") != "0");
    p.confirmOne->setChecked(settings.ReadString(kSettings, "conf1") != "0");
    p.confirmAll->setChecked(settings.ReadString(kSettings, "confAll") != "0");
    (settings.ReadString(kSettings, "startFrom") == "0" ? p.fromFirst : p.fromCurrent)
        ->setChecked(true);

    connect(p.pageButton, &QPushButton::clicked, this, [this] { FindInPage(); });
    connect(p.hypertextButton, &QPushButton::clicked, this, [this] { FindInHypertext(); });
    connect(p.matchingButton, &QPushButton::clicked, this, [this] { ListMatchingPages(); });
    connect(p.terms[0], &QComboBox::editTextChanged, this, [this] {
        parts_->pageButton->setText(Caption(kFindInPage));
        parts_->pageButton->setEnabled(true);
    });
    connect(p.pages, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { PickPage(parts_->pages->row(item)); });
    connect(p.pages, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PickPage(parts_->pages->row(item)); });
    connect(keywordButton, &QPushButton::clicked, this, [this] { FindKeyword(); });
    connect(p.keywordField, &QLineEdit::returnPressed, this, [this] { FindKeyword(); });
    connect(p.keywordList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PickKeyword(parts_->keywordList->row(item)); });
    connect(p.keywordPages, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PickKeywordPage(parts_->keywordPages->row(item)); });
    // F3 and F4 mean what the tab shown makes of them, also while a field has the focus (a
    // drop-down would open its list on F4).
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool SearchWindow::FunctionKey(int key) {
    if (key == Qt::Key_F3) {
        if (CurrentTab() == ReplaceTab)
            ReplaceOne(false);
        else if (CurrentTab() == WordTab)
            FindInPage();
        return true;
    }
    if (key == Qt::Key_F4) {
        if (CurrentTab() == ReplaceTab)
            ReplaceAllInHypertext();
        else if (CurrentTab() == WordTab)
            FindInHypertext();
        return true;
    }
    return false;
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && FunctionKey(key->key())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SearchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && FunctionKey(event->key())) return;
    QDialog::keyPressEvent(event);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::Open(Tab tab) {
    Parts& p = *parts_;
    p.opened = true;
    p.tabs->setCurrentIndex(int(tab));
    // The keyword list is read again each time the window shows.
    p.keywords = KeywordList(p.host.set);
    p.keywordList->clear();
    for (const KeywordEntry& entry : p.keywords) p.keywordList->addItem(ToQString(entry.word));
    show();
    raise();
    activateWindow();
}

SearchWindow::Tab SearchWindow::CurrentTab() const {
    return Tab(parts_->tabs->currentIndex());
}

int SearchWindow::Options() const {
    int options = 0;
    if (parts_->wholeWord->isChecked()) options |= stWholeWord;
    if (!parts_->ignoreCase->isChecked()) options |= stMatchCase;
    return options;
}

void SearchWindow::SaveSettings() {
    Parts& p = *parts_;
    ISettings& settings = p.host.settings;
    settings.WriteFlag(kSettings, "wholeword", p.wholeWord->isChecked());
    settings.WriteFlag(kSettings, "ignorecaps", p.ignoreCase->isChecked());
    settings.WriteFlag(kSettings, "conf1", p.confirmOne->isChecked());
    settings.WriteFlag(kSettings, "confAll", p.confirmAll->isChecked());
    settings.Write(kSettings, "startFrom", p.fromFirst->isChecked() ? "0" : "1");
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    SaveSettings();
    hide();
    event->ignore();
}

void SearchWindow::FindInPage() {
    Parts& p = *parts_;
    if (p.terms[0]->currentText().isEmpty()) return;
    const std::string term = Remember(p.terms[0]);
    p.pageButton->setEnabled(false);
    TPageSearch* search = p.host.pageSearch();
    if (search && search->FindNext(term, Options())) {
        p.pageButton->setText(Caption(kContinueInPage));
        p.pageButton->setEnabled(true);
        p.host.selected(false);
        return;
    }
    p.host.status(kPageSearchEnded);
    p.pageButton->setText(Caption(kPageSearchEnded));
}

void SearchWindow::FindInHypertext() {
    Parts& p = *parts_;
    if (p.terms[0]->currentText().isEmpty()) return;
    SearchTerms terms;
    std::string* words[] = {&terms.first, &terms.second, &terms.third, &terms.fourth};
    for (int i = 0; i < 4; ++i) *words[i] = Remember(p.terms[i]);
    std::int32_t after = p.host.pageShown();
    // A page whose stored text matches but whose shown text gives no hit is passed over.
    while (auto next = NextPageMatching(p.texts, after, terms, Options())) {
        p.host.showPage(next->first);
        TPageSearch* search = p.host.pageSearch();
        if (search && search->Find(next->second, Options())) {
            p.host.selected(false);
            return;
        }
        after = next->first;
    }
    p.host.status(kHypertextSearchEnded);
}

void SearchWindow::ListMatchingPages() {
    Parts& p = *parts_;
    SearchTerms terms;
    std::string* words[] = {&terms.first, &terms.second, &terms.third, &terms.fourth};
    for (int i = 0; i < 4; ++i) *words[i] = Remember(p.terms[i]);
    p.pages->clear();
    for (std::int32_t page : PagesMatching(p.texts, terms, Options())) {
        auto* item = new QListWidgetItem(
            ToQString(PageRecord::Read(*LivePage(p.host.set, page)).Title()), p.pages);
        item->setData(Qt::UserRole, page);
    }
}

void SearchWindow::PickPage(int row) {
    Parts& p = *parts_;
    QListWidgetItem* item = p.pages->item(row);
    if (!item) return;
    p.host.showPage(item->data(Qt::UserRole).toInt());
    TPageSearch* search = p.host.pageSearch();
    if (!search) return;
    const std::string first = ToCp1252(p.terms[0]->currentText());
    const std::string third = ToCp1252(p.terms[2]->currentText());
    if (search->FindNext(first, Options()) || search->FindNext(third, Options()))
        p.host.selected(false);
}

std::optional<std::pair<std::string, std::string>> SearchWindow::ReplacementWords() {
    Parts& p = *parts_;
    // Replacing changes the document: only in edit mode, and only with both words.
    if (!p.host.editMode() || p.replaceWord->currentText().isEmpty() ||
        p.replacement->currentText().isEmpty())
        return std::nullopt;
    return std::make_pair(Remember(p.replaceWord), Remember(p.replacement));
}

void SearchWindow::ReplaceOne(bool alwaysAsk) {
    Parts& p = *parts_;
    const auto words = ReplacementWords();
    if (!words) return;
    const std::string& word = words->first;
    const std::string& replacement = words->second;
    TPageSearch* search = p.host.pageSearch();
    std::function<bool()> confirm;
    if (alwaysAsk || p.confirmOne->isChecked())
        confirm = [&] { return p.host.messages.Ask("Sostituisco " + word + "?"); };
    bool replaced = false;
    if (!search || !search->ReplaceOne(word, replacement, Options(), confirm, &replaced)) {
        p.host.status(kPageReplaceEnded);
        return;
    }
    p.host.selected(replaced);
}

bool SearchWindow::ReplaceAllShown(const std::string& word, const std::string& replacement,
                                   bool fromStart) {
    Parts& p = *parts_;
    TPageSearch* search = p.host.pageSearch();
    if (!search) return true;
    std::function<ReplaceAnswer()> ask;
    if (p.confirmAll->isChecked())
        ask = [&] {
            p.host.selected(false);  // the hit is shown while the question waits
            switch (p.host.messages.AskYesNoCancel("Sostituisco " + word + "?")) {
                case Answer::Yes:
                    return ReplaceAnswer::Yes;
                case Answer::No:
                    return ReplaceAnswer::No;
                default:
                    return ReplaceAnswer::Cancel;
            }
        };
    const ReplaceCount count = search->ReplaceAll(word, replacement, Options(), fromStart, ask);
    p.host.selected(count.replaced > 0);
    return !count.cancelled;
}

void SearchWindow::ReplaceAllInPage() {
    Parts& p = *parts_;
    const auto words = ReplacementWords();
    if (!words) return;
    const std::string& word = words->first;
    const std::string& replacement = words->second;
    if (ReplaceAllShown(word, replacement, false)) p.host.status(kPageReplaceEnded);
}

void SearchWindow::ReplaceAllInHypertext() {
    Parts& p = *parts_;
    const auto words = ReplacementWords();
    if (!words) return;
    const std::string& word = words->first;
    const std::string& replacement = words->second;
    // A page shown by the search is replaced from its start (the editor may put back the caret
    // a page had when it was last shown); the current page from the caret.
    bool fromStart = p.fromFirst->isChecked();
    if (fromStart) p.host.showPage(0);
    for (;;) {
        if (!ReplaceAllShown(word, replacement, fromStart)) return;
        fromStart = true;
        const auto next =
            NextPageMatching(p.texts, p.host.pageShown(), {word, "", "", ""}, Options());
        if (!next) break;
        p.host.showPage(next->first);
    }
    p.host.status(kHypertextReplaceEnded);
}

void SearchWindow::FindKeyword() {
    Parts& p = *parts_;
    const auto found = KeywordByPrefix(p.keywords, ToCp1252(p.keywordField->text()));
    if (!found) return;
    p.keywordList->setCurrentRow(int(*found));
    PickKeyword(int(*found));
}

void SearchWindow::PickKeyword(int row) {
    Parts& p = *parts_;
    if (row < 0 || std::size_t(row) >= p.keywords.size()) return;
    const KeywordEntry& entry = p.keywords[std::size_t(row)];
    p.keywordHeading->setText(ToQString("Pagine che contengono \"" + entry.word + "\""));
    p.keywordPages->clear();
    for (std::int32_t page : PagesWithKeyword(p.host.set, entry.identifier)) {
        auto* item = new QListWidgetItem(
            ToQString(PageRecord::Read(*LivePage(p.host.set, page)).Title()), p.keywordPages);
        item->setData(Qt::UserRole, page);
    }
}

void SearchWindow::PickKeywordPage(int row) {
    if (QListWidgetItem* item = parts_->keywordPages->item(row))
        parts_->host.showPage(item->data(Qt::UserRole).toInt());
}

void SearchWindow::RepeatInPage() {
    if (!parts_->opened) return Open(WordTab);
    if (CurrentTab() == ReplaceTab && parts_->host.editMode())
        ReplaceOne(false);
    else
        FindInPage();
}

void SearchWindow::RepeatInHypertext() {
    if (!parts_->opened) return Open(WordTab);
    if (CurrentTab() == ReplaceTab && !parts_->host.editMode())
        parts_->tabs->setCurrentIndex(WordTab);
    else
        FindInHypertext();
}

ISecondaryWindows& SearchWindow::Around(ISecondaryWindows& inner) {
    parts_->windows = std::make_unique<SearchingWindows>(inner, *this);
    return *parts_->windows;
}

QComboBox* SearchWindow::Term(int index) const {
    return parts_->terms[index];
}
QComboBox* SearchWindow::ReplaceWord() const {
    return parts_->replaceWord;
}
QComboBox* SearchWindow::Replacement() const {
    return parts_->replacement;
}
QCheckBox* SearchWindow::WholeWord() const {
    return parts_->wholeWord;
}
QCheckBox* SearchWindow::IgnoreCase() const {
    return parts_->ignoreCase;
}
QCheckBox* SearchWindow::ConfirmOne() const {
    return parts_->confirmOne;
}
QCheckBox* SearchWindow::ConfirmAll() const {
    return parts_->confirmAll;
}
QRadioButton* SearchWindow::StartFromFirst() const {
    return parts_->fromFirst;
}
QPushButton* SearchWindow::PageButton() const {
    return parts_->pageButton;
}
QListWidget* SearchWindow::Pages() const {
    return parts_->pages;
}
QListWidget* SearchWindow::Keywords() const {
    return parts_->keywordList;
}
QListWidget* SearchWindow::KeywordPages() const {
    return parts_->keywordPages;
}
QLabel* SearchWindow::KeywordHeading() const {
    return parts_->keywordHeading;
}
QLineEdit* SearchWindow::KeywordField() const {
    return parts_->keywordField;
}

}  // namespace orvo
