// The "Apri" chooser's widgets; the rules are HtmlOpenChooser.
#include "ui/convert/HtmlOpenWindow.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

#include "base/Paths.h"
#include "ui/QtConvert.h"

namespace orvo {
namespace {

bool Exists(const std::string& document) {
    std::error_code ec;
    return !document.empty() && std::filesystem::is_regular_file(NativePath(document), ec);
}

}  // namespace

HtmlOpenWindow::HtmlOpenWindow(const std::string& document, IMessages& messages, QWidget* parent)
    : QDialog(parent), chooser_(document, Exists(document)), messages_(messages) {
    setObjectName(QStringLiteral("FApriHtml"));
    setWindowTitle(ToQString(HtmlOpenChooser::kCaption));
    auto* group = new QGroupBox(ToQString(HtmlOpenChooser::kGroup), this);
    group->setObjectName(QStringLiteral("RGdesideri"));
    auto* column = new QVBoxLayout(group);
    for (const HtmlOpenChooser::Choice& choice : chooser_.Choices()) {
        auto* button = new QRadioButton(ToQString(choice.text), group);
        button->setObjectName(QStringLiteral("RB%1").arg(choice.number));
        column->addWidget(button);
        choices_.push_back(button);
    }
    choices_.front()->setChecked(true);
    explanation_ = new QLabel(this);
    explanation_->setObjectName(QStringLiteral("Lspiega"));
    explanation_->setWordWrap(true);
    search_ = new QPushButton(ToQString(HtmlOpenChooser::kSearchButton), this);
    search_->setObjectName(QStringLiteral("BCerca"));
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("BOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("BAnnulla"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search_);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation_);
    layout->addWidget(group);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());

    connect(search_, &QPushButton::clicked, this, [this] {
        // The filter's Windows form: description "|" patterns.
        const std::string filter = HtmlOpenChooser::kSearchFilter;
        const std::string description = filter.substr(0, filter.find('|'));
        const QString file = QFileDialog::getOpenFileName(
            this, ToQString(HtmlOpenChooser::kSearchButton),
            QString::fromStdString(NativePath(chooser_.Document()).parent_path().string()),
            ToQString(description));
        if (!file.isEmpty()) Found(NameOfPath(std::filesystem::path(file.toStdString())));
    });
    connect(ok, &QPushButton::clicked, this, [this] { PressOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowChooser();
}

int HtmlOpenWindow::Choice() const {
    const std::vector<HtmlOpenChooser::Choice> listed = chooser_.Choices();
    for (std::size_t i = 0; i < choices_.size() && i < listed.size(); ++i)
        if (choices_[i]->isChecked()) return listed[i].number;
    return listed.front().number;
}

void HtmlOpenWindow::Found(const std::string& document) {
    chooser_.Found(document, Exists(document));
    ShowChooser();
}

void HtmlOpenWindow::PressOk() {
    if (chooser_.Ok(Choice(), messages_)) accept();
}

void HtmlOpenWindow::ShowChooser() {
    const std::string text = chooser_.Explanation();
    explanation_->setText(ToQString(text));
    explanation_->setVisible(!text.empty());
    search_->setVisible(chooser_.SearchShown());
}

}  // namespace orvo
