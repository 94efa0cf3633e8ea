// The special-link window's widgets over its rules.
#include "ui/links/SpecialLinkWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"

namespace orvo {

namespace {

constexpr std::array<const char*, kSpecialTabCount> kTabNames{
    "TSAncora", "TSNormali", "TSFinestra", "TSCornice", "TSChiudi", "TSVarie", "TSAutoImport"};
constexpr std::array<const char*, 6> kGeometryNames{"top",    "left",    "width",
                                                    "height", "screenX", "screenY"};
constexpr std::array<const char*, 8> kOptionNames{"dependent", "fullscreen", "location", "menubar",
                                                  "resizable", "scrollbars", "status",   "toolbar"};

template <class T>
T* Named(const QString& name, QWidget* parent = nullptr) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

QLabel* Label(const QString& name, std::string_view text, QWidget* parent = nullptr) {
    auto* label = Named<QLabel>(name, parent);
    label->setText(ToQString(text));
    return label;
}

template <std::size_t N>
void Radios(std::array<QRadioButton*, N>& radios, const std::array<std::string_view, N>& texts,
            const QString& prefix, QVBoxLayout* layout) {
    for (std::size_t i = 0; i < N; ++i) {
        radios[i] = Named<QRadioButton>(prefix + QString::number(i));
        radios[i]->setText(ToQString(texts[i]));
        layout->addWidget(radios[i]);
    }
    radios[0]->setChecked(true);
}

template <std::size_t N>
int Checked(const std::array<QRadioButton*, N>& radios) {
    for (std::size_t i = 0; i < N; ++i)
        if (radios[i]->isChecked()) return int(i);
    return 0;
}

}  // namespace

SpecialLinkWindow::SpecialLinkWindow(TKYTset& set, QWidget* parent) : QDialog(parent), set_(set) {
    setObjectName(QStringLiteral("FLinkSpec"));
    setWindowTitle(ToQString(kSpecCaption));
    auto* layout = new QVBoxLayout(this);
    target_ = Named<QLabel>(QStringLiteral("LDestinazione"), this);
    layout->addWidget(target_);
    auto* type = Named<QGroupBox>(QStringLiteral("GBTipo"), this);
    type->setTitle(ToQString(kSpecTypeGroup));
    auto* typeLayout = new QVBoxLayout(type);
    tabs_ = Named<QTabWidget>(QStringLiteral("PCTipo"), type);
    typeLayout->addWidget(tabs_);
    layout->addWidget(type, 1);
    std::array<QVBoxLayout*, kSpecialTabCount> pages{};
    for (int t = 0; t < kSpecialTabCount; ++t) {
        auto* page = Named<QWidget>(QString::fromLatin1(kTabNames[std::size_t(t)]));
        pages[std::size_t(t)] = new QVBoxLayout(page);
        tabs_->addTab(page, ToQString(kSpecialTabCaptions[std::size_t(t)]));
    }
    // "Ancora nella stessa pagina".
    {
        auto* l = pages[std::size_t(SpecialTab::Anchor)];
        auto* row = new QHBoxLayout;
        row->addWidget(Label(QStringLiteral("LAncoraSp"), kSpecAnchorLabel));
        anchor_ = Named<QSpinBox>(QStringLiteral("EAncoraSp"));
        anchor_->setRange(-1, 99999);
        row->addWidget(anchor_);
        define_ = Named<QPushButton>(QStringLiteral("BDefinisci"));
        define_->setText(ToQString(kSpecDefineOnScreen));
        define_->setEnabled(false);  // until a caller offers the page to click on
        connect(define_, &QPushButton::clicked, this, [this] {
            if (!defineOnScreen) return;
            if (const std::optional<std::int32_t> clicked = defineOnScreen(anchor_->value()))
                anchor_->setValue(*clicked);
        });
        row->addWidget(define_);
        row->addStretch();
        l->addLayout(row);
        noAnchors_ = Label(QStringLiteral("LNoAncore"), kSpecNoAnchors);
        noAnchors_->setWordWrap(true);
        noAnchors_->setStyleSheet(QStringLiteral("color: red"));
        l->addWidget(noAnchors_);
        l->addStretch();
    }
    // "Normali".
    {
        auto* l = pages[std::size_t(SpecialTab::Normal)];
        l->addWidget(Label(QStringLiteral("LNormali"), kSpecNormalGroup));
        Radios(normal_, kSpecNormalChoices, QStringLiteral("RBNormale"), l);
        l->addStretch();
    }
    // "Finestra separata o Popup": the choice and the window panel.
    {
        auto* l = pages[std::size_t(SpecialTab::Window)];
        Radios(window_, kSpecialWindowChoices, QStringLiteral("RBFinestra"), l);
        auto* panel = Named<QGroupBox>(QStringLiteral("GBFinestra"));
        auto* form = new QFormLayout(panel);
        windowName_ = Named<QLineEdit>(QStringLiteral("ENomeFinestra"));
        windowName_->setMaxLength(int(kSpecNameMax));
        form->addRow(Label(QStringLiteral("LNomeFinestra"), "Nome:"), windowName_);
        for (std::size_t i = 0; i < geometry_.size(); ++i) {
            geometry_[i] = Named<QSpinBox>(QStringLiteral("E") + kGeometryNames[i]);
            geometry_[i]->setRange(-1, 32767);
            geometry_[i]->setSpecialValueText(QStringLiteral("-"));
            geometry_[i]->setValue(-1);
            form->addRow(QString::fromLatin1(kGeometryNames[i]), geometry_[i]);
        }
        auto* optionsRow = new QHBoxLayout;
        for (std::size_t i = 0; i < options_.size(); ++i) {
            options_[i] = Named<QCheckBox>(QStringLiteral("CB") + kOptionNames[i]);
            options_[i]->setText(QString::fromLatin1(kOptionNames[i]));
            optionsRow->addWidget(options_[i]);
        }
        form->addRow(optionsRow);
        l->addWidget(panel);
        l->addStretch();
    }
    // "Altra cornice, o finestra".
    {
        auto* l = pages[std::size_t(SpecialTab::Frame)];
        l->addWidget(Label(QStringLiteral("LNomeCornice"), kSpecFrameName));
        frameName_ = Named<QLineEdit>(QStringLiteral("ENomeCornice"));
        frameName_->setMaxLength(int(kSpecNameMax));
        l->addWidget(frameName_);
        l->addStretch();
    }
    // "Chiudi finestra".
    {
        auto* l = pages[std::size_t(SpecialTab::Close)];
        l->addWidget(Label(QStringLiteral("LNomeChiudi"), kSpecCloseName));
        closeName_ = Named<QComboBox>(QStringLiteral("CBNomeChiudi"));
        closeName_->setEditable(true);
        l->addWidget(closeName_);
        closeMain_ = Named<QCheckBox>(QStringLiteral("CBPrincipale"));
        closeMain_->setText(ToQString(kSpecMainWindow));
        l->addWidget(closeMain_);
        l->addStretch();
        connect(closeMain_, &QCheckBox::toggled, closeName_, &QWidget::setDisabled);
    }
    // "Varie".
    {
        auto* l = pages[std::size_t(SpecialTab::Misc)];
        Radios(misc_, kSpecMiscChoices, QStringLiteral("RBVarie"), l);
        l->addStretch();
    }
    // "Auto import".
    {
        auto* l = pages[std::size_t(SpecialTab::AutoImport)];
        l->addWidget(Label(QStringLiteral("LPath"), kSpecImportPath));
        importPath_ = Named<QLineEdit>(QStringLiteral("EPath"));
        l->addWidget(importPath_);
        l->addStretch();
    }
    // "Html": the link's own code.
    {
        auto* page = Named<QWidget>(QStringLiteral("TSHtml"));
        auto* l = new QVBoxLayout(page);
        html_ = Named<QPlainTextEdit>(QStringLiteral("MHtml"));
        l->addWidget(html_);
        tabs_->addTab(page, ToQString(kSpecHtmlTab));
    }
    auto* frame = Named<QGroupBox>(QStringLiteral("RGCornice"), this);
    frame->setTitle(ToQString(kSpecTargetFrameGroup));
    auto* frameLayout = new QHBoxLayout(frame);
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        frames_[i] = Named<QRadioButton>(QStringLiteral("RBCornice%1").arg(i), frame);
        frames_[i]->setText(ToQString(kSpecTargetFrames[i]));
        frameLayout->addWidget(frames_[i]);
    }
    frames_[0]->setChecked(true);
    layout->addWidget(frame);
    auto* buttons = new QHBoxLayout;
    ok_ = Named<QPushButton>(QStringLiteral("BOk"), this);
    ok_->setText(QStringLiteral("&Ok"));
    ok_->setDefault(true);
    auto* cancel = Named<QPushButton>(QStringLiteral("BAnnulla"), this);
    cancel->setText(QStringLiteral("A&nnulla"));
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 480);
}

void SpecialLinkWindow::Open(int mode, const TKYToggetto* link, bool anchors,
                             std::string_view targetLabel) {
    closeName_->clear();
    for (const std::string& name : CloseWindowNames(set_)) closeName_->addItem(ToQString(name));
    noAnchors_->setVisible(!anchors);
    define_->setEnabled(bool(defineOnScreen));
    target_->setText(ToQString(targetLabel));
    target_->setVisible(!targetLabel.empty());
    if (link) {
        // The caption names the link being edited.
        const std::string described = link->Describe();
        setWindowTitle(
            ToQString(std::string(kSpecCaption) + " " + described.substr(0, described.find('|'))));
        SetChoice(ReadSpecialLink(*link));
    } else {
        setWindowTitle(ToQString(kSpecCaption));
        SpecialLinkChoice fresh;
        if (mode == 3) fresh.tab = SpecialTab::Window;
        SetChoice(fresh);
    }
}

SpecialLinkChoice SpecialLinkWindow::Choice() const {
    SpecialLinkChoice c;
    const int index = tabs_->currentIndex();
    c.tab = index >= 0 && index < kSpecialTabCount ? SpecialTab(index) : SpecialTab::Anchor;
    c.targetFrame = frames_[1]->isChecked() ? 1 : 0;
    c.anchor = anchor_->value();
    c.html = ToCp1252(html_->toPlainText());
    switch (c.tab) {
        case SpecialTab::Normal:
            c.choice = Checked(normal_);
            break;
        case SpecialTab::Window: {
            c.choice = Checked(window_);
            c.name = ToCp1252(windowName_->text());
            std::array<std::optional<int>*, 6> fields{&c.features.top,     &c.features.left,
                                                      &c.features.width,   &c.features.height,
                                                      &c.features.screenX, &c.features.screenY};
            for (std::size_t i = 0; i < fields.size(); ++i)
                if (geometry_[i]->value() >= 0) *fields[i] = geometry_[i]->value();
            bool* flags[] = {&c.features.dependent, &c.features.fullscreen, &c.features.location,
                             &c.features.menubar,   &c.features.resizable,  &c.features.scrollbars,
                             &c.features.status,    &c.features.toolbar};
            for (std::size_t i = 0; i < options_.size(); ++i) *flags[i] = options_[i]->isChecked();
            break;
        }
        case SpecialTab::Frame:
            c.name = ToCp1252(frameName_->text());
            break;
        case SpecialTab::Close:
            c.closeMain = closeMain_->isChecked();
            c.name = ToCp1252(closeName_->currentText());
            break;
        case SpecialTab::Misc:
            c.choice = Checked(misc_);
            break;
        case SpecialTab::AutoImport:
            c.importPath = ToCp1252(importPath_->text());
            break;
        default:
            break;
    }
    return c;
}

void SpecialLinkWindow::SetChoice(const SpecialLinkChoice& c) {
    tabs_->setCurrentIndex(int(c.tab));
    frames_[c.targetFrame == 1 ? 1 : 0]->setChecked(true);
    anchor_->setValue(c.anchor);
    html_->setPlainText(ToQString(c.html));
    const auto pick = [](auto& radios, int choice) {
        radios[std::size_t(choice >= 0 && std::size_t(choice) < radios.size() ? choice : 0)]
            ->setChecked(true);
    };
    if (c.tab == SpecialTab::Normal) pick(normal_, c.choice);
    if (c.tab == SpecialTab::Misc) pick(misc_, c.choice);
    windowName_->clear();
    frameName_->clear();
    closeMain_->setChecked(false);
    importPath_->setText(ToQString(c.importPath));
    if (c.tab == SpecialTab::Window) {
        pick(window_, c.choice);
        windowName_->setText(ToQString(c.name));
        const std::array<std::optional<int>, 6> values{c.features.top,     c.features.left,
                                                       c.features.width,   c.features.height,
                                                       c.features.screenX, c.features.screenY};
        for (std::size_t i = 0; i < values.size(); ++i)
            geometry_[i]->setValue(values[i] ? *values[i] : -1);
        const bool flags[] = {c.features.dependent, c.features.fullscreen, c.features.location,
                              c.features.menubar,   c.features.resizable,  c.features.scrollbars,
                              c.features.status,    c.features.toolbar};
        for (std::size_t i = 0; i < options_.size(); ++i) options_[i]->setChecked(flags[i]);
    }
    if (c.tab == SpecialTab::Frame) frameName_->setText(ToQString(c.name));
    if (c.tab == SpecialTab::Close) {
        closeMain_->setChecked(c.closeMain);
        closeName_->setCurrentText(ToQString(c.name));
    }
}

}  // namespace orvo
