// The windows of "Fo&rmato": the character's font ("Carattere") and the paragraph's style
// ("Stile paragrafo").
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "platform/u3MyFont.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace orvo {

/// Shows `font` (the format at the caret or the selection's start); Ok gives the font edited.
class FontWindow final : public QDialog {
public:
    explicit FontWindow(const TMyFont& font, QWidget* parent = nullptr);
    TMyFont Font() const;
    /// The colour, as the colour button shows it.
    void SetColour(std::int32_t colour);

    QFontComboBox* Name() const { return name_; }
    QSpinBox* Size() const { return size_; }
    QCheckBox* Bold() const { return bold_; }
    QCheckBox* Italic() const { return italic_; }
    QCheckBox* Underline() const { return underline_; }
    QComboBox* Position() const { return position_; }

private:
    QFontComboBox* name_ = nullptr;
    QSpinBox* size_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    QComboBox* position_ = nullptr;
    std::int32_t colour_ = 0;
    std::uint8_t otherBits_ = 0;  // bits the window does not show (strike-out), kept
    // The name given, kept unless another font is chosen: the list shows a font the machine
    // lacks by the one standing in for it.
    std::string givenName_;
    bool nameChosen_ = false;
};

/// The hypertext's paragraph styles, by name; Ok gives the one chosen.
class ParagraphStyleWindow final : public QDialog {
public:
    ParagraphStyleWindow(const std::vector<std::string>& names, const std::string& current,
                         QWidget* parent = nullptr);
    /// The style chosen, "" without a choice.
    std::string Chosen() const;
    QListWidget* List() const { return list_; }

private:
    QListWidget* list_ = nullptr;
};

}  // namespace orvo
