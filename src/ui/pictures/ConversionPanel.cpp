#include "ui/pictures/ConversionPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

#include "app/PictureWindowRules.h"
#include "ui/NamedWidget.h"

namespace orvo {

ConversionPanel BuildConversionPanel(QWidget* parent) {
    ConversionPanel panel;
    panel.box = Named<QGroupBox>("PImporta", parent);
    panel.grid = new QGridLayout(panel.box);
    panel.grid->addWidget(Named<QLabel>("Limporta", panel.box), 0, 0);
    panel.gif = Named<QRadioButton>("RBgif", panel.box);
    panel.jpeg = Named<QRadioButton>("RBjpg", panel.box);
    panel.gif->setChecked(true);
    panel.grid->addWidget(panel.gif, 0, 1);
    panel.grid->addWidget(panel.jpeg, 0, 2);
    panel.grid->addWidget(Named<QLabel>("Lqualita", panel.box), 1, 0);
    panel.quality = Named<QSpinBox>("SEqualita", panel.box);
    panel.quality->setRange(0, 100);
    panel.quality->setValue(kDefaultImportQuality);
    panel.grid->addWidget(panel.quality, 1, 1);
    panel.grid->addWidget(Named<QLabel>("Lda", panel.box), 2, 0);
    panel.fromSize = Named<QLabel>("LdaValore", panel.box);
    panel.grid->addWidget(panel.fromSize, 2, 1);
    panel.grid->addWidget(Named<QLabel>("La", panel.box), 3, 0);
    panel.toSize = Named<QLabel>("LaValore", panel.box);
    panel.grid->addWidget(panel.toSize, 3, 1);
    return panel;
}

}  // namespace orvo
