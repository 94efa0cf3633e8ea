#include "ui/album/OptionsWindow.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"

namespace orvo {
namespace {

using K = TOggettiHel;

QLineEdit* NamedEdit(const char* name, int length, QWidget* parent) {
    auto* edit = album::Named<QLineEdit>(name, parent);
    edit->setMaxLength(length);
    return edit;
}

void Swatch(QPushButton* button, std::int32_t colour) {
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(colour).name()));
}

// A text cut to `length` Windows-1252 bytes, as the field lets it be typed.
std::string Typed(const QString& text, std::size_t length) {
    std::string bytes = ToCp1252(text);
    if (bytes.size() > length) bytes.resize(length);
    return bytes;
}

}  // namespace

HypertextOptionsWindow::HypertextOptionsWindow(TKYTset& set,
                                               std::vector<SpellerLanguageItem> languages,
                                               HypertextOptionsHost host,
                                               album::WindowDressing dressing, QWidget* parent)
    : DressedDialog("FopzHyp", std::move(dressing), parent),
      set_(set),
      rules_(set, std::move(languages)),
      host_(std::move(host)) {
    auto* layout = new QVBoxLayout(this);
    tabs_ = album::Named<QTabWidget>("PageControl1", this);
    layout->addWidget(tabs_);

    auto* info = album::Named<QWidget>("TSinformazioni", tabs_);
    auto* form = new QFormLayout(info);
    form->addRow(album::Named<QLabel>("Ltitolo", info), title_ = NamedEdit("Etitolo", 79, info));
    form->addRow(album::Named<QLabel>("Lautori", info), authors_ = NamedEdit("Eautori", 150, info));
    form->addRow(album::Named<QLabel>("Lsocieta", info),
                 company_ = NamedEdit("Esocieta", 150, info));
    form->addRow(album::Named<QLabel>("Lcopyright", info),
                 copyright_ = NamedEdit("Ecopyright", 150, info));
    information_ = album::Named<QPlainTextEdit>("Memo1", info);
    form->addRow(album::Named<QLabel>("Laltre", info), information_);
    connect(information_, &QPlainTextEdit::textChanged, this, [this] {
        // At most 1536 characters are typed.
        const QString text = information_->toPlainText();
        if (text.size() > qsizetype(kOptionsInformationTyped)) {
            information_->setPlainText(text.left(qsizetype(kOptionsInformationTyped)));
            information_->moveCursor(QTextCursor::End);
        }
    });
    version_ = album::Named<QLineEdit>("Evers", info);
    version_->setReadOnly(true);
    form->addRow(album::Named<QLabel>("Lvers", info), version_);
    form->addRow(album::Named<QLabel>("Lprefix", info), prefix_ = NamedEdit("Eprefix", 16, info));
    auto* lock = new QHBoxLayout;
    lock->addWidget(readOnly_ = album::Named<QCheckBox>("CBreadOnly", info));
    lock->addWidget(password_ = NamedEdit("Epass", 16, info));
    form->addRow(lock);
    language_ = album::Named<QComboBox>("CBlang", info);
    form->addRow(album::Named<QLabel>("Llang", info), language_);
    tabs_->addTab(info, QString());

    auto* pages = album::Named<QWidget>("TSpagina", tabs_);
    auto* grid = new QGridLayout(pages);
    int row = 0;
    auto pageRow = [&](const char* label, const char* choose, const char* none, QLabel*& shown,
                       std::optional<std::int32_t>& page) {
        grid->addWidget(album::Named<QLabel>(label, pages), row, 0);
        shown = new QLabel(pages);
        grid->addWidget(shown, row, 1);
        QPushButton* pick = album::Named<QPushButton>(choose, pages);
        grid->addWidget(pick, row, 2);
        connect(pick, &QPushButton::clicked, this, [this, &page, shown] { PickPage(page, shown); });
        if (none) {
            QPushButton* clear = album::Named<QPushButton>(none, pages);
            grid->addWidget(clear, row, 3);
            connect(clear, &QPushButton::clicked, this, [this, &page, shown] {
                page.reset();
                shown->setText(ToQString(rules_.PageLabel(page)));
            });
        }
        ++row;
    };
    pageRow("Lcopertina", "BscegliC", nullptr, cover_, rules_.coverPage);
    pageRow("Lsommario", "Bscegli", nullptr, contents_, rules_.contentsPage);
    pageRow("Lintestazione", "BscegliI", "BnessunaI", header_, rules_.headerPage);
    pageRow("Lpiede", "BscegliP", "BnessunaP", footer_, rules_.footerPage);
    grid->addWidget(album::Named<QLabel>("Lsfondo", pages), row++, 0, 1, 4);
    grid->addWidget(album::Named<QLabel>("Lcolore", pages), row, 0);
    background_ = album::Named<QPushButton>("Bcolore", pages);
    grid->addWidget(background_, row++, 1);
    usePicture_ = album::Named<QCheckBox>("CBsfondo", pages);
    grid->addWidget(usePicture_, row, 0);
    picture_ = new QLabel(pages);
    picture_->setObjectName(QStringLiteral("DisplayImg"));
    picture_->setFixedSize(96, 64);
    picture_->setFrameShape(QFrame::Box);
    grid->addWidget(picture_, row, 1);
    QPushButton* choosePicture = album::Named<QPushButton>("Bimmagine", pages);
    grid->addWidget(choosePicture, row++, 2);
    grid->addWidget(album::Named<QLabel>("Lhtml2", pages), row, 0);
    auto* html = new QHBoxLayout;
    html->addWidget(text_ = album::Named<QPushButton>("BShText", pages));
    html->addWidget(link_ = album::Named<QPushButton>("BShLinkNorm", pages));
    html->addWidget(visited_ = album::Named<QPushButton>("BShLinkFoll", pages));
    grid->addLayout(html, row++, 1, 1, 3);
    tabs_->addTab(pages, QString());

    connect(background_, &QPushButton::clicked, this,
            [this] { PickColour(rules_.backgroundColour); });
    connect(text_, &QPushButton::clicked, this, [this] { PickColour(rules_.textColour); });
    connect(link_, &QPushButton::clicked, this, [this] { PickColour(rules_.linkColour); });
    connect(visited_, &QPushButton::clicked, this, [this] { PickColour(rules_.visitedColour); });
    connect(usePicture_, &QCheckBox::toggled, picture_, &QWidget::setVisible);
    connect(choosePicture, &QPushButton::clicked, this, [this] {
        QStringList names;
        std::vector<TKYToggetto*> pictures;
        for (const auto& p : set_.KindList(K::immagine))
            if (!p->IsFree()) {
                pictures.push_back(p.get());
                names << ToQString(p->Name());
            }
        if (pictures.empty()) return;
        bool ok = false;
        const QString name =
            QInputDialog::getItem(this, windowTitle(), QString(), names, 0, false, &ok);
        if (!ok) return;
        rules_.ChooseBackgroundPicture(pictures[std::size_t(names.indexOf(name))]);
        ShowFields();
    });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = album::Named<QPushButton>("BOk", this);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(album::Named<QPushButton>("BAnnulla", this), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Dress();
    for (const SpellerLanguageItem& l : rules_.Languages()) language_->addItem(ToQString(l.name));
    ShowFields();
    tabs_->setCurrentIndex(0);
}

HypertextOptionsWindow::~HypertextOptionsWindow() = default;

void HypertextOptionsWindow::ShowFields() {
    title_->setText(ToQString(rules_.title));
    authors_->setText(ToQString(rules_.authors));
    company_->setText(ToQString(rules_.company));
    copyright_->setText(ToQString(rules_.copyright));
    QString info = ToQString(rules_.information);
    info.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    information_->setPlainText(info);
    version_->setText(QString::number(rules_.version));
    prefix_->setText(ToQString(rules_.prefix));
    password_->setText(ToQString(rules_.password));
    readOnly_->setChecked(rules_.readOnly);
    language_->setCurrentIndex(rules_.selectedLanguage);
    cover_->setText(ToQString(rules_.PageLabel(rules_.coverPage)));
    contents_->setText(ToQString(rules_.PageLabel(rules_.contentsPage)));
    header_->setText(ToQString(rules_.PageLabel(rules_.headerPage)));
    footer_->setText(ToQString(rules_.PageLabel(rules_.footerPage)));
    usePicture_->setChecked(rules_.useBackgroundPicture);
    picture_->setVisible(rules_.useBackgroundPicture);
    picture_->clear();
    if (TKYToggetto* picture = rules_.BackgroundPicture()) {
        QPixmap pixmap;
        if (auto bytes = picture->ContentBytes();
            bytes &&
            pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), uint(bytes->size())))
            picture_->setPixmap(pixmap.scaled(picture_->size(), Qt::KeepAspectRatio));
    }
    ShowColours();
}

void HypertextOptionsWindow::ShowColours() {
    Swatch(background_, rules_.backgroundColour);
    Swatch(text_, rules_.textColour);
    Swatch(link_, rules_.linkColour);
    Swatch(visited_, rules_.visitedColour);
}

void HypertextOptionsWindow::PickPage(std::optional<std::int32_t>& page, QLabel* label) {
    std::optional<std::int32_t> chosen;
    if (choosePage) {
        chosen = choosePage(page);
    } else {
        QStringList titles;
        std::vector<std::int32_t> ids;
        int current = 0;
        for (const auto& p : set_.KindList(K::testoHtml))
            if (!p->IsFree()) {
                if (page && *page == p->Identifier()) current = int(ids.size());
                ids.push_back(p->Identifier());
                titles << ToQString(p->Name());
            }
        bool ok = false;
        const QString title =
            QInputDialog::getItem(this, windowTitle(), QString(), titles, current, false, &ok);
        if (ok) chosen = ids[std::size_t(titles.indexOf(title))];
    }
    if (!chosen) return;
    page = chosen;
    label->setText(ToQString(rules_.PageLabel(page)));
}

void HypertextOptionsWindow::PickColour(std::int32_t& colour) {
    std::optional<std::int32_t> chosen;
    if (chooseColour) {
        chosen = chooseColour(colour);
    } else {
        const QColor c = QColorDialog::getColor(ToQColor(colour), this);
        if (c.isValid()) chosen = std::int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
    }
    if (!chosen) return;
    colour = *chosen;
    ShowColours();
}

void HypertextOptionsWindow::Confirm() {
    rules_.title = Typed(title_->text(), kOptionsTitleTyped);
    rules_.authors = Typed(authors_->text(), kOptionsTextTyped);
    rules_.company = Typed(company_->text(), kOptionsTextTyped);
    rules_.copyright = Typed(copyright_->text(), kOptionsTextTyped);
    std::string info = ToCp1252(information_->toPlainText());
    // The memo's lines end with CR LF in the stored text.
    std::string crlf;
    for (char c : info) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    rules_.information = crlf.substr(0, kOptionsInformationTyped);
    rules_.prefix = Typed(prefix_->text(), kOptionsShortTyped);
    rules_.password = Typed(password_->text(), kOptionsShortTyped);
    rules_.readOnly = readOnly_->isChecked();
    rules_.selectedLanguage = language_->currentIndex();
    rules_.useBackgroundPicture = usePicture_->isChecked();
    rules_.Apply(host_);
    accept();
}

}  // namespace orvo
