#include "ui/pictures/ImagePropertiesWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CustomCodePanel.h"
#include "model/uKYTset.h"
#include "picture/TKYTpicture.h"
#include "ui/NamedWidget.h"
#include "ui/QtConvert.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pictures/PicturePreview.h"

namespace orvo {

namespace {

PicturePreview* Display(const char* name, QWidget* parent) {
    PicturePreview* display = Named<PicturePreview>(name, parent);
    display->setMinimumSize(140, 100);
    return display;
}

void ShowOn(PicturePreview* display, const TKYToggetto* picture) {
    display->Clear();
    if (!picture) return;
    if (Result<std::string> bytes = picture->ContentBytes()) display->SetPictureBytes(*bytes);
}

// A display that acts as its button on a double click.
class ClickDisplay final : public QObject {
public:
    ClickDisplay(QWidget* label, std::function<void()> action)
        : QObject(label), action_(std::move(action)) {
        label->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            action_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> action_;
};

}  // namespace

ImagePropertiesWindow::ImagePropertiesWindow(TKYTset& set, Environment& environment,
                                             IMessages& messages, IScheduler& scheduler,
                                             std::function<void(QWidget&)> localize,
                                             QWidget* parent)
    : QDialog(parent),
      set_(set),
      rules_(set),
      codePanel_(std::make_unique<CustomCodePanel>(set, environment, messages)) {
    setObjectName(QStringLiteral("FPropImm"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = Named<QTabWidget>("PageControl1", this);

    // The image's own properties.
    auto* main = Named<QWidget>("TSproprieta", tabs_);
    auto* grid = new QGridLayout(main);
    grid->addWidget(Named<QLabel>("Lalt", main), 0, 0);
    alt_ = Named<QLineEdit>("EditAlt", main);
    alt_->setMaxLength(75);
    grid->addWidget(alt_, 0, 1, 1, 3);
    grid->addWidget(Named<QLabel>("Lposizione", main), 1, 0);
    position_ = Named<QComboBox>("CBposizione", main);
    for (std::string_view p : kImagePositions) position_->addItem(ToQString(p));
    grid->addWidget(position_, 1, 1);
    border_ = Named<QCheckBox>("CBbordo", main);
    grid->addWidget(border_, 1, 2);
    grid->addWidget(Named<QLabel>("Ldimensioni", main), 2, 0);
    sizeX_ = Named<QSpinBox>("SEdimX", main);
    sizeY_ = Named<QSpinBox>("SEdimY", main);
    for (QSpinBox* s : {sizeX_, sizeY_}) s->setRange(0, 32767);
    grid->addWidget(sizeX_, 2, 1);
    grid->addWidget(sizeY_, 2, 2);
    percent_ = Named<QCheckBox>("CBpercentuale", main);
    grid->addWidget(percent_, 2, 3);
    grid->addWidget(Named<QLabel>("Loriginali", main), 3, 0);
    naturalX_ = Named<QLineEdit>("EoriginaleX", main);
    naturalY_ = Named<QLineEdit>("EoriginaleY", main);
    for (QLineEdit* e : {naturalX_, naturalY_}) e->setReadOnly(true);
    grid->addWidget(naturalX_, 3, 1);
    grid->addWidget(naturalY_, 3, 2);
    transparent_ = Named<QCheckBox>("CBtrasparente", main);
    grid->addWidget(transparent_, 4, 0, 1, 2);
    display_ = Display("ImmMostrata", main);
    grid->addWidget(display_, 5, 0, 1, 4);

    // Low resolution and roll-over.
    auto* lowTab = Named<QWidget>("TSbassa", tabs_);
    auto* lowLayout = new QHBoxLayout(lowTab);
    auto* lowGroup = Named<QGroupBox>("GBbassa", lowTab);
    auto* lowBox = new QVBoxLayout(lowGroup);
    addLowRes_ = Named<QPushButton>("BaddBassa", lowGroup);
    noLowRes_ = Named<QPushButton>("BnoBassa", lowGroup);
    lowResDisplay_ = Display("ImmBassa", lowGroup);
    for (QWidget* w : {static_cast<QWidget*>(addLowRes_), static_cast<QWidget*>(noLowRes_),
                       static_cast<QWidget*>(lowResDisplay_)})
        lowBox->addWidget(w);
    auto* mouseGroup = Named<QGroupBox>("GBmouse", lowTab);
    auto* mouseBox = new QVBoxLayout(mouseGroup);
    addRollover_ = Named<QPushButton>("BaddMouse", mouseGroup);
    noRollover_ = Named<QPushButton>("BnoMouse", mouseGroup);
    rolloverDisplay_ = Display("ImmMouse", mouseGroup);
    for (QWidget* w : {static_cast<QWidget*>(addRollover_), static_cast<QWidget*>(noRollover_),
                       static_cast<QWidget*>(rolloverDisplay_)})
        mouseBox->addWidget(w);
    lowLayout->addWidget(lowGroup);
    lowLayout->addWidget(mouseGroup);

    // Replacing the picture everywhere.
    replaceTab_ = Named<QWidget>("TSsostituisci", tabs_);
    auto* replaceGrid = new QGridLayout(replaceTab_);
    replaceGrid->addWidget(Named<QLabel>("Ltutte", replaceTab_), 0, 0);
    currentDisplay_ = Display("ImmAttuale", replaceTab_);
    replaceGrid->addWidget(currentDisplay_, 1, 0);
    showPages_ = Named<QPushButton>("BVisualizza", replaceTab_);
    replaceGrid->addWidget(showPages_, 2, 0);
    pages_ = Named<QListWidget>("LBpagine", replaceTab_);
    replaceGrid->addWidget(pages_, 3, 0);
    replaceGrid->addWidget(Named<QLabel>("Lrimpiazza", replaceTab_), 0, 1);
    replacementDisplay_ = Display("ImmNuova", replaceTab_);
    replaceGrid->addWidget(replacementDisplay_, 1, 1);
    findReplacement_ = Named<QPushButton>("BCercaImm", replaceTab_);
    replaceGrid->addWidget(findReplacement_, 2, 1);
    replace_ = Named<QPushButton>("BRimpiazza", replaceTab_);
    replaceGrid->addWidget(replace_, 3, 1, Qt::AlignTop);

    // The IMG tag's parameters: a custom-code panel without text insertion, its explanation
    // the tab's note (shown as the panel's own caption).
    auto* htmlTab = Named<QWidget>("TShtml", tabs_);
    auto* htmlBox = new QVBoxLayout(htmlTab);
    QLabel* note = Named<QLabel>("Lhtml", htmlTab);
    note->hide();
    code_ = new CodePanelWidget(*codePanel_, scheduler, messages, htmlTab);
    htmlBox->addWidget(code_);

    tabs_->addTab(main, QString());
    tabs_->addTab(lowTab, QString());
    tabs_->addTab(replaceTab_, QString());
    tabs_->addTab(htmlTab, QString());
    layout->addWidget(tabs_);

    auto* bottom = new QHBoxLayout;
    stretch_ = Named<QCheckBox>("CBstretch", this);
    bottom->addWidget(stretch_);
    bottom->addStretch();
    QPushButton* ok = Named<QPushButton>("BOk", this);
    ok->setDefault(true);
    QPushButton* cancel = Named<QPushButton>("BAnnulla", this);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    blink_ = new QTimer(this);
    blink_->setInterval(200);
    connect(blink_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        replace_->setText(blinkOn_ ? replaceCaption_ + QLatin1Char('!') : replaceCaption_);
    });

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(stretch_, &QCheckBox::toggled, this, [this](bool on) {
        for (PicturePreview* d :
             {display_, lowResDisplay_, rolloverDisplay_, currentDisplay_, replacementDisplay_})
            d->SetStretched(on);
    });
    connect(percent_, &QCheckBox::toggled, this, [this](bool on) {
        if (busy_) return;
        TakeSizes();
        if (!rules_.SetPercent(on)) {
            busy_ = true;
            percent_->setChecked(rules_.Percent());
            busy_ = false;
        }
        ShowSizes();
    });
    connect(transparent_, &QCheckBox::toggled, this, [this](bool on) {
        if (busy_ || !rules_.Picture()) return;
        // Every image of the hypertext that shows the picture changes with it.
        if (rules_.Picture().Registered()) (void)set_.SetTransparent(*rules_.Picture().Get(), on);
        ShowPictures();
    });
    const auto addLow = [this] {
        if (!choosePicture) return;
        if (ChosenPicture p = choosePicture(PictureWindowMode::Single))
            rules_.SetLowRes(std::move(p));
        ShowPictures();
    };
    const auto addMouse = [this] {
        if (!choosePicture) return;
        if (ChosenPicture p = choosePicture(PictureWindowMode::Single))
            rules_.SetRollover(std::move(p));
        ShowPictures();
    };
    const auto find = [this] {
        if (!choosePicture) return;
        ChosenPicture p = choosePicture(PictureWindowMode::DiskOrOther);
        if (!p) return;
        rules_.SetReplacement(std::move(p));
        ShowPictures();
        replace_->setEnabled(true);
        StartBlinking();
    };
    connect(addLowRes_, &QPushButton::clicked, this, addLow);
    connect(addRollover_, &QPushButton::clicked, this, addMouse);
    connect(findReplacement_, &QPushButton::clicked, this, find);
    new ClickDisplay(lowResDisplay_, addLow);
    new ClickDisplay(rolloverDisplay_, addMouse);
    new ClickDisplay(replacementDisplay_, find);
    connect(noLowRes_, &QPushButton::clicked, this, [this] {
        rules_.SetLowRes({});
        ShowPictures();
    });
    connect(noRollover_, &QPushButton::clicked, this, [this] {
        rules_.SetRollover({});
        ShowPictures();
    });
    connect(replace_, &QPushButton::clicked, this, [this] { Replace(); });
    connect(showPages_, &QPushButton::clicked, this, [this] { ListPages(); });

    if (localize) localize(*this);
    codePanel_->Caption = std::string(kImgParametersNote);
    code_->Refresh();
    replaceCaption_ = replace_->text();
    resize(620, 460);
}

ImagePropertiesWindow::~ImagePropertiesWindow() {
    // The panel's widget goes before the panel.
    delete code_;
}

void ImagePropertiesWindow::LoadImage(const TKYToggetto& image, ChosenPicture pasted) {
    rules_.LoadImage(image, std::move(pasted));
    loadedCode_ = image.Auxiliary();
    codePanel_->LoadCode(loadedCode_);
    Fill();
}

void ImagePropertiesWindow::LoadNew(ChosenPicture picture) {
    rules_.LoadNew(std::move(picture));
    loadedCode_.reset();
    codePanel_->LoadCode(loadedCode_);
    Fill();
}

void ImagePropertiesWindow::Fill() {
    busy_ = true;
    pages_->hide();
    pages_->clear();
    tabs_->setCurrentIndex(0);
    alt_->setText(ToQString(rules_.alternativeText));
    position_->setCurrentIndex(rules_.position);
    border_->setChecked(rules_.border);
    tabs_->setTabVisible(2, rules_.Picture().Registered());
    replace_->setEnabled(false);
    busy_ = false;
    ShowSizes();
    ShowPictures();
}

void ImagePropertiesWindow::ShowSizes() {
    busy_ = true;
    percent_->setEnabled(rules_.PercentAllowed());
    percent_->setChecked(rules_.Percent());
    sizeX_->setValue(rules_.SizeX());
    sizeY_->setValue(rules_.SizeY());
    naturalX_->setText(QString::number(rules_.NaturalWidth()));
    naturalY_->setText(QString::number(rules_.NaturalHeight()));
    busy_ = false;
}

void ImagePropertiesWindow::TakeSizes() {
    rules_.SetSize(sizeX_->value(), sizeY_->value());
}

void ImagePropertiesWindow::ShowPictures() {
    busy_ = true;
    const TKYToggetto* picture = rules_.Picture().Get();
    ShowOn(display_, picture);
    ShowOn(currentDisplay_, picture);
    ShowOn(lowResDisplay_, rules_.LowRes().Get());
    ShowOn(rolloverDisplay_, rules_.Rollover().Get());
    ShowOn(replacementDisplay_, rules_.Replacement().Get());
    bool gif = false, transparent = false;
    if (picture) {
        if (Result<std::string> bytes = picture->ContentBytes()) {
            TKYTpicture decoded;
            if (decoded.LoadBytes(*bytes) && decoded.IsGif()) {
                gif = true;
                transparent = !decoded.IsOpaque();
            }
        }
    }
    transparent_->setEnabled(gif && rules_.Picture().Registered());
    transparent_->setChecked(transparent);
    busy_ = false;
}

void ImagePropertiesWindow::StartBlinking() {
    blinkOn_ = false;
    blink_->start();
}

void ImagePropertiesWindow::StopBlinking() {
    blink_->stop();
    blinkOn_ = false;
    replace_->setText(replaceCaption_);
}

void ImagePropertiesWindow::Replace() {
    StopBlinking();
    if (!rules_.Replacement()) {
        if (choosePicture) rules_.SetReplacement(choosePicture(PictureWindowMode::DiskOrOther));
        if (!rules_.Replacement()) return;
    }
    if (rules_.ReplaceEverywhere() && replaced) replaced();
    replace_->setEnabled(false);
    ShowSizes();
    ShowPictures();
}

void ImagePropertiesWindow::ListPages() {
    pages_->clear();
    if (const TKYToggetto* picture = rules_.Picture().Get();
        picture && rules_.Picture().Registered()) {
        for (std::int32_t code : PagesShowingPicture(set_, picture->Identifier(), editedPage_)) {
            const TKYToggetto* page = set_.ObjectByCode(code);
            if (page) pages_->addItem(ToQString(page->Name()));
        }
    }
    pages_->show();
}

std::unique_ptr<TKYToggetto> ImagePropertiesWindow::Apply(TKYToggetto* image) {
    rules_.alternativeText = ToCp1252(alt_->text());
    rules_.position = position_->currentIndex() < 0 ? 1 : position_->currentIndex();
    rules_.border = border_->isChecked();
    TakeSizes();
    // The stream is written only when the code was edited: otherwise it stays as loaded.
    std::optional<std::string> code = loadedCode_;
    codePanel_->StoreCode(code);
    std::unique_ptr<TKYToggetto> made = rules_.Apply(image);
    if (TKYToggetto* target = image ? image : made.get()) target->SetAuxiliary(std::move(code));
    return made;
}

void ImagePropertiesWindow::done(int result) {
    StopBlinking();
    QDialog::done(result);
}

}  // namespace orvo
