// The panel "PImporta" of the picture windows: a picture converted to GIF or JPEG, the JPEG
// quality, the sizes before and after the conversion.
#pragma once

class QGridLayout;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace orvo {

struct ConversionPanel {
    QGroupBox* box = nullptr;
    /// Rows 0 to 3, columns 0 to 2; row 1's column 2 and the columns from 3 are the window's.
    QGridLayout* grid = nullptr;
    QRadioButton* gif = nullptr;  // checked at first
    QRadioButton* jpeg = nullptr;
    QSpinBox* quality = nullptr;
    QLabel* fromSize = nullptr;
    QLabel* toSize = nullptr;
};

ConversionPanel BuildConversionPanel(QWidget* parent);

}  // namespace orvo
